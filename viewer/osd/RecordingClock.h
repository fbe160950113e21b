#pragma once
// What the recording indicator says, without Qt: the recorded time from the pictures taken and
// the text shown for it.
#include <cstdint>
#include <string>

namespace kelto::viewer {

// The recorded time after `pictures` pictures of `framePeriodUs` microseconds each.
std::uint64_t recordedMs(std::uint64_t pictures, std::uint32_t framePeriodUs);
// "REC h:mm:ss" for the recorded time (whole seconds, rounded down).
std::string recordingIndicatorText(std::uint64_t recordedMs);

}  // namespace kelto::viewer
