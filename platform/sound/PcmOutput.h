#pragma once
// A low-latency sound output: opened with a rate and a channel count, fed interleaved 16-bit
// frames, closed. The live picture's sound goes through one: the system's (ALSA) in the
// program, an in-memory one in tests.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace kelto::platform::sound {

struct PcmFormat {
    std::uint32_t rateHz = 48000;
    std::uint16_t channels = 2;
    bool operator==(const PcmFormat&) const = default;
};

class PcmOutput {
public:
    virtual ~PcmOutput() = default;
    // Opens (or opens again) the output for the format; false with lastError() when it cannot.
    virtual bool open(const PcmFormat& format) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // Queues interleaved frames (samples.size() / channels) without waiting; returns the frames
    // taken. What does not fit in the output's buffer is dropped: late sound is worth nothing.
    virtual std::size_t write(std::span<const std::int16_t> samples) = 0;
    // Frames written but not yet played.
    virtual std::size_t queuedFrames() const = 0;
    virtual std::string lastError() const { return {}; }
};

// The longest stretch the ALSA output keeps queued, in microseconds.
inline constexpr unsigned kAlsaLatencyUs = 50000;

// The system's output through ALSA ("default" unless told). With configuration text, the device
// is looked up in that configuration alone instead of the system's (tests name a file device).
std::unique_ptr<PcmOutput> makeAlsaPcmOutput(std::string device = "default", std::string configuration = {});

// The output the program plays through: ALSA's "default" device, or the one $KELTO_SOUND_DEVICE
// names; null (no sound played) when that says "none". A factory installed for tests takes its
// place; setSoundOutputFactory({}) restores it.
std::unique_ptr<PcmOutput> makeSoundOutput();
void setSoundOutputFactory(std::function<std::unique_ptr<PcmOutput>()> factory);

// Keeps what it is given; plays nothing unless told to (play), so tests see what was queued.
class InMemoryPcmOutput final : public PcmOutput {
public:
    bool open(const PcmFormat& format) override;
    void close() override;
    bool isOpen() const override { return open_; }
    std::size_t write(std::span<const std::int16_t> samples) override;
    std::size_t queuedFrames() const override { return queued_; }

    // Everything written since it was made, across opens.
    const std::vector<std::int16_t>& samples() const { return samples_; }
    const PcmFormat& format() const { return format_; }
    int opens() const { return opens_; }
    // Plays queued frames away; capacity: the most frames it takes before dropping (0: no limit).
    void play(std::size_t frames) { queued_ -= std::min(frames, queued_); }
    void setCapacity(std::size_t frames) { capacity_ = frames; }
    void setRefuseOpen(bool refuse) { refuseOpen_ = refuse; }

private:
    bool open_ = false;
    bool refuseOpen_ = false;
    PcmFormat format_;
    int opens_ = 0;
    std::size_t queued_ = 0;
    std::size_t capacity_ = 0;
    std::vector<std::int16_t> samples_;
};

}  // namespace kelto::platform::sound
