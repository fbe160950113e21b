#include "capture/CaptureTypes.h"

namespace kelto::capture {

StillFileType stillFileTypeFrom(int value) { return value == 1 ? StillFileType::Jpg : StillFileType::Bmp; }

RecordingType recordingTypeFrom(int value) {
    if (value == 1) return RecordingType::Mpeg1;
    if (value == 2) return RecordingType::Mpeg2;
    return RecordingType::Avi;
}

std::uint32_t framePeriodUsFromRate(int framesPerSecond) {
    return 1'000'000u / std::uint32_t(framesPerSecond < 1 ? 1 : framesPerSecond);
}

int frameRateFromPeriodUs(std::uint32_t periodUs) {
    if (periodUs == 0) return 0;
    return int(1'000'000.0 / double(periodUs) + 0.5);
}

}  // namespace kelto::capture
