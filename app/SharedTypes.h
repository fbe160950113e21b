#pragma once
// Small value types that several subsystems share.
#include <cstdint>

namespace kelto {

// The picture source: the tuner on the broadcast or the cable band, or one of the two inputs.
// Stored as its integer value.
enum class VideoMode : int { TV = 0, CATV = 1, VIDEO = 2, SVHS = 3 };

// The on-screen label of a mode ("TV", "CATV", "VIDEO", "SVHS"); "TV" for a value out of range.
const char* videoModeLabel(VideoMode mode);
// An integer read from the settings as a mode; values outside 0..3 give TV.
VideoMode videoModeFromInt(int value);

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
