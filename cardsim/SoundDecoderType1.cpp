#include "cardsim/SoundDecoderType1.h"

namespace kelto::cardsim {

bool SoundDecoderType1::write(std::span<const std::uint8_t> bytes) {
    if (bytes.empty()) return true;
    if (bytes.size() == 1) {
        readPointer_ = bytes[0];
        return true;
    }
    // Register, then values for it and the registers after it.
    std::size_t reg = bytes[0];
    for (std::size_t i = 1; i < bytes.size(); ++i, ++reg) {
        if (reg >= kRegisterCount) return false;  // no such register: the chip does not acknowledge
        registers_[reg] = bytes[i];
        written_[reg] = true;
    }
    return true;
}

std::array<std::uint8_t, 3> SoundDecoderType1::statusBytes() const {
    std::array<std::uint8_t, 3> status{};
    switch (received_ ? received_().value_or(SoundMode::Mono) : SoundMode::Mono) {
    case SoundMode::Stereo: status[0] = 0x01; break;
    case SoundMode::Bilingual: status[0] = 0x02; break;
    case SoundMode::Mono: break;
    }
    return status;
}

std::uint8_t SoundDecoderType1::readByte() {
    const auto status = statusBytes();
    const std::uint8_t byte = status[readPointer_ % status.size()];
    readPointer_ = std::uint8_t((readPointer_ + 1) % status.size());
    return byte;
}

}  // namespace kelto::cardsim
