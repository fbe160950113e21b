#pragma once
// What the "Programming Info" confirmation shows and how it counts down, without widgets: the
// description of a due reservation or turn-off, line by line, and the countdown that applies it
// on the seventh second unless the user answers first.
#include "reservations/ReservationRecord.h"
#include "reservations/TurnOffSetting.h"

#include <functional>
#include <optional>
#include <string>

namespace kelto {

// The string-table text with an identifier (LoadMessage in the program).
using StringLookup = std::function<std::string(int id)>;

// The lines of a reservation, each ended by "\n\r" except the last: video mode, channel, start,
// end, recording, option after recording, comment. End and option stay empty when the
// reservation only switches the channel.
std::string describeReservation(const ReservationRecord& record, const StringLookup& text);
// The turn-off: its time, then what it does.
std::string describeTurnOff(const TurnOffSetting& setting, const StringLookup& text);

// Ticks once a second. The first tick shows 5, the sixth shows 0, the seventh closes with OK.
class ConfirmationCountdown {
public:
    static constexpr int kStart = 5;
    static constexpr unsigned kTickMs = 1000;

    // The value to show now, or nothing when the countdown has run out (accept).
    std::optional<int> tick() {
        if (left_ < 0) return std::nullopt;
        return left_--;
    }

private:
    int left_ = kStart;
};

}  // namespace kelto
