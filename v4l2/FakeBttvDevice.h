#pragma once
// An in-memory capture card that answers as the kernel's bttv driver does, for tests and for
// running the driver set without a card: inputs "Television" (the tuner), "Composite1" and
// "S-Video"; the standards; picture controls 0..65535 in steps of 256 and the sound mute; a
// tuner in 62.5 kHz units with stations that give it a signal and their sound channels; two
// audio inputs; memory-mapped streaming of colour bars in BGR24, BGR32 or YUYV, one picture per
// frame period of the standard by the process clock (the first at once). vanish() makes
// it behave as a card pulled out (or a driver unloaded): every call then fails with ENODEV.
//
// The card holds the state; every device opened on it shares that state, so a test keeps the
// card, hands FakeDeviceOpener to the code under test and looks at the card afterwards. Not
// thread-safe: the driver set calls it under its own lock.
#include "v4l2/VideoDevice.h"

#include <linux/videodev2.h>

#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <vector>

namespace kelto::v4l2 {

struct FakeStation {
    std::uint32_t carrierHz = 0;
    std::uint16_t signal = 0xFFFF;                      // strength while tuned to it
    std::uint32_t soundChannels = V4L2_TUNER_SUB_MONO;  // V4L2_TUNER_SUB_* it broadcasts
};

class FakeBttvCard {
public:
    // Tuned within this distance of a carrier the station is received.
    static constexpr std::uint32_t kReceptionUnits = 2;
    static constexpr std::uint32_t kMaxBuffers = 32;

    struct Control {
        std::string name;
        std::uint32_t type = V4L2_CTRL_TYPE_INTEGER;
        std::int32_t minimum = 0, maximum = 65535, step = 256, defaultValue = 32768, value = 32768;
    };

    FakeBttvCard();

    // How the card is made (set before the first open).
    std::string path = "/dev/video0";
    std::string cardName = "BT878 video (KeltoTV test card)";
    bool hasTuner = true;
    bool hasAudioInputs = true;
    // A radio device (/dev/radioN) instead: only its FM tuner, in 62.5 Hz units; stations are FM
    // carriers, received within kRadioReceptionHz.
    bool radio = false;
    static constexpr std::uint32_t kRadioReceptionHz = 50'000;
    std::vector<FakeStation> stations;

    // The card is gone (true) or back (false).
    void vanish(bool gone = true) { gone_ = gone; }
    bool gone() const { return gone_; }

    // What the driver set did to it.
    std::uint32_t input = 0;
    v4l2_std_id standard = V4L2_STD_NTSC_M;
    std::uint32_t frequencyUnits = 0;             // 62.5 kHz (a radio device: 62.5 Hz)
    std::vector<std::uint32_t> frequencyLog;      // every VIDIOC_S_FREQUENCY
    std::uint32_t audioMode = V4L2_TUNER_MODE_STEREO;
    std::uint32_t audioInput = 0;
    std::map<std::uint32_t, Control> controls;   // by V4L2_CID_*
    std::int32_t control(std::uint32_t id) const { return controls.at(id).value; }
    int openCount = 0;

    // The tuner's view of the air.
    const FakeStation* receivedStation() const;
    std::uint16_t signal() const;

    // Streaming.
    v4l2_pix_format format{};
    bool streaming = false;
    std::uint32_t sequence = 0;  // pictures delivered since streaming began
    // Pictures due by now since streaming began.
    std::uint64_t picturesDue() const;
    // The colour bars every frame carries: red, green, blue (0..255) at column x of a picture
    // `width` wide: white, yellow, cyan, green, magenta, red, blue, black from left to right.
    static void barColour(std::uint32_t x, std::uint32_t width, std::uint8_t rgb[3]);

    // The device's answer to one request.
    int handle(unsigned long request, void* argument);
    void* map(std::size_t length, std::int64_t offset);
    int pollReady() const;
    // The device that requested the buffers was closed: streaming stops and the buffers go, as
    // the kernel does when their owner's file is closed.
    void dropBuffers();

private:
    struct Buffer {
        std::vector<std::uint8_t> bytes;
        std::uint32_t offset = 0;
        bool queued = false;
    };
    int setFormat(v4l2_format& f, bool apply);
    void fillPicture(Buffer& buffer) const;
    int dequeue(v4l2_buffer& b);

    bool gone_ = false;
    std::uint32_t streamStartTickMs_ = 0;
    std::vector<Buffer> buffers_;
    std::deque<std::uint32_t> queue_;
};

// Opens the devices of the given cards by their paths.
class FakeDeviceOpener final : public DeviceOpener {
public:
    explicit FakeDeviceOpener(std::vector<FakeBttvCard*> cards) : cards_(std::move(cards)) {}
    std::unique_ptr<VideoDevice> open(const std::string& path, int& error) override;
    std::vector<std::string> devicePaths(DeviceKind kind) override;

private:
    std::vector<FakeBttvCard*> cards_;
};

}  // namespace kelto::v4l2
