#pragma once
// The library's return codes (see RuroriziApi.h).
namespace kelto::rurorizi {

constexpr int kSuccess = 0;
constexpr int kNotServed = -2;
constexpr int kValueOutOfRange = -3;
constexpr int kNoLock = -4;
constexpr int kNotTunerSource = -5;
constexpr int kVideoDriverFailed = -253;
constexpr int kAudioRouteFailed = -254;
constexpr int kTunerI2cFailed = -255;
constexpr int kNotBt878 = -257;
constexpr int kRadioI2cFailed = -258;
// SetAudioParam's answer for a code it does not serve or an unbound audio command library.
constexpr int kAudioNotServed = 1;
// The radio mute's answer when the audio command library refuses.
constexpr int kRadioMuteFailed = -1;

// What the video driver and audio command functions answer for done.
constexpr int kDriverDone = 0;
inline bool driverOk(int result) { return result == kDriverDone; }

}  // namespace kelto::rurorizi
