#pragma once
// A chip on the card's I2C bus. The bus calls it only for transfers to its own address.
#include <cstdint>
#include <span>

namespace kelto::cardsim {

class I2cDevice {
public:
    virtual ~I2cDevice() = default;
    // One complete write transfer (the bytes after the address byte). False when the chip
    // refuses the data (no acknowledge).
    virtual bool write(std::span<const std::uint8_t> bytes) = 0;
    // Called when a read transfer starts; the chip then hands out bytes one by one.
    virtual void beginRead() {}
    virtual std::uint8_t readByte() = 0;
};

}  // namespace kelto::cardsim
