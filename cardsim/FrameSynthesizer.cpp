#include "cardsim/FrameSynthesizer.h"

#include "cardsim/BitmapFont.h"
#include "cardsim/ColourTransform.h"

#include <algorithm>
#include <array>
#include <ctime>

namespace kelto::cardsim {

namespace {

// A small, fast generator (xorshift64*) seeded per frame so noise is the same for the same frame.
class NoiseSource {
public:
    explicit NoiseSource(std::uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 0x2545F4914F6CDD1Dull) {
        if (state_ == 0) state_ = 1;
    }
    std::uint64_t next() {
        state_ ^= state_ >> 12;
        state_ ^= state_ << 25;
        state_ ^= state_ >> 27;
        return state_ * 0x2545F4914F6CDD1Dull;
    }

private:
    std::uint64_t state_;
};

class Canvas {
public:
    Canvas(std::uint32_t* pixels, int width, int height) : pixels_(pixels), width_(width), height_(height) {}

    void fill(int x, int y, int w, int h, std::uint32_t colour) {
        const int left = std::max(x, 0), right = std::min(x + w, width_);
        const int top = std::max(y, 0), bottom = std::min(y + h, height_);
        if (left >= right) return;
        for (int row = top; row < bottom; ++row) std::fill(rowAt(row) + left, rowAt(row) + right, colour);
    }
    std::uint32_t* rowAt(int y) { return pixels_ + std::size_t(y) * std::size_t(width_); }
    int width() const { return width_; }
    int height() const { return height_; }
    std::uint32_t* pixels() { return pixels_; }

private:
    std::uint32_t* pixels_;
    int width_;
    int height_;
};

// Position 0..1..0 of a back-and-forth motion with the given period.
double triangle(std::uint64_t timeMs, std::uint64_t periodMs) {
    const double phase = double(timeMs % periodMs) / double(periodMs);
    return phase < 0.5 ? phase * 2.0 : 2.0 - phase * 2.0;
}

std::string clockText(std::chrono::system_clock::time_point time) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(time);
    std::tm local{};
    localtime_r(&seconds, &local);
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", local.tm_hour, local.tm_min, local.tm_sec);
    return text;
}

// Largest integer scale (at most `wanted`) at which the text fits in maxWidth.
int fittingScale(std::string_view text, int wanted, int maxWidth) {
    const int unit = BitmapFont::textWidth(text, 1);
    if (unit <= 0) return std::max(wanted, 1);
    return std::clamp(maxWidth / unit, 1, std::max(wanted, 1));
}

void drawPlate(Canvas& canvas, const ColourTransform& colours, std::string_view text, int centreY, int wantedScale,
               std::uint32_t plate, std::uint32_t ink) {
    const int scale = fittingScale(text, wantedScale, canvas.width() - 8);
    const int textW = BitmapFont::textWidth(text, scale);
    const int textH = BitmapFont::kGlyphHeight * scale;
    const int pad = std::max(scale, 2);
    const int x = (canvas.width() - textW) / 2;
    const int y = centreY - textH / 2;
    canvas.fill(x - pad, y - pad, textW + 2 * pad, textH + 2 * pad, colours.apply(plate));
    BitmapFont::draw(canvas.pixels(), canvas.width(), canvas.height(), x, y, text, scale, colours.apply(ink));
}

void drawTestCard(Canvas& canvas, const Scene& scene, const ColourTransform& colours, std::uint64_t timeMs) {
    const int w = canvas.width(), h = canvas.height();
    static constexpr std::array<std::uint32_t, 8> kBars{packRgb(191, 191, 191), packRgb(191, 191, 0), packRgb(0, 191, 191),
                                                        packRgb(0, 191, 0),     packRgb(191, 0, 191), packRgb(191, 0, 0),
                                                        packRgb(0, 0, 191),     packRgb(16, 16, 16)};
    const int barsBottom = h * 62 / 100;
    const int rampBottom = h * 75 / 100;
    for (int i = 0; i < 8; ++i) {
        const int left = w * i / 8, right = w * (i + 1) / 8;
        canvas.fill(left, 0, right - left, barsBottom, colours.apply(kBars[std::size_t(i)]));
    }
    // Grey ramp: one transformed row, copied down.
    std::uint32_t* firstRampRow = canvas.rowAt(barsBottom);
    for (int x = 0; x < w; ++x) firstRampRow[x] = colours.greys()[std::size_t(x * 255 / std::max(w - 1, 1))];
    for (int y = barsBottom + 1; y < rampBottom; ++y) std::copy_n(firstRampRow, w, canvas.rowAt(y));
    canvas.fill(0, rampBottom, w, h - rampBottom, colours.apply(packRgb(16, 16, 64)));

    // Moving elements.
    const int square = std::max(h / 12, 2);
    const int squareX = int(triangle(timeMs, 4000) * double(w - square));
    canvas.fill(squareX, h * 40 / 100, square, square, colours.apply(packRgb(255, 255, 255)));
    const int sweepX = int(triangle(timeMs, 3000) * double(w - 2));
    canvas.fill(sweepX, barsBottom, std::max(w / 160, 2), rampBottom - barsBottom, colours.apply(packRgb(255, 220, 0)));

    drawPlate(canvas, colours, scene.title, h * 14 / 100, std::max(h / 80, 1), packRgb(0, 0, 0), packRgb(255, 255, 255));
    drawPlate(canvas, colours, clockText(scene.time), h * 87 / 100, std::max(h / 96, 1), packRgb(16, 16, 64),
              packRgb(255, 255, 255));
}

void drawComposite(Canvas& canvas, const Scene& scene, const ColourTransform& colours, std::uint64_t timeMs) {
    const int w = canvas.width(), h = canvas.height();
    const int cell = std::max(w / 8, 2);
    const int scroll = int((timeMs / 20) % std::uint64_t(2 * cell));
    const std::uint32_t dark = colours.apply(packRgb(0, 0, 128));
    const std::uint32_t light = colours.apply(packRgb(230, 140, 0));
    for (int y = 0; y < h; ++y) {
        std::uint32_t* row = canvas.rowAt(y);
        const bool oddRow = (y / cell) % 2 != 0;
        for (int x = 0; x < w;) {
            const int shifted = x + scroll;
            const int runEnd = std::min(w, x + cell - shifted % cell);
            const bool lightCell = ((shifted / cell) % 2 != 0) != oddRow;
            std::fill(row + x, row + runEnd, lightCell ? light : dark);
            x = runEnd;
        }
    }
    const int ball = std::max(h / 10, 2);
    canvas.fill(w / 2 - ball / 2, int(triangle(timeMs, 2000) * double(h - ball)), ball, ball,
                colours.apply(packRgb(255, 255, 255)));
    drawPlate(canvas, colours, scene.title, h * 12 / 100, std::max(h / 80, 1), packRgb(0, 0, 0), packRgb(255, 255, 255));
    drawPlate(canvas, colours, clockText(scene.time), h * 88 / 100, std::max(h / 96, 1), packRgb(0, 0, 0),
              packRgb(255, 255, 255));
}

void drawSVideo(Canvas& canvas, const Scene& scene, const ColourTransform& colours, std::uint64_t timeMs) {
    const int w = canvas.width(), h = canvas.height();
    static constexpr std::array<std::uint32_t, 6> kStripes{packRgb(220, 40, 40),  packRgb(230, 160, 30), packRgb(220, 220, 40),
                                                           packRgb(40, 180, 60),  packRgb(40, 90, 220),  packRgb(140, 50, 200)};
    const int stripe = std::max(h / 12, 1);
    const int offset = int((timeMs / 25) % std::uint64_t(stripe * 6));
    for (int y = 0; y < h; ++y) {
        const int band = ((y + offset) / stripe) % 6;
        std::fill_n(canvas.rowAt(y), w, colours.apply(kStripes[std::size_t(band)]));
    }
    const int square = std::max(h / 8, 2);
    canvas.fill(int(triangle(timeMs, 5000) * double(w - square)), int(triangle(timeMs, 3000) * double(h - square)), square,
                square, colours.apply(packRgb(250, 250, 250)));
    drawPlate(canvas, colours, scene.title, h * 12 / 100, std::max(h / 80, 1), packRgb(0, 0, 0), packRgb(255, 255, 255));
    drawPlate(canvas, colours, clockText(scene.time), h * 88 / 100, std::max(h / 96, 1), packRgb(0, 0, 0),
              packRgb(255, 255, 255));
}

void drawSnow(Canvas& canvas, const ColourTransform& colours, NoiseSource& noise) {
    const std::size_t count = std::size_t(canvas.width()) * std::size_t(canvas.height());
    std::uint32_t* out = canvas.pixels();
    const auto& greys = colours.greys();
    std::size_t i = 0;
    for (; i + 8 <= count; i += 8) {
        std::uint64_t bits = noise.next();
        for (int k = 0; k < 8; ++k, bits >>= 8) out[i + std::size_t(k)] = greys[bits & 0xFF];
    }
    for (std::uint64_t bits = noise.next(); i < count; ++i, bits >>= 8) out[i] = greys[bits & 0xFF];
}

void addNoise(Canvas& canvas, const ColourTransform& colours, NoiseSource& noise, double share) {
    const unsigned threshold = unsigned(std::clamp(share, 0.0, 1.0) * 256.0);
    if (threshold == 0) return;
    const std::size_t count = std::size_t(canvas.width()) * std::size_t(canvas.height());
    std::uint32_t* out = canvas.pixels();
    const auto& greys = colours.greys();
    // Branch-free: which pixels turn to noise is random, so a branch would mispredict often.
    const auto mix = [&](std::uint32_t& pixel, std::uint64_t bits) {
        const std::uint32_t keep = 0u - std::uint32_t((bits & 0xFF) >= threshold);
        pixel = (pixel & keep) | (greys[(bits >> 8) & 0xFF] & ~keep);
    };
    std::size_t i = 0;
    for (; i + 4 <= count; i += 4) {
        const std::uint64_t bits = noise.next();
        mix(out[i], bits);
        mix(out[i + 1], bits >> 16);
        mix(out[i + 2], bits >> 32);
        mix(out[i + 3], bits >> 48);
    }
    for (std::uint64_t bits = noise.next(); i < count; ++i, bits >>= 16) mix(out[i], bits);
}

}  // namespace

std::uint64_t FrameSynthesizer::frameNumber(const Scene& scene) {
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(scene.time.time_since_epoch()).count();
    return std::uint64_t(double(ms < 0 ? 0 : ms) * scene.framesPerSecond / 1000.0);
}

void FrameSynthesizer::render(const Scene& scene, int width, int height, std::uint32_t* pixels) {
    if (!pixels || width < kMinWidth || width > kMaxWidth || height < kMinHeight || height > kMaxHeight) return;
    Canvas canvas(pixels, width, height);
    const ColourTransform colours(scene.controls);
    const std::uint64_t frame = frameNumber(scene);
    // Animation advances in whole frames, so every moment within a frame shows the same picture.
    const auto timeMs = std::uint64_t(double(frame) * 1000.0 / scene.framesPerSecond);
    NoiseSource noise(frame);
    switch (scene.kind) {
    case SceneKind::Snow: drawSnow(canvas, colours, noise); return;
    case SceneKind::TestCard:
        if (scene.programme && scene.programme->frameAt(scene.time, width, height, pixels)) {
            if (!colours.identity())
                for (std::size_t i = 0, n = std::size_t(width) * std::size_t(height); i < n; ++i) pixels[i] = colours.apply(pixels[i]);
        } else {
            drawTestCard(canvas, scene, colours, timeMs);
        }
        break;
    case SceneKind::CompositeInput: drawComposite(canvas, scene, colours, timeMs); break;
    case SceneKind::SVideoInput: drawSVideo(canvas, scene, colours, timeMs); break;
    }
    addNoise(canvas, colours, noise, scene.noise);
}

}  // namespace kelto::cardsim
