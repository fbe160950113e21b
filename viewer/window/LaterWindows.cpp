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

const std::vector<LaterWindow>& laterWindowRequests() { return requests(); }
void clearLaterWindowRequests() { requests().clear(); }

}  // namespace kelto::viewer
