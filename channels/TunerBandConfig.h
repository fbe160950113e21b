#pragma once
// The tuner's band limits and control words as the country file gives them. They choose the
// control word only when a tuning value above 10000 is a frequency rather than a channel number
// (see TunerBandTables.h); the channel band tables serve every channel number.
#include <cstdint>

namespace kelto {

struct TunerBandConfig {
    std::uint32_t lowBand = 0;      // "LOW BAND"
    std::uint32_t lowMidBand = 0;   // "LOWMID BAND"
    std::uint32_t midHighBand = 0;  // "MIDHIGH BAND"
    std::uint32_t highBand = 0;     // "HIGH BAND" (read and kept, not used for the choice)
    std::uint32_t lowControl = 0;   // "LOW CONTROL"
    std::uint32_t midControl = 0;   // "MID CONTROL"
    std::uint32_t highControl = 0;  // "HIGH CONTROL"
    bool operator==(const TunerBandConfig&) const = default;
};

}  // namespace kelto
