#pragma once
// A colour as the settings store it.
#include <cstdint>

namespace kelto {

// A colour as three 0..255 components. Packed into one integer it is red in the low byte, then
// green, then blue.
struct ColorTriple {
    int red = 0;
    int green = 0;
    int blue = 0;

    std::uint32_t packed() const {
        return std::uint32_t(red & 0xFF) | (std::uint32_t(green & 0xFF) << 8) | (std::uint32_t(blue & 0xFF) << 16);
    }
    static ColorTriple unpack(std::uint32_t value) {
        return {int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF)};
    }
    bool operator==(const ColorTriple&) const = default;
};

}  // namespace kelto
