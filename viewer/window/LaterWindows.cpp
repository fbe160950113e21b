#include "viewer/window/LaterWindows.h"

#include "platform/Trace.h"

namespace kelto::viewer {

namespace {
std::vector<LaterWindow>& requests() {
    static std::vector<LaterWindow> list;
    return list;
}
}  // namespace

void openLaterWindow(LaterWindow window, const std::string& what) {
    requests().push_back(window);
    platform::tracef("Viewer: %s is not available yet", what.c_str());
}

void pressOnMultiScreen(int x, int y) {
    requests().push_back(LaterWindow::MultiScreenPress);
    platform::tracef("Viewer: the multi-screen view is not available yet to take a press at %d,%d", x, y);
}

const std::vector<LaterWindow>& laterWindowRequests() { return requests(); }
void clearLaterWindowRequests() { requests().clear(); }

void KeypadEntryPoint::passOn(std::uint32_t message, std::uint64_t wParam) {
    platform::tracef("Viewer: message 0x%X (%llu) for the on-screen keypad, which is not available yet", message,
                     static_cast<unsigned long long>(wParam));
    if (passed_.size() == kKept) passed_.erase(passed_.begin());
    passed_.push_back({message, wParam});
}

}  // namespace kelto::viewer
