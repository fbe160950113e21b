#include "cardsim/SoundDecoderType2.h"

namespace kelto::cardsim {

bool SoundDecoderType2::write(std::span<const std::uint8_t> bytes) {
    if (bytes.empty()) return true;
    blocks_[bytes[0]].assign(bytes.begin() + 1, bytes.end());
    history_.emplace_back(bytes.begin(), bytes.end());
    return true;
}

std::vector<std::uint8_t> SoundDecoderType2::lastBlock(std::uint8_t subaddress) const {
    const auto found = blocks_.find(subaddress);
    return found == blocks_.end() ? std::vector<std::uint8_t>{} : found->second;
}

}  // namespace kelto::cardsim
