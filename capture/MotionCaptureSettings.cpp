#include "capture/MotionCaptureSettings.h"

#include "settings/ViewerSettings.h"
#include "platform/Trace.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace kelto::capture {

namespace {
// A reported record size beyond this is not believed.
constexpr int kLargestAudioRecordBytes = 4096;
}

std::optional<AudioFormatValues> GetAudioFormat(CCaptureWindow& window, const SettingsStore& store) {
    const int size = window.GetAudioFormatSize();
    if (size <= 0 || size > kLargestAudioRecordBytes) return std::nullopt;
    std::vector<std::byte> buffer(std::max<std::size_t>(std::size_t(size), sizeof(WaveFormat)));
    if (window.GetAudioFormat(std::span(buffer).first(std::size_t(size))) <= 0) return std::nullopt;
    WaveFormat format;
    std::memcpy(&format, buffer.data(), sizeof format);
    AudioFormatValues values;
    values.channels = store.readInt(section::kUser, "nChannel", format.channels);
    values.bitsPerSample = store.readInt(section::kUser, "wSample", format.bitsPerSample);
    values.samplesPerSec = store.readInt(section::kUser, "dwFrequency", int(format.samplesPerSec));
    return values;
}

void SetAudioFormat(CCaptureWindow& window, SettingsStore& store, const AudioFormatValues& values) {
    const int size = window.GetAudioFormatSize();
    if (size <= 0 || size > kLargestAudioRecordBytes) return;
    const WaveFormat format = makePcmWaveFormat(std::uint16_t(values.channels), std::uint16_t(values.bitsPerSample),
                                                std::uint32_t(values.samplesPerSec));
    std::vector<std::byte> buffer(std::max<std::size_t>(std::size_t(size), sizeof format));
    std::memcpy(buffer.data(), &format, sizeof format);
    window.SetAudioFormat(std::span<const std::byte>(buffer).first(std::size_t(size)));
    store.writeInt(section::kUser, "nChannel", values.channels);
    store.writeInt(section::kUser, "wSample", values.bitsPerSample);
    store.writeInt(section::kUser, "dwFrequency", values.samplesPerSec);
}

std::optional<RecordingSetupValues> GetRecordingSetup(CCaptureWindow& window, const SettingsStore& store) {
    CaptureSequenceSetup setup;
    if (!window.GetSequenceSetup(setup)) return std::nullopt;
    RecordingSetupValues values;
    values.frameRate = store.readInt(section::kUser, "framerate", frameRateFromPeriodUs(setup.requestMicroSecPerFrame));
    values.limitFlag = store.readInt(section::kUser, "timelimitcheck", setup.limitEnabled);
    values.limitSeconds = store.readInt(section::kUser, "totalsecond", int(setup.timeLimitSeconds));
    values.audioFlag = store.readInt(section::kUser, "captureaudio", setup.captureAudio);
    return values;
}

void SetRecordingSetup(CCaptureWindow& window, SettingsStore& store, const RecordingSetupValues& values) {
    platform::debugOutput("test 1\r\n");
    CaptureSequenceSetup setup;
    window.GetSequenceSetup(setup);
    platform::debugOutput("test 2\r\n");
    setup.requestMicroSecPerFrame = framePeriodUsFromRate(values.frameRate);
    setup.limitEnabled = values.limitFlag;
    setup.timeLimitSeconds = std::uint32_t(std::max(values.limitSeconds, 0));
    setup.captureAudio = values.audioFlag;
    setup.streamMaster = values.audioFlag ? kStreamMasterNone : kStreamMasterAudio;
    platform::debugOutput("test 3\r\n");
    window.SetSequenceSetup(setup);
    platform::debugOutput("test 4\r\n");
    store.writeInt(section::kUser, "framerate", values.frameRate);
    store.writeInt(section::kUser, "timelimitcheck", values.limitFlag);
    store.writeInt(section::kUser, "totalsecond", values.limitSeconds);
    store.writeInt(section::kUser, "captureaudio", values.audioFlag);
}

}  // namespace kelto::capture
