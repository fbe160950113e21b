#pragma once
// The one timed turn-off of the tray agent: at a local hour and minute, every day while active,
// close the viewer or switch the computer off (after a confirmation with a countdown).
#include <cstdint>

namespace kelto {

enum class TurnOffOption : std::uint32_t {
    ExitProgram = 0,  // close the viewer
    PowerOff = 1,     // switch the computer off
};

struct TurnOffSetting {
    std::uint32_t apply = 0;       // 1 active
    std::uint32_t time = 0;        // seconds since 1970 UTC; only the local hour and minute count
    TurnOffOption option = TurnOffOption::ExitProgram;

    bool isActive() const { return apply == 1; }
    // Option values other than 0 switch the computer off, as the confirmation shows them.
    bool powersOff() const { return option != TurnOffOption::ExitProgram; }

    bool operator==(const TurnOffSetting&) const = default;
};

}  // namespace kelto
