#include "cardsim/ColourTransform.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kelto::cardsim {

namespace {
int clampByte(double v) { return int(std::clamp(std::lround(v), 0L, 255L)); }
}  // namespace

ColourTransform::ColourTransform(const PictureControls& c)
    : brightness_(double(c.brightness - 128)), contrast_(double(c.contrast) / 128.0) {
    const double saturation = double(c.saturation) / 128.0;
    const double hueRadians = double(c.hue - 128) / 128.0 * (std::numbers::pi / 2.0);
    chromaCos_ = std::cos(hueRadians) * saturation * contrast_;
    chromaSin_ = std::sin(hueRadians) * saturation * contrast_;
    identity_ = c.brightness == 128 && c.contrast == 128 && c.hue == 128 && c.saturation == 128;
    for (int level = 0; level < 256; ++level) greys_[std::size_t(level)] = apply(level, level, level);
}

std::uint32_t ColourTransform::apply(int r, int g, int b) const {
    if (identity_) return packRgb(r, g, b);
    const double y = 0.299 * r + 0.587 * g + 0.114 * b;
    const double u = b - y;
    const double v = r - y;
    const double y2 = (y - 128.0) * contrast_ + 128.0 + brightness_;
    const double u2 = u * chromaCos_ - v * chromaSin_;
    const double v2 = u * chromaSin_ + v * chromaCos_;
    const double r2 = y2 + v2;
    const double b2 = y2 + u2;
    const double g2 = (y2 - 0.299 * r2 - 0.114 * b2) / 0.587;
    return packRgb(clampByte(r2), clampByte(g2), clampByte(b2));
}

}  // namespace kelto::cardsim
