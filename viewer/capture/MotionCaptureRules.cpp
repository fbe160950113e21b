#include "viewer/capture/MotionCaptureRules.h"

#include "capture/NextCaptureFileName.h"

#include <algorithm>
#include <cstdio>
#include <system_error>

namespace kelto::viewer::capturesheet {

std::string& recordingFolder(ViewerSettings& settings) {
    switch (capture::recordingTypeFrom(settings.streamFormat)) {
    case capture::RecordingType::Mpeg1: return settings.mpg1Directory;
    case capture::RecordingType::Mpeg2: return settings.mpg2Directory;
    case capture::RecordingType::Avi: break;
    }
    return settings.aviDirectory;
}

std::string& recordingStem(ViewerSettings& settings) {
    switch (capture::recordingTypeFrom(settings.streamFormat)) {
    case capture::RecordingType::Mpeg1: return settings.mpg1FileName;
    case capture::RecordingType::Mpeg2: return settings.mpg2FileName;
    case capture::RecordingType::Avi: break;
    }
    return settings.aviFileName;
}

std::string nextRecordingFile(ViewerSettings& settings) {
    return capture::NextCaptureFileName(recordingFolder(settings), recordingStem(settings),
                                        capture::recordingTypeFrom(settings.streamFormat));
}

namespace {
std::string formatted(const char* format, int value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}
}  // namespace

std::string fileFormatSummaryText(const FileFormatSummary& s) {
    std::string text = "======================\r\n";
    text += "  SAVE FILE FORMAT\r\n";
    text += "======================\r\n";
    char size[64];
    std::snprintf(size, sizeof size, "Capture Size : %d * %d\n\r", s.width, s.height);
    text += size;
    text += formatted("Frame Rate : %dfps\n\r", s.setup.frameRate);
    text += formatted("Time Limit : %dsec\n\r", s.setup.limitFlag != 0 ? s.setup.limitSeconds : 0);
    text += s.audio.channels == 1 ? "Channels : Mono\n\r" : "Channels : Stereo\n\r";
    text += formatted("Bits Per Sample : %dbit\n\r", s.audio.bitsPerSample);
    text += formatted("Sample Rate : %dkhz\n\r", s.audio.samplesPerSec / 1000);
    return text;
}

AudioFormatIndexes audioFormatIndexes(const capture::AudioFormatValues& format) {
    return {std::clamp(format.bitsPerSample / 16, 0, 1), std::clamp(format.channels - 1, 0, 1),
            std::clamp(format.samplesPerSec / 22050, 0, 2)};
}

capture::AudioFormatValues audioFormatFromIndexes(const AudioFormatIndexes& indexes) {
    capture::AudioFormatValues format;
    format.channels = indexes.channels + 1;
    format.bitsPerSample = (indexes.sampleSize + 1) * 8;
    format.samplesPerSec = indexes.rate == 2 ? 44100 : (indexes.rate + 1) * 11025;
    return format;
}

RecordingLimits recordingLimitsFrom(const capture::RecordingSetupValues& setup) {
    RecordingLimits limits;
    limits.frameRate = setup.frameRate;
    limits.limitOn = setup.limitFlag != 0;
    limits.minutes = setup.limitSeconds / 60;
    limits.seconds = setup.limitSeconds % 60;
    limits.audio = setup.audioFlag != 0;
    return limits;
}

capture::RecordingSetupValues recordingSetupFrom(const RecordingLimits& limits) {
    return {limits.frameRate, limits.limitOn ? 1 : 0, limits.minutes * 60 + limits.seconds, limits.audio ? 1 : 0};
}

LimitsCheck checkRecordingLimits(const RecordingLimits& limits) {
    if (limits.frameRate < kLowestFrameRate || limits.frameRate > kHighestFrameRate) return LimitsCheck::BadFrameRate;
    if (limits.limitOn) {
        const long long total = static_cast<long long>(limits.minutes) * 60 + limits.seconds;
        if (total < 1 || total > kLongestLimitSeconds) return LimitsCheck::BadTimeLimit;
    }
    return LimitsCheck::Accepted;
}

RecordingLimits correctedLimits(const RecordingLimits& limits, LimitsCheck refusal) {
    RecordingLimits corrected = limits;
    if (refusal == LimitsCheck::BadFrameRate) corrected.frameRate = kFrameRateAfterError;
    if (refusal == LimitsCheck::BadTimeLimit) {
        corrected.minutes = kMinutesAfterError;
        corrected.seconds = kSecondsAfterError;
    }
    return corrected;
}

}  // namespace kelto::viewer::capturesheet
