#pragma once
// What the add and modify dialogs decide without widgets: the channels a band offers, which
// fields are enabled, and the reservation built from what the user chose.
#include "reservations/ReservationRecord.h"
#include "settings/ChannelTypes.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kelto {

// The band limits of the reservation dialogs when the country file gives none.
constexpr ChannelBounds kReservationDefaultBounds{2, 69, 1, 125};

// The day-mode list: Sun .. Sat, Daily, Date; the option list: No, Exit TV Program, System Power Off.
constexpr int kDayModeEntries = 9;
constexpr int kOptionEntries = 3;

// The channels of the band of `videoMode` (0 TV, 1 CATV), lowest to highest; empty when the
// limits are upside down.
std::vector<int> bandChannels(const ChannelBounds& bounds, std::uint32_t videoMode);
// The list entry of a stored channel in its band (0 when it lies outside).
int channelEntry(const ChannelBounds& bounds, std::uint32_t videoMode, std::uint32_t channel);

// The option after recording and the end time mean something only for a recording; the date
// only for day mode "Date".
inline bool optionAndEndEnabled(bool recording) { return recording; }
inline bool dateEnabled(int dayModeEntry) { return dayModeEntry == int(DayMode::Date); }

// What the dialog shows when OK is pressed. The pickers' values are seconds since 1970 UTC.
struct ReservationFormValues {
    std::uint32_t videoMode = 0;
    int channelEntry = 0;  // index in bandChannels
    std::string comment;
    bool recording = false;
    int optionEntry = 0;   // index in the option list = the option
    int dayModeEntry = 7;  // index in the day-mode list = the day mode
    std::int64_t date = 0;   // the date picker (its local date counts)
    std::int64_t start = 0;  // the start time picker
    std::int64_t end = 0;    // the end time picker
};

// The reservation: the channel of the chosen entry; for day mode "Date" the start is the date
// picker's local date at the start picker's local hour, minute and second, otherwise the start
// picker's value; no recorded file yet.
ReservationRecord buildReservation(const ReservationFormValues& values, const ChannelBounds& bounds, std::uint32_t apply);

}  // namespace kelto
