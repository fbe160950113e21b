#pragma once
// The chip's 24 general-purpose I/O pins and their registers: output enables, data, input
// (interrupt) enables, mode, and the clock, write-enable and interrupt set-up registers the
// driver library can read back. On this card GPIO data bits 0 and 1 choose the analogue audio
// source (0 external input, 1 tuner, 2 second input, 3 silent).
#include <cstdint>

namespace kelto::cardsim {

class Gpio {
public:
    static constexpr int kPinCount = 24;
    static constexpr std::uint32_t kPinMask = (1u << kPinCount) - 1;

    // Bit-range operations take the lowest and highest bit, inclusive; false when the range is
    // not within pins 0 to 23.
    bool setDataBits(int lowBit, int highBit, std::uint32_t value);
    bool dataBits(int lowBit, int highBit, std::uint32_t& value) const;
    bool setOutputEnableBit(int bit, bool enable);
    bool outputEnableBit(int bit, bool& enabled) const;
    bool setInputEnableBit(int bit, bool enable);
    bool inputEnableBit(int bit, bool& enabled) const;

    std::uint32_t outputEnable = 0;
    std::uint32_t data = 0;
    std::uint32_t inputEnable = 0;
    std::uint32_t mode = 0;
    std::uint32_t clockMode = 0;
    std::uint32_t writeEnableControl = 0;
    std::uint32_t interruptInput = 0;
    std::uint32_t interruptControl = 0;
};

}  // namespace kelto::cardsim
