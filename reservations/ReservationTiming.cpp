#include "reservations/ReservationTiming.h"

namespace kelto {

int minutesAhead(std::uint32_t time, const LocalTime& now) {
    const LocalTime at = toLocalTime(time);
    return (at.hour - now.hour) * 60 + at.minute - now.minute;
}

bool dayMatches(const ReservationRecord& record, const LocalTime& now) {
    switch (record.dayMode) {
    case DayMode::Daily:
        return true;
    case DayMode::Date:
        return toLocalTime(record.startTime).sameDate(now);
    default: {
        const auto weekday = static_cast<std::uint32_t>(record.dayMode);
        return weekday <= static_cast<std::uint32_t>(DayMode::Saturday) && weekday == static_cast<std::uint32_t>(now.weekday);
    }
    }
}

bool recordDue(const ReservationRecord& record, const LocalTime& now) {
    return record.isActive() && dayMatches(record, now) && minutesAhead(record.startTime, now) == 1;
}

bool turnOffDue(const TurnOffSetting& setting, const LocalTime& now) {
    return setting.isActive() && minutesAhead(setting.time, now) == 1;
}

int recordingDurationSeconds(std::uint32_t startTime, std::uint32_t endTime) {
    const int start = toLocalTime(startTime).minuteOfDay();
    const int end = toLocalTime(endTime).minuteOfDay();
    if (start == end) return 60;
    int seconds = (end - start) * 60;
    if (end < start) seconds += 86400;
    return seconds;
}

bool programmeOnAir(std::uint32_t startTime, std::uint32_t endTime, std::int64_t now) {
    const LocalTime start = toLocalTime(startTime);
    const std::int64_t begins = fromLocalTime(start.year, start.month, start.day, start.hour, start.minute, 0);
    const std::int64_t ends = begins + recordingDurationSeconds(startTime, endTime);
    return now >= begins && now < ends;
}

}  // namespace kelto
