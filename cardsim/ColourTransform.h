#pragma once
// The picture controls as the decoder applies them: brightness shifts the luma, contrast scales
// luma and chroma, saturation scales the chroma, hue turns it (128 is neutral for all four; hue
// spans -90 to +90 degrees). Colours are packed 0xFFRRGGBB.
#include "cardsim/VideoDecoder.h"

#include <array>
#include <cstdint>

namespace kelto::cardsim {

constexpr std::uint32_t packRgb(int r, int g, int b) {
    return 0xFF000000u | (std::uint32_t(r) << 16) | (std::uint32_t(g) << 8) | std::uint32_t(b);
}

class ColourTransform {
public:
    explicit ColourTransform(const PictureControls& controls);
    std::uint32_t apply(int r, int g, int b) const;
    std::uint32_t apply(std::uint32_t rgb) const { return apply(int(rgb >> 16 & 0xFF), int(rgb >> 8 & 0xFF), int(rgb & 0xFF)); }
    // The transformed grey for each level 0..255 (for noise and ramps).
    const std::array<std::uint32_t, 256>& greys() const { return greys_; }
    bool identity() const { return identity_; }

private:
    double brightness_;
    double contrast_;
    double chromaCos_;
    double chromaSin_;
    bool identity_;
    std::array<std::uint32_t, 256> greys_{};
};

}  // namespace kelto::cardsim
