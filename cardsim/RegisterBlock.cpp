#include "cardsim/RegisterBlock.h"

namespace kelto::cardsim {

RegisterBlock& RegisterBlock::process() {
    // Never destroyed: callers may hold the address until the process ends.
    static RegisterBlock* block = new RegisterBlock();
    return *block;
}

std::uint32_t RegisterBlock::word(std::size_t offset) const {
    return offset + 4 <= kSizeBytes ? words_[offset / 4] : 0;
}

void RegisterBlock::setWord(std::size_t offset, std::uint32_t value) {
    if (offset + 4 <= kSizeBytes) words_[offset / 4] = value;
}

void RegisterBlock::reset() {
    for (auto& w : words_) w = 0;
    words_[kAudioControlOffset / 4] = kAudioControlPowerUp;
}

}  // namespace kelto::cardsim
