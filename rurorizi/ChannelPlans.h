#pragma once
// The five channel plans built into the library and their choice by country code. Each entry is
// a divider in units of 1/16 MHz (62.5 kHz); the divider sent to the tuner is the entry plus the
// plan's offset: 0 for plans that hold the tuner's oscillator frequency (vision carrier plus
// 45.75 MHz), 622 (38.875 MHz) for plans that hold the vision carrier. Index 0 of every plan is 0.
// The entries are writable: a change lasts for the rest of the process.
#include <cstdint>
#include <span>

namespace kelto::rurorizi {

enum class PlanKind { Broadcast = 0, Cable = 1 };

struct ChannelPlan {
    std::span<std::uint16_t> entries;  // indexed by channel, 0..highestChannel
    std::int32_t offset = 0;
    std::int32_t highestChannel = 0;
};

enum class PlanName { UsBroadcast, EuropeanBroadcast, UsCable, EuropeanCableA, EuropeanCableB };

// The plan for a plan number (0 broadcast, 1 cable) in a country; null when the country has none.
ChannelPlan* planForCountry(int plan, std::uint32_t countryCode);
// One plan by name (for tests of the tables).
ChannelPlan& channelPlan(PlanName name);

}  // namespace kelto::rurorizi
