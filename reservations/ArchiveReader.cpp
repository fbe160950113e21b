#include "reservations/ArchiveReader.h"

#include "reservations/TextConversion.h"

#include "platform/Text.h"

namespace kelto {

bool ArchiveReader::fail(const char* what) {
    if (error_.empty())
        error_ = platform::formatText("%s at byte %zu of %zu", what, offset_, bytes_.size());
    return false;
}

bool ArchiveReader::take(std::size_t count, std::string_view& out) {
    if (!ok()) return false;
    if (count > remaining()) return fail("the file ends early");
    out = bytes_.substr(offset_, count);
    offset_ += count;
    return true;
}

bool ArchiveReader::readU8(std::uint8_t& value) {
    std::string_view raw;
    if (!take(1, raw)) return false;
    value = static_cast<std::uint8_t>(raw[0]);
    return true;
}

bool ArchiveReader::readU16(std::uint16_t& value) {
    std::string_view raw;
    if (!take(2, raw)) return false;
    value = static_cast<std::uint16_t>(static_cast<unsigned char>(raw[0]) |
                                       (static_cast<unsigned char>(raw[1]) << 8));
    return true;
}

bool ArchiveReader::readU32(std::uint32_t& value) {
    std::string_view raw;
    if (!take(4, raw)) return false;
    value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(raw[static_cast<std::size_t>(i)]);
    return true;
}

bool ArchiveReader::readLength(std::uint64_t& length, bool& wide) {
    wide = false;
    std::uint8_t shortLength = 0;
    if (!readU8(shortLength)) return false;
    if (shortLength < 0xFF) {
        length = shortLength;
        return true;
    }
    std::uint16_t mediumLength = 0;
    if (!readU16(mediumLength)) return false;
    if (mediumLength == 0xFFFE) {
        // 16-bit characters: the length prefix starts over (one byte, then the 16-bit form).
        wide = true;
        if (!readU8(shortLength)) return false;
        if (shortLength < 0xFF) {
            length = shortLength;
            return true;
        }
        if (!readU16(mediumLength)) return false;
    }
    if (mediumLength < 0xFFFF) {
        length = mediumLength;
        return true;
    }
    std::uint32_t longLength = 0;
    if (!readU32(longLength)) return false;
    length = longLength;
    return true;
}

bool ArchiveReader::readString(std::string& text) {
    std::uint64_t length = 0;
    bool wide = false;
    if (!readLength(length, wide)) return false;
    const std::uint64_t byteCount = wide ? length * 2 : length;
    if (byteCount > remaining()) return fail("a string runs past the end of the file");
    std::string_view raw;
    if (!take(static_cast<std::size_t>(byteCount), raw)) return false;
    text = wide ? utf16LeToUtf8(raw) : std::string(raw);
    return true;
}

}  // namespace kelto
