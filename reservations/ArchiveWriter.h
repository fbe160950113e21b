#pragma once
// Builds the bytes of a "reserve.rsd" style archive: little-endian integers and length-prefixed
// strings.
//
// String form: the length in bytes, then the bytes, no terminator. Below 255 the length is one
// byte; 255..65533 it is the byte 0xFF and a 16-bit length; longer it is 0xFF, the 16-bit value
// 0xFFFF and a 32-bit length. (0xFF 0xFFFE marks 16-bit characters on reading and is never
// written, which is why 65534 and 65535 take the long form.)
#include <cstdint>
#include <string>
#include <string_view>

namespace kelto {

class ArchiveWriter {
public:
    void writeU8(std::uint8_t value);
    void writeU16(std::uint16_t value);
    void writeU32(std::uint32_t value);
    // Writes the length prefix and the bytes of text. Texts of 4 GiB or more cannot be stored:
    // they are cut to 0xFFFFFFFF bytes.
    void writeString(std::string_view text);

    const std::string& bytes() const { return bytes_; }
    std::string take() { return std::move(bytes_); }

private:
    std::string bytes_;
};

}  // namespace kelto
