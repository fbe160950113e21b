#pragma once
// How the viewer programs the card's tuner: the tuner type named by the hardware library's
// "TunerType" registry text, its I2C address, and the control word for a channel or frequency.
#include "channels/TunerBandConfig.h"

#include <cstdint>
#include <string_view>

namespace kelto {

// 0 Philips, 1 another make whose name begins with P or A, 2 Alps, 3 LG Alps.
enum class TunerType : int { Philips = 0, Other = 1, Alps = 2, LgAlps = 3 };

constexpr std::uint8_t kDefaultTunerAddress = 0xC0;
// Tuning values up to this are channel numbers; above it they are frequencies in the units of
// the country file's band limits.
constexpr std::int32_t kHighestChannelValue = 10000;

// "Philips..." (first seven letters, any case) 0; "Alps..." 2; "LGAlps" exactly (any case) 3;
// other text beginning with P or A 1; anything else 0.
TunerType tunerTypeFromText(std::string_view text);
// 0xC0 for Philips, 0xC2 Alps, 0xC6 LG Alps; type 1 keeps the current address.
std::uint8_t tunerAddressFor(TunerType type, std::uint8_t currentAddress);

// The band (0 low, 1 mid, 2 high) of a channel in plan 0 (broadcast) or 1 (cable); a channel in
// no range is band 0.
int channelBand(int plan, TunerType type, std::int32_t channel);
// The tuner type's control word for a band 0..2.
std::uint16_t bandControlWord(TunerType type, int band);
// The control word for a tuning value: a channel (value <= 10000) through the channel band tables
// (0 for a plan other than 0 and 1), a frequency through the country file's band limits.
std::uint16_t controlWordFor(int plan, TunerType type, std::int32_t value, const TunerBandConfig& bands);
// LOW CONTROL strictly between LOW BAND and LOWMID BAND, MID CONTROL strictly between LOWMID BAND
// and MIDHIGH BAND, HIGH CONTROL otherwise (unsigned comparisons).
std::uint16_t bandLimitControlWord(const TunerBandConfig& bands, std::uint32_t value);

}  // namespace kelto
