#pragma once
// The simulated card's capture driver: pictures and sound of the process's card (Card.h).
#include "drivers/CaptureDriver.h"

#include <cstddef>
#include <optional>
#include <vector>

namespace kelto::cardsim {

using drivers::CaptureDriver;
using drivers::CaptureDriverDescription;
using drivers::CaptureDriverList;
using drivers::FrameFormat;
using drivers::kBrooktreeCaptureDriverName;
using drivers::SoundFormat;

// Registers the card's driver in the first free slot of the capture driver list: its index, or
// nullopt when the list is full. The program does this once at start; tests that capture do it
// in their set-up.
std::optional<std::size_t> registerCaptureDriver();

class BrooktreeCaptureDriver final : public CaptureDriver {
public:
    static constexpr const char* kVersion = "Version: 4.10.0.1";

    ~BrooktreeCaptureDriver() override;

    CaptureDriverDescription description() const override;
    bool open() override;
    void close() override;
    bool isOpen() const override { return open_; }

    FrameFormat frameFormat() const override { return format_; }
    bool setFrameFormat(const FrameFormat& format) override;
    double framesPerSecond() const override;
    std::uint32_t microsecondsPerFrame() const override;
    bool grabFrame(std::span<std::uint8_t> buffer, std::optional<std::chrono::system_clock::time_point> at) override;

    bool hasAudio() const override { return true; }
    SoundFormat soundFormat() const override { return sound_; }
    bool setSoundFormat(const SoundFormat& format) override;
    bool readSound(std::chrono::system_clock::time_point start, std::span<std::int16_t> buffer) override;

    static bool supported(const FrameFormat& format);

private:
    bool open_ = false;
    FrameFormat format_;
    SoundFormat sound_;
    std::vector<std::uint32_t> scratch_;
};

}  // namespace kelto::cardsim
