#pragma once
// Sound decoder of type 2 (I2C 0x80): takes blocks of bytes addressed to a subaddress (the first
// byte of a transfer): 0x00 for control (reset), 0x10 for the demodulator, 0x12 for the sound
// processor. It keeps the last block written to each subaddress and answers reads with zeros.
#include "cardsim/I2cDevice.h"

#include <map>
#include <vector>

namespace kelto::cardsim {

class SoundDecoderType2 final : public I2cDevice {
public:
    bool write(std::span<const std::uint8_t> bytes) override;
    std::uint8_t readByte() override { return 0; }

    // The last block written to a subaddress (empty when none).
    std::vector<std::uint8_t> lastBlock(std::uint8_t subaddress) const;
    // Every block in the order written, with its subaddress first.
    const std::vector<std::vector<std::uint8_t>>& history() const { return history_; }

private:
    std::map<std::uint8_t, std::vector<std::uint8_t>> blocks_;
    std::vector<std::vector<std::uint8_t>> history_;
};

}  // namespace kelto::cardsim
