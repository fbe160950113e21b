#include "viewer/osd/RecordingClock.h"

#include <cstdio>

namespace kelto::viewer {

std::uint64_t recordedMs(std::uint64_t pictures, std::uint32_t framePeriodUs) { return pictures * framePeriodUs / 1000; }

std::string recordingIndicatorText(std::uint64_t ms) {
    const std::uint64_t seconds = ms / 1000;
    char text[48];
    std::snprintf(text, sizeof text, "REC %llu:%02u:%02u", static_cast<unsigned long long>(seconds / 3600),
                  unsigned(seconds / 60 % 60), unsigned(seconds % 60));
    return text;
}

}  // namespace kelto::viewer
