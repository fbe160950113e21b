#pragma once
// dactl, sound decoder half: finds the optional sound decoder chip on the I2C bus and programs it
// for the TV sound standard of the country (three groups of countries, one table each), filling
// the TV sound format record. Two chips are known:
//   type 1 at 0xB0: 24 registers written one by one; three status bytes from subaddress 0
//   type 2 at 0x80: an 8-byte block to subaddress 0x10, then a 20-byte block to 0x12
#include <cstdint>

namespace kelto::rurorizi {
enum class SoundDecoderType : std::int32_t { None = 0, Type1 = 1, Type2 = 2 };
}

namespace kelto::rurorizi::dactl {

// Resolves the country code, detects the decoder (remembered in the module state) and programs
// it. The TV record's status becomes 0 when programmed, -2 when there is no decoder and the
// country is one of 1, 2, 52, 55, 81, and stays -1 otherwise.
void setUpSoundDecoder();
// GetTVParam 18: the type 1 decoder's status byte (0 when it cannot be read); 1 without one.
int soundDecoderStatus();
// The status byte from the first two status bytes of a type 1 decoder.
int decodeStatusBytes(std::uint8_t b0, std::uint8_t b1);

}  // namespace kelto::rurorizi::dactl
