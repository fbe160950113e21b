// The handlers of SetTVParam and GetTVParam: video source, channel, picture controls, TV audio,
// sound format record and country code.
#include "rurorizi/AudioRouting.h"
#include "rurorizi/CallerBuffers.h"
#include "rurorizi/DispatchTables.h"
#include "rurorizi/DynLink.h"
#include "rurorizi/ModuleState.h"
#include "rurorizi/ReturnCodes.h"
#include "rurorizi/SoundDecoder.h"
#include "rurorizi/TvSource.h"

#include <cstdio>

namespace kelto::rurorizi {

namespace {

constexpr int kHighestPictureValue = 255;
constexpr int kHighestAudioValue = 255;

// Decoder inputs of the video driver.
constexpr int kInputSVideo = 1;
constexpr int kInputTuner = 2;
constexpr int kInputComposite = 3;

int setVideoSource(int source) {
    int input = 0;
    switch (source) {
    case kSourceComposite:
    case kSourceCompositeAlt: input = kInputComposite; break;
    case kSourceSVideo: input = kInputSVideo; break;
    case kSourceCableTuner:
    case kSourceBroadcastTuner: input = kInputTuner; break;
    default: return kValueOutOfRange;
    }
    if (!driverOk(dynLink::Bt848SetVideoSource(input))) return kVideoDriverFailed;
    ModuleState& state = moduleState();
    state.videoSource = source;
    state.audioRoute = isTunerSource(source) ? static_cast<int>(AudioRoute::Tuner)
                                             : static_cast<int>(AudioRoute::ExternalInput);
    return dactl::setAudioRoute(state.audioRoute);
}

int setChannel(int channel) {
    const int source = currentVideoSource();
    if (!isTunerSource(source)) return kNotTunerSource;
    const int plan = source == kSourceBroadcastTuner ? static_cast<int>(PlanKind::Broadcast)
                                                     : static_cast<int>(PlanKind::Cable);
    return moduleState().tuner->SetChannel(channel, plan);
}

template <int (*DriverSet)(int)>
int setPicture(int value) {
    if (value < 0 || value > kHighestPictureValue) return kValueOutOfRange;
    return driverOk(DriverSet(value)) ? kSuccess : kVideoDriverFailed;
}

template <int (*DriverGet)(std::int32_t*)>
int getPicture() {
    std::int32_t value = 0;
    return driverOk(DriverGet(&value)) ? value : kVideoDriverFailed;
}

int setAudioOn(int value) {
    if (value < 0 || value > kHighestAudioValue) return kValueOutOfRange;
    return dactl::mute(value);
}

int copyTvSoundFormat(int address) {
    // The decoder set-up runs even when an int cannot carry the caller's whole address: the
    // caller relies on it, and only the copy needs the buffer.
    dactl::setUpSoundDecoder();
    if (!callerAddressUsable(address)) return kValueOutOfRange;
    copyToCallerAddress(address, &callerBuffers().tvSound, sizeof(SoundFormatInfo));
    return kSuccess;
}

int noOperation(int) { return kSuccess; }

int getVideoSource() { return currentVideoSource(); }

int getChannel() {
    if (!isTunerSource(currentVideoSource())) return kNotTunerSource;
    return moduleState().tuner->GetChannel();
}

int getAudioOn() { return dactl::audioState(); }

int getTvSoundFormat() {
    dactl::setUpSoundDecoder();
    return addressResult(&callerBuffers().tvSound);
}

int getSoundDecoderStatus() { return dactl::soundDecoderStatus(); }

int getCountryCode() { return static_cast<int>(moduleState().country.resolve()); }

int getChannelText() {
    if (!isTunerSource(currentVideoSource())) return kNotTunerSource;
    char* text = callerBuffers().channelText;
    std::snprintf(text, kChannelTextChars, "%d", moduleState().tuner->GetChannel());
    return addressResult(text);
}

}  // namespace

int setCountryCode(int country) {
    moduleState().country.set(static_cast<std::uint32_t>(country));
    dactl::setUpSoundDecoder();
    callerBuffers().tvSound.status = -2;
    return kSuccess;
}

const std::array<SetHandler, kTvCodeCount> kSetTvHandlers = {
    nullptr,                                     // 0
    setVideoSource,                              // 1
    setChannel,                                  // 2
    setPicture<dynLink::Bt848SetBrightness>,     // 3
    setPicture<dynLink::Bt848SetContrast>,       // 4
    setPicture<dynLink::Bt848SetHue>,            // 5
    setPicture<dynLink::Bt848SetSaturation>,     // 6
    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,  // 7..15
    setAudioOn,                                  // 16
    copyTvSoundFormat,                           // 17
    noOperation,                                 // 18
    setCountryCode,                              // 19
    nullptr,                                     // 20
};

const std::array<GetHandler, kTvCodeCount> kGetTvHandlers = {
    nullptr,                                     // 0
    getVideoSource,                              // 1
    getChannel,                                  // 2
    getPicture<dynLink::Bt848GetBrightness>,     // 3
    getPicture<dynLink::Bt848GetContrast>,       // 4
    getPicture<dynLink::Bt848GetHue>,            // 5
    getPicture<dynLink::Bt848GetSaturation>,     // 6
    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,  // 7..15
    getAudioOn,                                  // 16
    getTvSoundFormat,                            // 17
    getSoundDecoderStatus,                       // 18
    getCountryCode,                              // 19
    getChannelText,                              // 20
};

}  // namespace kelto::rurorizi
