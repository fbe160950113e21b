#pragma once
// The viewer's windows that are not built yet: each command that opens one calls its entry
// point here, which notes the request in the trace log and shows nothing. Tests count the calls.
#include <cstdint>
#include <string>
#include <vector>

namespace kelto::viewer {

enum class LaterWindow {
    CaptureSheet,
};

// Entry point of a window still to come; `what` says what was asked.
void openLaterWindow(LaterWindow window, const std::string& what);
// The requests so far (for tests), and forgetting them.
const std::vector<LaterWindow>& laterWindowRequests();
void clearLaterWindowRequests();

}  // namespace kelto::viewer
