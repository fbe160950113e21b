#pragma once
// Channel data shared by the viewer, the settings and the tuning code. Channel numbers are
// signed 32-bit integers 1..256 on two bands, broadcast and cable.
#include <array>
#include <cstdint>

namespace kelto {

constexpr int kMaxChannel = 256;

// The two tuner bands. The values are the tuner controller's plan numbers (0 broadcast, 1 cable)
// and match VideoMode TV and CATV.
enum class ChannelBand : int { Broadcast = 0, Cable = 1 };

inline bool isChannelNumber(std::int64_t channel) { return channel >= 1 && channel <= kMaxChannel; }

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
    bool operator==(const ChannelBounds&) const = default;
};

// Fine tuning of channels 1..256 in steps of 1/16 MHz: channel n at index n - 1.
using FineTuneTable = std::array<std::int32_t, kMaxChannel>;

// One band's channel plan: the first and last channel and the vision-carrier frequency in Hz of
// each channel number 1..256 (index 0 is unused). lowest and highest are kept as read, even when
// they lie outside 1..256 or lowest > highest; only channels inside both ranges carry a frequency.
struct FrequencyTable {
    std::int32_t lowest = 0;
    std::int32_t highest = 0;
    std::array<std::int32_t, kMaxChannel + 1> frequencyHz{};

    // The first and last channel of the band that fit the table (an empty range when none does).
    std::int32_t firstStored() const { return lowest < 1 ? 1 : lowest; }
    std::int32_t lastStored() const { return highest > kMaxChannel ? kMaxChannel : highest; }
    bool operator==(const FrequencyTable&) const = default;
};

// The broadcast and the cable plan together, as the configuration file and a table file hold them.
struct FrequencyTables {
    FrequencyTable broadcast;
    FrequencyTable cable;

    FrequencyTable& of(ChannelBand band) { return band == ChannelBand::Broadcast ? broadcast : cable; }
    const FrequencyTable& of(ChannelBand band) const { return band == ChannelBand::Broadcast ? broadcast : cable; }
    bool operator==(const FrequencyTables&) const = default;
};

}  // namespace kelto
