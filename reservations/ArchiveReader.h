#pragma once
// Reads a "reserve.rsd" style archive from a byte buffer: little-endian integers and
// length-prefixed strings (see ArchiveWriter). Every read checks the bytes left; the first read
// that would run past the end fails, and every later read fails too, with error() saying where.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kelto {

class ArchiveReader {
public:
    explicit ArchiveReader(std::string_view bytes) : bytes_(bytes) {}

    bool readU8(std::uint8_t& value);
    bool readU16(std::uint16_t& value);
    bool readU32(std::uint32_t& value);
    // A length-prefixed string. The marker 0xFF 0xFFFE announces 16-bit characters: their
    // length prefix follows again (counting characters) and they are converted to UTF-8.
    // Single-byte text is taken as it stands.
    bool readString(std::string& text);

    bool ok() const { return error_.empty(); }
    const std::string& error() const { return error_; }
    std::size_t offset() const { return offset_; }
    std::size_t remaining() const { return bytes_.size() - offset_; }

private:
    bool fail(const char* what);
    bool take(std::size_t count, std::string_view& out);
    bool readLength(std::uint64_t& length, bool& wide);

    std::string_view bytes_;
    std::size_t offset_ = 0;
    std::string error_;
};

}  // namespace kelto
