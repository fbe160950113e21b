#pragma once
// A tiny 5x7 bitmap font for the captions the card draws into its pictures (station names,
// clocks, input labels), so the picture path needs no toolkit. Letters, digits and common
// punctuation; lower case is drawn as upper case, anything else as a hollow box.
#include <cstdint>
#include <string_view>

namespace kelto::cardsim {

class BitmapFont {
public:
    static constexpr int kGlyphWidth = 5;
    static constexpr int kGlyphHeight = 7;
    static constexpr int kAdvance = 6;  // glyph plus one column of space

    // The glyph's rows, top first; bit 4 is the leftmost column.
    static const std::uint8_t* glyph(char32_t character);

    // Width in pixels of a UTF-8 text at the given scale.
    static int textWidth(std::string_view utf8, int scale);

    // Draws a UTF-8 text with its top left corner at (x, y), clipped to the image.
    static void draw(std::uint32_t* pixels, int width, int height, int x, int y, std::string_view utf8, int scale,
                     std::uint32_t colour);
};

}  // namespace kelto::cardsim
