#pragma once
// The card behind a Video4Linux2 device, as the video driver library's exports present it: the
// chip's inputs, picture controls and freeze; an I2C bus on which the tuner (at the address the
// card file names) and a sound decoder of type 1 (0xB0) answer; GPIO pins kept in memory, whose
// data bits 0 and 1 carry the sound route; a register block that is plain memory.
//
// - Tuner: words written to the tuner's address are taken as a PLL tuner takes them (top bit
//   clear: the divider in 62.5 kHz steps over the oscillator; set: a control word). A divider
//   becomes VIDIOC_S_FREQUENCY of divider - intermediate frequency x 16, the vision carrier in
//   the driver's 62.5 kHz units. The status byte answers from VIDIOC_G_TUNER: bit 0x40 while
//   the driver reports a signal, bits 0..2 a level from its strength (0 full, 3 at half strength,
//   up to 7 for the faintest), so a usable lock (level below 4) needs at least half strength.
//   Radio control words put the tuner in radio mode: dividers then tune the card's radio device
//   (the FM carrier: Philips divider x 62.5 kHz - 10.7 MHz, Alps and LG Alps (divider - 1320) x
//   31.25 kHz), and the status answers from its signal as each radio word asks: the AFC word
//   0x8EAD reads 2 (on the carrier), the Alps words 1 or 4 (the carrier just below or above, by
//   the driver's AFC), the others a field strength 0..7 from the signal. Without a radio device
//   nothing is received.
// - Sound decoder: its registers are kept; its status bytes say what the tuner hears (b0 bit 0
//   stereo, bit 1 a second language), and the tuner's audio mode follows it.
// - Sound route (GPIO data bits 0..1): 3 mutes (V4L2_CID_AUDIO_MUTE), 1 plays the tuner's audio
//   input, 0 and 2 the first and second other audio inputs, each unmuted; without audio inputs
//   the sound follows the video input and only the mute is set.
//
// One card per process (CardLock); every export takes the lock for its whole run. The device is
// opened on first use; a device that fails with ENODEV is dropped with a trace line and opened
// again at the next use, so a card that comes back works again.
#include "v4l2/V4l2CardConfig.h"
#include "v4l2/VideoDevice.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace kelto::v4l2 {

// The video sources of the driver library's interface.
enum class VideoSource { SVideo = 1, Tuner = 2, Composite = 3 };

struct InputInfo {
    std::uint32_t index = 0;
    std::string name;
    bool tuner = false;
};

struct AudioInputInfo {
    std::uint32_t index = 0;
    std::string name;
};

struct GpioWords {
    static constexpr std::uint32_t kPinMask = 0xFFFFFF;
    std::uint32_t mode = 0, clockMode = 0, writeEnableControl = 0, interruptInput = 0, interruptControl = 0;
    std::uint32_t outputEnable = 0, inputEnable = 0, data = 0;
};

// Lines of the software I2C mode, enough for an address probe: after a start, eight clocked bits
// make an address byte; the ninth clock reads the acknowledge of the device there.
class SoftwareI2cLines {
public:
    void start();
    void stop();
    void setScl(bool high, const std::function<bool(std::uint8_t)>& answers);
    void setSda(bool high) { sda_ = high; }
    bool scl() const { return scl_; }
    bool sda() const;
    // The address byte of the current transfer, once whole; whether its device answered.
    bool acknowledged() const { return acknowledged_; }
    std::uint8_t address() const { return std::uint8_t(shift_ & 0xFE); }

private:
    enum class Phase { Idle, Address, Acknowledge, Data };
    Phase phase_ = Phase::Idle;
    bool scl_ = true, sda_ = true, acknowledged_ = false, ackClock_ = false;
    int bits_ = 0;
    std::uint8_t shift_ = 0;
};

class V4l2Card {
public:
    static constexpr std::uint8_t kSoundDecoderAddress = 0xB0;
    static constexpr std::uint8_t kLockBit = 0x40;
    static constexpr std::size_t kRegisterBlockBytes = 4096;
    static constexpr std::size_t kSoundDecoderRegisters = 24;

    V4l2Card(V4l2CardConfig config, DeviceOpener& opener);
    ~V4l2Card();

    const V4l2CardConfig& config() const { return config_; }
    DeviceOpener& opener() { return opener_; }
    // Opens the device when it is not open; false when it cannot be had now.
    bool ready();
    bool isBt878();
    bool hasTuner();
    std::uint32_t intermediateFrequencyUnits();

    bool selectSource(int source);
    bool currentSource(std::int32_t& source);
    // Picture controls by V4L2_CID_*, 0..255 on this side (128 neutral), spread evenly over the
    // control's range (on bttv's 0..65535: value x 256).
    bool setPicture(std::uint32_t controlId, int value);
    bool picture(std::uint32_t controlId, std::int32_t& value);

    // Hardware-mode I2C: false when nobody acknowledges or the device refuses.
    bool i2cWrite(std::uint8_t address, std::span<const std::uint8_t> bytes);
    bool i2cRead(std::uint8_t address, std::span<std::uint8_t> bytes);
    bool i2cReadFrom(std::uint8_t address, std::uint8_t subaddress, std::span<std::uint8_t> bytes);
    // Whether a device answers at the address.
    bool i2cAnswers(std::uint8_t address);
    SoftwareI2cLines& softwareLines() { return lines_; }
    std::uint8_t tunerStatus();

    GpioWords& gpio() { return gpio_; }
    // Writes GPIO data bits lowBit..highBit; touching bits 0..1 sets the sound route. False (data
    // unchanged) for a bad range or a route the device refuses.
    bool setGpioDataBits(int lowBit, int highBit, std::uint32_t value);
    bool gpioDataBits(int lowBit, int highBit, std::uint32_t& value) const;

    // The register block: process-wide memory, so its address outlives any card object.
    static std::uint8_t* registerBlock();

    // Freeze and caption settings, kept for the capture side.
    bool frozen = false;
    std::int32_t captionStatus = 0, captionAlert = 0;
    std::string captionFileName;

    // Seen from tests.
    bool radioMode() const { return radioMode_; }
    const std::array<std::uint8_t, kSoundDecoderRegisters>& soundDecoderRegisters() const { return decoderRegisters_; }

private:
    // One request; an ENODEV drops the device.
    int call(unsigned long request, void* argument);
    void learnDevice();
    bool takeTunerWords(std::span<const std::uint8_t> bytes);
    bool radioReady();
    bool tuneRadio(std::uint16_t divider);
    std::uint8_t radioStatus();
    bool applySoundRoute(std::uint32_t route);
    std::optional<std::uint32_t> audioInputFor(std::uint32_t route) const;
    std::array<std::uint8_t, 3> soundDecoderStatus();
    void followSoundChannels(std::uint32_t received);

    V4l2CardConfig config_;
    DeviceOpener& opener_;
    std::unique_ptr<VideoDevice> device_;
    std::unique_ptr<VideoDevice> radio_;
    bool radioLowUnits_ = false;
    int lastOpenError_ = 0;
    bool bt878_ = true;
    std::vector<InputInfo> inputs_;
    std::vector<AudioInputInfo> audioInputs_;
    bool tuner_ = false;
    std::uint32_t ifUnits_ = 0;
    std::optional<std::uint32_t> appliedAudioMode_;

    std::uint16_t divider_ = 0;
    std::uint16_t controlWord_ = 0;
    bool radioMode_ = false;
    std::array<std::uint8_t, kSoundDecoderRegisters> decoderRegisters_{};
    std::uint8_t decoderPointer_ = 0;
    SoftwareI2cLines lines_;
    GpioWords gpio_;
};

// The device path that names an in-memory bttv card (FakeBttvDevice.h) with a few stations.
inline constexpr const char* kInMemoryDevicePath = "memory:bttv";

// The process's card, made on first use from the card file over the system's devices (or the
// in-memory card).
class CardLock {
public:
    CardLock();
    ~CardLock();
    CardLock(const CardLock&) = delete;
    CardLock& operator=(const CardLock&) = delete;
    V4l2Card* operator->() const { return card_; }
    V4l2Card& operator*() const { return *card_; }

private:
    std::unique_lock<std::recursive_mutex> lock_;
    V4l2Card* card_;
};

namespace test {
// Replaces the process's card with one made from `config` over `opener` (which must outlive
// it); resetCard() goes back to the card file and the system's devices.
void useCard(const V4l2CardConfig& config, DeviceOpener& opener);
void resetCard();
}  // namespace test

}  // namespace kelto::v4l2
