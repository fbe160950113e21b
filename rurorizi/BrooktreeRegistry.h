#pragma once
// The three registry values the library keeps under HKEY_LOCAL_MACHINE, each the default value
// of a subkey named after it:
//   SOFTWARE\Brooktree\Audio\RiscEnabled   read at load
//   SOFTWARE\Brooktree\Audio\TunerType     written at load after the tuner probe
//   SOFTWARE\Brooktree\Video\FMThreshold   read at every FM tune on a Philips tuner
// Failures are not reported: each has a fallback.
#include <cstdint>
#include <string_view>

namespace kelto::rurorizi::dynLink {

// True unless the value can be read and starts with "0" (a value that cannot be read enables it).
bool readRiscEnabled();
// Stores the probed tuner's name ("Philips", "Alps", "LGAlps"); a failed write is ignored.
void writeTunerType(std::string_view tunerName);
// The FM lock threshold: the value as a decimal number, 4 when above 4 (compared unsigned), 3
// when the value cannot be read.
std::uint32_t readFmThreshold();

}  // namespace kelto::rurorizi::dynLink
