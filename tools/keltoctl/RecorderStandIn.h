#pragma once
// `keltoctl recorder`: stands in for the video-recorder program (PowerVCR) in tests and demos. It
// makes the recorder's two windows findable the way the recorder's own are (its main window,
// whose presence enables KeltoTV's recorder controller, and the window its keys go to) and
// prints every character it receives, one line each, until it is told to stop.
#include "platform/WindowSystem.h"

#include <atomic>
#include <cstdio>
#include <string>

namespace kelto::ctl {

// One received key as a line: the character (printable, or ^X for a control character, or
// SPACE, ENTER, TAB), its code and the key data, e.g. "R 82 0x00001234".
std::string describeRecorderKey(std::uint64_t character, std::int64_t keyData);

// Runs until `stop` is set; 0, or 1 when the windows could not be made.
int runRecorderStandIn(platform::WindowSystem& system, std::FILE* out, const std::atomic<bool>& stop);

}  // namespace kelto::ctl
