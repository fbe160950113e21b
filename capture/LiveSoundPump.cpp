#include "capture/LiveSoundPump.h"

#include "platform/Clock.h"
#include "platform/Trace.h"

#include <algorithm>
#include <cmath>

namespace kelto::capture {

namespace {

std::uint64_t framesIn(std::chrono::system_clock::duration span, std::uint32_t rateHz) {
    const auto us = std::chrono::duration_cast<std::chrono::microseconds>(span).count();
    return us <= 0 ? 0 : std::uint64_t(us) * rateHz / 1'000'000;
}

}  // namespace

LiveSoundPump::LiveSoundPump(std::unique_ptr<platform::sound::PcmOutput> output) : output_(std::move(output)) {}

bool LiveSoundPump::start(drivers::CaptureDriver& driver) {
    stop();
    if (!driver.isOpen() || !driver.hasAudio()) return false;
    if (!driver.setSoundFormat(kPreferredFormat)) platform::traceLine("live sound: the driver keeps its own sound format");
    format_ = driver.soundFormat();
    if (format_.bitsPerSample != 16 || format_.channels == 0 || format_.sampleRateHz == 0) return false;
    if (!output_->open({format_.sampleRateHz, format_.channels})) {
        platform::traceLine("live sound: no sound output: " + output_->lastError());
        return false;
    }
    driver_ = &driver;
    start_ = platform::clock().now();
    framesDone_ = 0;
    return true;
}

void LiveSoundPump::stop() {
    if (!driver_) return;
    driver_ = nullptr;
    output_->close();
}

void LiveSoundPump::setLevel(double level) { level_ = std::clamp(level, 0.0, 1.0); }

void LiveSoundPump::pump() {
    if (!driver_) return;
    // A recording in between may have set another format; the live sound asks for its own again.
    if (driver_->soundFormat() != format_ && !driver_->setSoundFormat(format_)) return;

    const std::uint32_t rate = format_.sampleRateHz;
    const std::uint64_t due = framesIn(platform::clock().now() - start_, rate);
    if (due <= framesDone_) return;
    const std::uint64_t longestGap = framesIn(kLongestGap, rate);
    if (due - framesDone_ > longestGap) framesDone_ = due - framesIn(kPeriod, rate);
    const std::size_t frames = std::size_t(due - framesDone_);

    const auto at = start_ + std::chrono::microseconds(framesDone_ * 1'000'000 / rate);
    framesDone_ = due;
    buffer_.resize(frames * format_.channels);
    if (!driver_->readSound(at, buffer_)) return;
    if (level_ <= 0.0) {
        std::fill(buffer_.begin(), buffer_.end(), std::int16_t(0));
    } else if (level_ < 1.0) {
        for (auto& sample : buffer_) sample = std::int16_t(std::lround(sample * level_));
    }
    output_->write(buffer_);
}

}  // namespace kelto::capture
