#pragma once
// Channel data shared by the viewer, the settings and the tuning code. Channel numbers are
// signed 32-bit integers 1..256 on two bands, broadcast and cable.
#include <array>
#include <cstdint>

namespace kelto {

constexpr int kMaxChannel = 256;

// One band's registered channels: an ordered array of 256 channel numbers and how many are in use.
struct RegisteredList {
    std::array<std::int32_t, kMaxChannel> channels{};
    std::int32_t count = 0;

    // 0-based index of a channel among the first count entries, or -1.
    int indexOf(std::int32_t channel) const {
        for (int i = 0; i < count && i < kMaxChannel; ++i)
            if (channels[static_cast<std::size_t>(i)] == channel) return i;
        return -1;
    }
    bool operator==(const RegisteredList&) const = default;
};

// The four viewer-wide band limits.
struct ChannelBounds {
    std::int32_t tvLowest = 0;
    std::int32_t tvHighest = 0;
    std::int32_t catvLowest = 0;
    std::int32_t catvHighest = 0;
};

// Fine tuning per channel number 1..256 in steps of 1/16 MHz; index 0 is unused.
using FineTuneTable = std::array<std::int32_t, kMaxChannel + 1>;

}  // namespace kelto
