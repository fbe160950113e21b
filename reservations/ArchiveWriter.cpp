#include "reservations/ArchiveWriter.h"

#include <utility>

namespace kelto {

void ArchiveWriter::writeU8(std::uint8_t value) { bytes_.push_back(static_cast<char>(value)); }

void ArchiveWriter::writeU16(std::uint16_t value) {
    writeU8(static_cast<std::uint8_t>(value & 0xFF));
    writeU8(static_cast<std::uint8_t>(value >> 8));
}

void ArchiveWriter::writeU32(std::uint32_t value) {
    writeU16(static_cast<std::uint16_t>(value & 0xFFFF));
    writeU16(static_cast<std::uint16_t>(value >> 16));
}

void ArchiveWriter::writeString(std::string_view text) {
    constexpr std::uint64_t kLongest = 0xFFFFFFFFu;
    if (text.size() > kLongest) text = text.substr(0, kLongest);
    const std::uint64_t length = text.size();
    if (length < 0xFF) {
        writeU8(static_cast<std::uint8_t>(length));
    } else if (length < 0xFFFE) {
        writeU8(0xFF);
        writeU16(static_cast<std::uint16_t>(length));
    } else {
        writeU8(0xFF);
        writeU16(0xFFFF);
        writeU32(static_cast<std::uint32_t>(length));
    }
    bytes_.append(text);
}

}  // namespace kelto
