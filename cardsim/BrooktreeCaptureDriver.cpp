#include "cardsim/BrooktreeCaptureDriver.h"

#include "cardsim/Card.h"
#include "platform/Clock.h"

#include <atomic>
#include <cmath>
#include <cstring>

namespace kelto::cardsim {

namespace {

// The card has one capture engine: one open driver at a time.
std::atomic<bool> engineInUse{false};

}  // namespace

std::optional<std::size_t> registerCaptureDriver() {
    return CaptureDriverList::add([] { return std::make_unique<BrooktreeCaptureDriver>(); });
}

BrooktreeCaptureDriver::~BrooktreeCaptureDriver() { close(); }

CaptureDriverDescription BrooktreeCaptureDriver::description() const {
    return {kBrooktreeCaptureDriverName, kVersion};
}

bool BrooktreeCaptureDriver::open() {
    if (open_) return true;
    if (lockCard()->faults.captureOpenFails) return false;
    bool expected = false;
    if (!engineInUse.compare_exchange_strong(expected, true)) return false;
    open_ = true;
    return true;
}

void BrooktreeCaptureDriver::close() {
    if (!open_) return;
    open_ = false;
    engineInUse = false;
}

bool BrooktreeCaptureDriver::supported(const FrameFormat& f) {
    return f.width >= FrameSynthesizer::kMinWidth && f.width <= FrameSynthesizer::kMaxWidth &&
           f.height >= FrameSynthesizer::kMinHeight && f.height <= FrameSynthesizer::kMaxHeight &&
           (f.bitsPerPixel == 24 || f.bitsPerPixel == 32);
}

bool BrooktreeCaptureDriver::setFrameFormat(const FrameFormat& format) {
    if (!supported(format)) return false;
    format_ = format;
    return true;
}

double BrooktreeCaptureDriver::framesPerSecond() const { return lockCard()->framesPerSecond(); }

std::uint32_t BrooktreeCaptureDriver::microsecondsPerFrame() const {
    return std::uint32_t(std::lround(1'000'000.0 / framesPerSecond()));
}

bool BrooktreeCaptureDriver::grabFrame(std::span<std::uint8_t> buffer,
                                       std::optional<std::chrono::system_clock::time_point> at) {
    if (!open_ || buffer.size() < format_.imageBytes()) return false;
    const Scene scene = lockCard()->sceneAt(at.value_or(platform::clock().now()));
    const int width = int(format_.width), height = int(format_.height);
    const std::size_t pixelCount = std::size_t(width) * std::size_t(height);
    if (format_.bitsPerPixel == 32 && reinterpret_cast<std::uintptr_t>(buffer.data()) % alignof(std::uint32_t) == 0) {
        FrameSynthesizer::render(scene, width, height, reinterpret_cast<std::uint32_t*>(buffer.data()));
        return true;
    }
    scratch_.resize(pixelCount);
    FrameSynthesizer::render(scene, width, height, scratch_.data());
    if (format_.bitsPerPixel == 32) {
        std::memcpy(buffer.data(), scratch_.data(), pixelCount * 4);
        return true;
    }
    const std::uint32_t stride = format_.bytesPerRow();
    for (int y = 0; y < height; ++y) {
        std::uint8_t* out = buffer.data() + std::size_t(y) * stride;
        const std::uint32_t* in = scratch_.data() + std::size_t(y) * std::size_t(width);
        for (int x = 0; x < width; ++x) {
            out[3 * x] = std::uint8_t(in[x]);
            out[3 * x + 1] = std::uint8_t(in[x] >> 8);
            out[3 * x + 2] = std::uint8_t(in[x] >> 16);
        }
        std::memset(out + 3 * width, 0, stride - std::uint32_t(3 * width));
    }
    return true;
}

bool BrooktreeCaptureDriver::setSoundFormat(const SoundFormat& format) {
    if (format.sampleRateHz < SoundSynthesizer::kMinSampleRateHz || format.sampleRateHz > SoundSynthesizer::kMaxSampleRateHz ||
        (format.channels != 1 && format.channels != 2) || format.bitsPerSample != 16)
        return false;
    sound_ = format;
    return true;
}

bool BrooktreeCaptureDriver::readSound(std::chrono::system_clock::time_point start, std::span<std::int16_t> buffer) {
    if (!open_) return false;
    const SoundScene scene = lockCard()->soundAt();
    return SoundSynthesizer::render(scene, start, sound_.sampleRateHz, sound_.channels, buffer);
}

}  // namespace kelto::cardsim
