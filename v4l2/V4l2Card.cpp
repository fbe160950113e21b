#include "v4l2/V4l2Card.h"

#include "v4l2/FakeBttvDevice.h"

#include "platform/SystemInfo.h"
#include "platform/Text.h"
#include "platform/Trace.h"

#include <linux/videodev2.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace kelto::v4l2 {

namespace {

constexpr std::uint16_t kRadioWords[] = {0x8EA1, 0xCEAC, 0x8EAC, 0x8EA5, 0x8EAD, 0xC605, 0x8605};
constexpr std::uint16_t kRadioFineCheckWord = 0x8EAD;
constexpr std::uint8_t kPhilipsAddress = 0xC0;
constexpr std::size_t kMaxInputs = 16;
// Level 0 at full strength; each level below is another eighth of the range lost.
constexpr int kLevelShift = 13;
constexpr std::uint8_t kNoSignalStatus = 0x07;

bool nameHas(const std::string& name, std::initializer_list<const char*> parts) {
    const std::string lower = platform::toLowerAscii(name);
    return std::any_of(parts.begin(), parts.end(), [&](const char* part) { return lower.find(part) != std::string::npos; });
}

bool isSVideo(const std::string& name) { return nameHas(name, {"s-video", "svideo", "s video", "svhs"}); }

std::string fieldText(const std::uint8_t* field, std::size_t size) {
    return std::string(reinterpret_cast<const char*>(field), strnlen(reinterpret_cast<const char*>(field), size));
}

}  // namespace

// ---- Software I2C lines ----

void SoftwareI2cLines::start() {
    phase_ = Phase::Address;
    bits_ = 0;
    shift_ = 0;
    acknowledged_ = false;
    ackClock_ = false;
    scl_ = false;
    sda_ = false;
}

void SoftwareI2cLines::stop() {
    phase_ = Phase::Idle;
    ackClock_ = false;
    scl_ = true;
    sda_ = true;
}

void SoftwareI2cLines::setScl(bool high, const std::function<bool(std::uint8_t)>& answers) {
    const bool rising = high && !scl_;
    const bool falling = !high && scl_;
    scl_ = high;
    if (falling) ackClock_ = false;
    if (!rising) return;
    if (phase_ == Phase::Address) {
        shift_ = std::uint8_t((shift_ << 1) | (sda_ ? 1 : 0));
        if (++bits_ == 8) phase_ = Phase::Acknowledge;
    } else if (phase_ == Phase::Acknowledge) {
        acknowledged_ = answers(std::uint8_t(shift_ & 0xFE));
        ackClock_ = true;
        phase_ = Phase::Data;
    }
}

bool SoftwareI2cLines::sda() const { return ackClock_ && acknowledged_ ? false : sda_; }

// ---- The card ----

V4l2Card::V4l2Card(V4l2CardConfig config, DeviceOpener& opener) : config_(std::move(config)), opener_(opener) {}

V4l2Card::~V4l2Card() = default;

int V4l2Card::call(unsigned long request, void* argument) {
    if (!device_) return -ENODEV;
    const int r = device_->ioctl(request, argument);
    if (r == -ENODEV) {
        platform::tracef("video card %s: the device is gone", config_.devicePath.c_str());
        device_.reset();
    }
    return r;
}

bool V4l2Card::ready() {
    if (device_) return true;
    int error = 0;
    device_ = opener_.open(config_.devicePath, error);
    if (!device_) {
        if (error != lastOpenError_)
            platform::tracef("video card %s cannot be opened: %s", config_.devicePath.c_str(), std::strerror(error));
        lastOpenError_ = error;
        return false;
    }
    lastOpenError_ = 0;
    learnDevice();
    return device_ != nullptr;
}

void V4l2Card::learnDevice() {
    v4l2_capability caps{};
    if (call(VIDIOC_QUERYCAP, &caps) == 0) bt878_ = !nameHas(fieldText(caps.card, sizeof caps.card), {"bt848"});
    inputs_.clear();
    tuner_ = false;
    for (std::uint32_t i = 0; i < kMaxInputs; ++i) {
        v4l2_input input{};
        input.index = i;
        if (call(VIDIOC_ENUMINPUT, &input) != 0) break;
        const bool isTuner = input.type == V4L2_INPUT_TYPE_TUNER;
        inputs_.push_back({i, fieldText(input.name, sizeof input.name), isTuner});
        tuner_ = tuner_ || isTuner;
    }
    if (tuner_) {
        v4l2_tuner t{};
        tuner_ = call(VIDIOC_G_TUNER, &t) == 0;
    }
    audioInputs_.clear();
    for (std::uint32_t i = 0; i < kMaxInputs; ++i) {
        v4l2_audio audio{};
        audio.index = i;
        if (call(VIDIOC_ENUMAUDIO, &audio) != 0) break;
        audioInputs_.push_back({i, fieldText(audio.name, sizeof audio.name)});
    }
    const std::uint32_t ifHz =
        config_.intermediateFrequencyHz.value_or(countryIntermediateFrequencyHz(platform::userCountryCode()));
    ifUnits_ = std::uint32_t((std::uint64_t(ifHz) * 16 + 500'000) / 1'000'000);
    appliedAudioMode_.reset();
}

bool V4l2Card::isBt878() {
    ready();
    return bt878_;
}

bool V4l2Card::hasTuner() { return ready() && tuner_; }

std::uint32_t V4l2Card::intermediateFrequencyUnits() {
    ready();
    return ifUnits_;
}

// ---- Inputs and picture ----

bool V4l2Card::selectSource(int source) {
    if (!ready()) return false;
    const InputInfo* chosen = nullptr;
    auto first = [&](auto&& matches) {
        for (const InputInfo& input : inputs_)
            if (matches(input)) return &input;
        return static_cast<const InputInfo*>(nullptr);
    };
    switch (VideoSource(source)) {
    case VideoSource::Tuner: chosen = first([](const InputInfo& i) { return i.tuner; }); break;
    case VideoSource::SVideo: chosen = first([](const InputInfo& i) { return !i.tuner && isSVideo(i.name); }); break;
    case VideoSource::Composite:
        chosen = first([](const InputInfo& i) { return !i.tuner && nameHas(i.name, {"composite"}); });
        if (!chosen) chosen = first([](const InputInfo& i) { return !i.tuner && !isSVideo(i.name); });
        break;
    default: return false;
    }
    if (!chosen) return false;
    int index = int(chosen->index);
    return call(VIDIOC_S_INPUT, &index) == 0;
}

bool V4l2Card::currentSource(std::int32_t& source) {
    if (!ready()) return false;
    int index = 0;
    if (call(VIDIOC_G_INPUT, &index) != 0) return false;
    for (const InputInfo& input : inputs_)
        if (int(input.index) == index) {
            source = std::int32_t(input.tuner ? VideoSource::Tuner
                                  : isSVideo(input.name) ? VideoSource::SVideo
                                                         : VideoSource::Composite);
            return true;
        }
    return false;
}

bool V4l2Card::setPicture(std::uint32_t controlId, int value) {
    if (value < 0 || value > 255 || !ready()) return false;
    v4l2_queryctrl range{};
    range.id = controlId;
    if (call(VIDIOC_QUERYCTRL, &range) != 0 || range.maximum <= range.minimum) return false;
    // The chip's 256 steps spread evenly over the range: 128 lands in the middle, and on bttv's
    // 0..65535 each step is one of the driver's 256.
    const std::int64_t steps = std::int64_t(range.maximum) - range.minimum + 1;
    v4l2_control control{controlId, std::int32_t(range.minimum + value * steps / 256)};
    return call(VIDIOC_S_CTRL, &control) == 0;
}

bool V4l2Card::picture(std::uint32_t controlId, std::int32_t& value) {
    if (!ready()) return false;
    v4l2_queryctrl range{};
    range.id = controlId;
    v4l2_control control{controlId, 0};
    if (call(VIDIOC_QUERYCTRL, &range) != 0 || range.maximum <= range.minimum || call(VIDIOC_G_CTRL, &control) != 0)
        return false;
    const std::int64_t steps = std::int64_t(range.maximum) - range.minimum + 1;
    const std::int64_t offset = std::clamp<std::int64_t>(std::int64_t(control.value) - range.minimum, 0, steps - 1);
    value = std::int32_t(std::min<std::int64_t>(255, (offset * 256 + steps / 2) / steps));
    return true;
}

// ---- I2C ----

bool V4l2Card::i2cAnswers(std::uint8_t address) {
    address &= 0xFE;
    return hasTuner() && (address == config_.tunerAddress || address == kSoundDecoderAddress);
}

bool V4l2Card::takeTunerWords(std::span<const std::uint8_t> bytes) {
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const std::uint16_t word = std::uint16_t(bytes[i] << 8 | bytes[i + 1]);
        const bool wasRadio = radioMode_;
        if (word & 0x8000) {
            controlWord_ = word;
            radioMode_ = std::find(std::begin(kRadioWords), std::end(kRadioWords), word) != std::end(kRadioWords);
            if (!(wasRadio && !radioMode_)) continue;
        } else {
            divider_ = word;
        }
        if (radioMode_) {
            if (!(word & 0x8000) && !tuneRadio(word)) return false;
            continue;
        }
        // A divider at or below the intermediate frequency tunes below the band: nothing to ask.
        if (divider_ <= ifUnits_) continue;
        v4l2_frequency frequency{};
        frequency.tuner = 0;
        frequency.type = V4L2_TUNER_ANALOG_TV;
        frequency.frequency = divider_ - ifUnits_;
        if (call(VIDIOC_S_FREQUENCY, &frequency) != 0) return false;
    }
    return true;
}

bool V4l2Card::i2cWrite(std::uint8_t address, std::span<const std::uint8_t> bytes) {
    if (!i2cAnswers(address)) return false;
    if ((address & 0xFE) == config_.tunerAddress) return takeTunerWords(bytes);
    if (bytes.empty()) return true;
    decoderPointer_ = bytes[0];
    for (std::size_t i = 1; i < bytes.size(); ++i) {
        if (decoderPointer_ < kSoundDecoderRegisters) decoderRegisters_[decoderPointer_] = bytes[i];
        ++decoderPointer_;
    }
    return true;
}

bool V4l2Card::radioReady() {
    if (radio_) return true;
    if (config_.radioDevicePath.empty()) return false;
    int error = 0;
    radio_ = opener_.open(config_.radioDevicePath, error);
    if (!radio_) return false;
    v4l2_tuner t{};
    if (radio_->ioctl(VIDIOC_G_TUNER, &t) != 0 || t.type != V4L2_TUNER_RADIO) {
        platform::tracef("radio %s has no FM tuner", config_.radioDevicePath.c_str());
        radio_.reset();
        return false;
    }
    radioLowUnits_ = (t.capability & V4L2_TUNER_CAP_LOW) != 0;
    return true;
}

bool V4l2Card::tuneRadio(std::uint16_t divider) {
    // Without a radio device the words are taken and nothing is received.
    if (!radioReady()) return true;
    const std::int64_t hz = config_.tunerAddress == kPhilipsAddress ? std::int64_t(divider) * 62'500 - 10'700'000
                                                                      : (std::int64_t(divider) - 1320) * 31'250;
    if (hz <= 0) return true;
    v4l2_frequency frequency{};
    frequency.tuner = 0;
    frequency.type = V4L2_TUNER_RADIO;
    frequency.frequency = std::uint32_t(radioLowUnits_ ? hz * 2 / 125 : hz / 62'500);
    const int r = radio_->ioctl(VIDIOC_S_FREQUENCY, &frequency);
    if (r == -ENODEV) radio_.reset();
    return r == 0;
}

std::uint8_t V4l2Card::radioStatus() {
    v4l2_tuner t{};
    if (!radioReady() || radio_->ioctl(VIDIOC_G_TUNER, &t) != 0 || t.signal <= 0) return 0;
    if (controlWord_ == kRadioFineCheckWord) return kLockBit | 2;
    if (config_.tunerAddress != kPhilipsAddress) return kLockBit | (t.afc < 0 ? 4 : 1);
    return std::uint8_t(kLockBit | (std::min(t.signal, 0xFFFF) >> kLevelShift));
}

std::uint8_t V4l2Card::tunerStatus() {
    if (radioMode_) return radioStatus();
    v4l2_tuner t{};
    if (call(VIDIOC_G_TUNER, &t) != 0 || t.signal <= 0) return kNoSignalStatus;
    followSoundChannels(t.rxsubchans);
    return std::uint8_t(kLockBit | ((0xFFFF - std::min(t.signal, 0xFFFF)) >> kLevelShift));
}

void V4l2Card::followSoundChannels(std::uint32_t received) {
    // What a receiver plays of what it hears: the first language of a bilingual programme.
    const std::uint32_t wanted = (received & V4L2_TUNER_SUB_LANG2)    ? V4L2_TUNER_MODE_LANG1
                                 : (received & V4L2_TUNER_SUB_STEREO) ? V4L2_TUNER_MODE_STEREO
                                                                      : V4L2_TUNER_MODE_MONO;
    if (appliedAudioMode_ == wanted) return;
    v4l2_tuner t{};
    if (call(VIDIOC_G_TUNER, &t) != 0) return;
    t.audmode = wanted;
    if (call(VIDIOC_S_TUNER, &t) == 0) appliedAudioMode_ = wanted;
}

std::array<std::uint8_t, 3> V4l2Card::soundDecoderStatus() {
    v4l2_tuner t{};
    if (call(VIDIOC_G_TUNER, &t) != 0 || t.signal <= 0) return {0, 0, 0};
    return {std::uint8_t(((t.rxsubchans & V4L2_TUNER_SUB_STEREO) ? 0x01 : 0) | ((t.rxsubchans & V4L2_TUNER_SUB_LANG2) ? 0x02 : 0)),
            0, 0};
}

bool V4l2Card::i2cRead(std::uint8_t address, std::span<std::uint8_t> bytes) {
    if (!i2cAnswers(address)) return false;
    if ((address & 0xFE) == config_.tunerAddress) {
        const std::uint8_t status = tunerStatus();
        if (!device_) return false;
        std::fill(bytes.begin(), bytes.end(), status);
        return true;
    }
    const auto status = soundDecoderStatus();
    if (!device_) return false;
    for (std::uint8_t& byte : bytes) {
        byte = decoderPointer_ < status.size() ? status[decoderPointer_] : 0;
        ++decoderPointer_;
    }
    return true;
}

bool V4l2Card::i2cReadFrom(std::uint8_t address, std::uint8_t subaddress, std::span<std::uint8_t> bytes) {
    if ((address & 0xFE) == kSoundDecoderAddress) decoderPointer_ = subaddress;
    return i2cRead(address, bytes);
}

// ---- GPIO and the sound route ----

bool V4l2Card::setGpioDataBits(int lowBit, int highBit, std::uint32_t value) {
    if (lowBit < 0 || highBit > 23 || lowBit > highBit) return false;
    const std::uint32_t mask = ((1u << (highBit - lowBit + 1)) - 1) << lowBit;
    const std::uint32_t data = (gpio_.data & ~mask) | ((value << lowBit) & mask);
    if (lowBit <= 1 && !applySoundRoute(data & 3)) return false;
    gpio_.data = data;
    return true;
}

bool V4l2Card::gpioDataBits(int lowBit, int highBit, std::uint32_t& value) const {
    if (lowBit < 0 || highBit > 23 || lowBit > highBit) return false;
    value = (gpio_.data >> lowBit) & ((1u << (highBit - lowBit + 1)) - 1);
    return true;
}

std::optional<std::uint32_t> V4l2Card::audioInputFor(std::uint32_t route) const {
    if (audioInputs_.empty()) return std::nullopt;
    const AudioInputInfo* tunerInput = nullptr;
    std::vector<const AudioInputInfo*> others;
    for (const AudioInputInfo& input : audioInputs_) {
        if (!tunerInput && nameHas(input.name, {"tele", "tuner", "tv"})) tunerInput = &input;
        else others.push_back(&input);
    }
    if (route == 1) return tunerInput ? tunerInput->index : audioInputs_.front().index;
    if (others.empty()) return audioInputs_.front().index;
    return route == 2 && others.size() > 1 ? others[1]->index : others[0]->index;
}

bool V4l2Card::applySoundRoute(std::uint32_t route) {
    if (!ready()) return false;
    v4l2_queryctrl mute{};
    mute.id = V4L2_CID_AUDIO_MUTE;
    const bool hasMute = call(VIDIOC_QUERYCTRL, &mute) == 0;
    if (route == 3) {
        v4l2_control on{V4L2_CID_AUDIO_MUTE, 1};
        return hasMute && call(VIDIOC_S_CTRL, &on) == 0;
    }
    if (const auto input = audioInputFor(route)) {
        v4l2_audio audio{};
        audio.index = *input;
        if (call(VIDIOC_S_AUDIO, &audio) != 0) return false;
    }
    v4l2_control off{V4L2_CID_AUDIO_MUTE, 0};
    return !hasMute || call(VIDIOC_S_CTRL, &off) == 0;
}

// ---- The process's card ----

std::uint8_t* V4l2Card::registerBlock() {
    alignas(4) static std::uint8_t block[kRegisterBlockBytes] = {};
    return block;
}

namespace {

std::recursive_mutex cardMutex;

// The in-memory card, for trying the whole set without a card: stations on channels 2, 7 and 14
// of the United States plan and E2, E9 and 22 of the European one.
DeviceOpener& openerFor(const V4l2CardConfig& config) {
    if (config.devicePath != kInMemoryDevicePath) return systemDeviceOpener();
    static auto* card = [] {
        auto* made = new FakeBttvCard;
        made->path = kInMemoryDevicePath;
        for (const std::uint32_t carrierHz : {55'250'000u, 175'250'000u, 471'250'000u, 48'250'000u, 203'250'000u, 479'250'000u})
            made->stations.push_back({carrierHz, 0xFFFF, V4L2_TUNER_SUB_STEREO});
        return made;
    }();
    static auto* opener = new FakeDeviceOpener({card});
    return *opener;
}
std::unique_ptr<V4l2Card>& cardSlot() {
    static auto* slot = new std::unique_ptr<V4l2Card>;
    return *slot;
}

}  // namespace

CardLock::CardLock() : lock_(cardMutex) {
    auto& slot = cardSlot();
    if (!slot) {
        const V4l2CardConfig config = readV4l2CardConfig(cardFilePath());
        slot = std::make_unique<V4l2Card>(config, openerFor(config));
    }
    card_ = slot.get();
}

CardLock::~CardLock() = default;

namespace test {

void useCard(const V4l2CardConfig& config, DeviceOpener& opener) {
    std::lock_guard lock(cardMutex);
    cardSlot() = std::make_unique<V4l2Card>(config, opener);
}

void resetCard() {
    std::lock_guard lock(cardMutex);
    cardSlot().reset();
}

}  // namespace test

}  // namespace kelto::v4l2
