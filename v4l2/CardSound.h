#pragma once
// The card's sound as the capture driver hands it out: an ALSA capture stream (the bt87x
// device of the card, or the one the card file names with SoundDevice=), laid on the process
// clock. The frame captured k-th after the stream started stands for the moment
// start + kCaptureDelay + k / rate, so the sound for "now" has always arrived when it is asked
// for; a moment without captured sound (before the start, not yet, or long gone) is silence.
#include "drivers/CaptureDriver.h"
#include "v4l2/V4l2CardConfig.h"

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <span>
#include <string>

namespace kelto::v4l2 {

// A capture stream of 16-bit interleaved sound.
class SoundSource {
public:
    virtual ~SoundSource() = default;
    virtual bool open(const drivers::SoundFormat& format) = 0;
    virtual void close() = 0;
    // Takes what has been captured since the last call, without waiting; the frames taken.
    virtual std::size_t read(std::span<std::int16_t> into) = 0;
    virtual std::string lastError() const { return {}; }
};

// The ALSA capture stream of `device` (non-blocking, about 20 ms of buffer in short periods).
std::unique_ptr<SoundSource> makeAlsaSoundSource(std::string device);

// The ALSA device the card's sound comes from: SoundDevice= of the card file, else the first
// sound card whose driver is Bt87x ("plughw:CARD=<id>,DEV=0"); empty when there is none.
std::string cardSoundDevice(const V4l2CardConfig& config);

class CardSound {
public:
    static constexpr std::chrono::milliseconds kCaptureDelay{30};
    // The longest stretch kept for a reader that is behind.
    static constexpr std::chrono::milliseconds kLongestKept{2000};

    explicit CardSound(std::string device) : device_(std::move(device)) {}
    ~CardSound() { stop(); }

    const std::string& device() const { return device_; }
    // Opens the stream at the format (again when it runs); false with lastError() when it cannot.
    bool start(const drivers::SoundFormat& format);
    void stop();
    bool running() const { return source_ != nullptr; }
    const drivers::SoundFormat& format() const { return format_; }
    // Fills the buffer with the sound of the moment `start` on.
    void read(std::chrono::system_clock::time_point start, std::span<std::int16_t> buffer);
    std::string lastError() const { return error_; }

private:
    void takeCaptured();

    std::string device_;
    std::unique_ptr<SoundSource> source_;
    drivers::SoundFormat format_;
    std::chrono::system_clock::time_point startedAt_{};
    std::deque<std::int16_t> kept_;  // captured frames, interleaved
    std::int64_t firstKeptFrame_ = 0;  // the index of kept_'s first frame in the stream
    std::string error_;
};

namespace test {
// Makes the sound sources in place of ALSA's (an empty function restores ALSA's).
void setSoundSourceFactory(std::function<std::unique_ptr<SoundSource>(const std::string& device)> factory);
}  // namespace test

}  // namespace kelto::v4l2
