#pragma once
// Finds out whether a chip answers at an I2C address by driving the bus lines by hand (software
// mode): start, the read address bit by bit, one acknowledge clock, a scratch read, stop.
#include <cstdint>

namespace kelto::rurorizi::dynLink {

// True when the chip at the 8-bit write address acknowledged its read address. One attempt.
bool probeI2cAddress(std::uint8_t writeAddress);

}  // namespace kelto::rurorizi::dynLink
