#include "framework/PlatformWindow.h"

namespace kelto::framework {

PlatformWindow::PlatformWindow(std::string_view className, std::string_view title, const MessageMap& map,
                               Fallback fallback, platform::WindowSystem& system)
    : system_(system) {
    handle_ = system_.createWindow(className, title, [&map, fallback](const platform::WindowMessage& m) -> std::int64_t {
        if (auto answer = map.dispatch(m)) return *answer;
        return fallback ? fallback(m) : 0;
    });
}

PlatformWindow::~PlatformWindow() { destroy(); }

void PlatformWindow::destroy() {
    if (handle_) system_.destroyWindow(handle_);
    handle_ = {};
}

}  // namespace kelto::framework
