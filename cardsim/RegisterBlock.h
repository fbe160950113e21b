#pragma once
// The chip's memory-mapped register block: a real block of memory whose address the card
// devices hand out, so the driver's callers read and write its 32-bit words directly. There is
// one block for the life of the process (callers keep the address); building a new card resets
// its contents.
#include <cstddef>
#include <cstdint>

namespace kelto::cardsim {

class RegisterBlock {
public:
    static constexpr std::size_t kSizeBytes = 4096;
    // The word holding the audio source bits: bit 25 external input, bit 24 second input.
    static constexpr std::size_t kAudioControlOffset = 0x10C;
    static constexpr std::uint32_t kExternalInputBit = 1u << 25;
    static constexpr std::uint32_t kSecondInputBit = 1u << 24;
    // The audio control word at power-up (bits the driver must leave alone are set).
    static constexpr std::uint32_t kAudioControlPowerUp = 0x0000'0011;

    static RegisterBlock& process();

    void* base() { return words_; }
    std::uint32_t word(std::size_t offset) const;
    void setWord(std::size_t offset, std::uint32_t value);
    void reset();

private:
    RegisterBlock() { reset(); }
    alignas(64) std::uint32_t words_[kSizeBytes / 4];
};

}  // namespace kelto::cardsim
