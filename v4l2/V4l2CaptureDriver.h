#pragma once
// The capture driver of a card behind a Video4Linux2 device, under the name the capture window
// looks for. Pictures come by memory-mapped streaming (four buffers), in the first format the
// device offers of BGR24, BGR32, RGB24 and YUYV (in that order of preference, the one of the
// asked depth first), converted and scaled to the asked size and depth. The standard is set from
// the locale's country when the driver opens. A frozen picture (Bt848Pause) keeps the last one.
//
// Each grab takes every picture the device has filled since the last grab and keeps the newest,
// waiting at most kFirstPictureWaitMs for a first one. When the device disappears (ENODEV) the
// driver closes, grabs fail and lastError() says what happened; the trace log says it too.
// The card's sound comes from its ALSA capture device (CardSound.h) while the driver is open;
// without one the driver has no sound.
#include "drivers/CaptureDriver.h"
#include "v4l2/CardSound.h"
#include "v4l2/VideoDevice.h"

#include <linux/videodev2.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kelto::v4l2 {

// Registers the V4L2 capture driver in the first free slot of the capture driver list.
std::optional<std::size_t> registerCaptureDriver();

// The standard a country's broadcasts use (by dialling code).
v4l2_std_id standardForCountry(int countryCode);

class V4l2CaptureDriver final : public drivers::CaptureDriver {
public:
    static constexpr const char* kVersion = "Version: Video4Linux2";
    static constexpr std::uint32_t kBufferCount = 4;
    static constexpr int kFirstPictureWaitMs = 200;

    ~V4l2CaptureDriver() override;

    drivers::CaptureDriverDescription description() const override;
    bool open() override;
    void close() override;
    bool isOpen() const override { return device_ != nullptr; }

    drivers::FrameFormat frameFormat() const override { return format_; }
    bool setFrameFormat(const drivers::FrameFormat& format) override;
    double framesPerSecond() const override;
    std::uint32_t microsecondsPerFrame() const override;
    bool grabFrame(std::span<std::uint8_t> buffer, std::optional<std::chrono::system_clock::time_point> at) override;

    bool hasAudio() const override { return sound_ && sound_->running(); }
    drivers::SoundFormat soundFormat() const override { return soundFormat_; }
    bool setSoundFormat(const drivers::SoundFormat& format) override;
    bool readSound(std::chrono::system_clock::time_point start, std::span<std::int16_t> buffer) override;

    std::string lastError() const override { return lastError_; }
    // The device's picture as it streams (for tests).
    const v4l2_pix_format& deviceFormat() const { return source_; }

private:
    struct Mapped {
        void* address = nullptr;
        std::size_t length = 0;
    };
    bool startStreaming(const drivers::FrameFormat& format);
    void stopStreaming();
    int call(unsigned long request, void* argument);
    bool takeFilledPictures(bool wait);
    void convert(const std::uint8_t* source);
    bool fail(std::string why);

    std::string devicePath_;
    std::unique_ptr<VideoDevice> device_;
    std::vector<Mapped> buffers_;
    v4l2_pix_format source_{};
    bool fiveTwentyFiveLines_ = true;
    drivers::FrameFormat format_{};
    std::vector<std::uint8_t> picture_;  // the newest picture in format_
    bool havePicture_ = false;
    std::string lastError_;
    std::unique_ptr<CardSound> sound_;
    drivers::SoundFormat soundFormat_{48000, 2, 16};
};

}  // namespace kelto::v4l2
