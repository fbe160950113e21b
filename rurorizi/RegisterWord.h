#pragma once
// The card's audio register word: the 32-bit word at byte offset 0x10C of the register block that
// the card's device hands out ("\\.\BT848" on a Bt848, "\\.\BtPCIAud.vxd" on a Bt878). Bits 24
// and 25 carry part of the audio route. The word's value at load is kept so that stopping the
// audio path can put it back.
#include <cstdint>

namespace kelto::rurorizi::dynLink {

constexpr std::uint32_t kAudioWordOffset = 0x10C;
constexpr std::uint32_t kSecondInputBit = 1u << 24;
constexpr std::uint32_t kExternalInputBit = 1u << 25;

// Asks the card's device for the register block and keeps the audio word and its current value.
// False when the device cannot be opened or its answer carries no address.
bool obtainRegisterBlock(bool bt878);
void forgetRegisterBlock();

std::uint32_t readAudioWord();
void writeAudioWord(std::uint32_t value);
// Writes the value saved at load back into the word.
void restoreAudioWord();

}  // namespace kelto::rurorizi::dynLink
