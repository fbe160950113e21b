#include "cardsim/Gpio.h"

namespace kelto::cardsim {

namespace {
bool validRange(int lowBit, int highBit) { return lowBit >= 0 && highBit < Gpio::kPinCount && lowBit <= highBit; }
std::uint32_t rangeMask(int lowBit, int highBit) {
    return std::uint32_t(((std::uint64_t(1) << (highBit - lowBit + 1)) - 1) << lowBit);
}
bool setBit(std::uint32_t& word, int bit, bool on) {
    if (bit < 0 || bit >= Gpio::kPinCount) return false;
    word = on ? (word | (1u << bit)) : (word & ~(1u << bit));
    return true;
}
bool getBit(std::uint32_t word, int bit, bool& on) {
    if (bit < 0 || bit >= Gpio::kPinCount) return false;
    on = (word >> bit) & 1;
    return true;
}
}  // namespace

bool Gpio::setDataBits(int lowBit, int highBit, std::uint32_t value) {
    if (!validRange(lowBit, highBit)) return false;
    const std::uint32_t mask = rangeMask(lowBit, highBit);
    data = (data & ~mask) | ((value << lowBit) & mask);
    return true;
}

bool Gpio::dataBits(int lowBit, int highBit, std::uint32_t& value) const {
    if (!validRange(lowBit, highBit)) return false;
    value = (data & rangeMask(lowBit, highBit)) >> lowBit;
    return true;
}

bool Gpio::setOutputEnableBit(int bit, bool enable) { return setBit(outputEnable, bit, enable); }
bool Gpio::outputEnableBit(int bit, bool& enabled) const { return getBit(outputEnable, bit, enabled); }
bool Gpio::setInputEnableBit(int bit, bool enable) { return setBit(inputEnable, bit, enable); }
bool Gpio::inputEnableBit(int bit, bool& enabled) const { return getBit(inputEnable, bit, enabled); }

}  // namespace kelto::cardsim
