#pragma once
// The time rules of reservations, all in local time: when an entry is due, how long a scheduled
// recording lasts, and whether a requested programme is on air now.
#include "reservations/LocalTime.h"
#include "reservations/ReservationRecord.h"
#include "reservations/TurnOffSetting.h"

#include <cstdint>

namespace kelto {

// (hour of time − hour of now) × 60 + minute of time − minute of now, as if both were on the same
// day: a start one minute ahead gives 1; 00:00 seen from 23:59 gives −1439.
int minutesAhead(std::uint32_t time, const LocalTime& now);

// Whether the record's day mode matches today: Daily always, Date on the start's local date,
// Sunday..Saturday on that weekday. Other values never match.
bool dayMatches(const ReservationRecord& record, const LocalTime& now);

// A record is due when it is active, its day matches and its start minute is exactly one minute
// ahead; the turn-off when it is active and its minute is one minute ahead.
bool recordDue(const ReservationRecord& record, const LocalTime& now);
bool turnOffDue(const TurnOffSetting& setting, const LocalTime& now);

// Length of a scheduled recording from the local hours and minutes of start and end: their
// difference, plus a day when the end is earlier (the programme crosses midnight); 60 seconds when
// they are equal.
int recordingDurationSeconds(std::uint32_t startTime, std::uint32_t endTime);

// Whether a programme starting at startTime (its local date and minute) and lasting
// recordingDurationSeconds is on air at now: from the start of its first minute to its end.
bool programmeOnAir(std::uint32_t startTime, std::uint32_t endTime, std::int64_t now);

}  // namespace kelto
