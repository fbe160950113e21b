#pragma once
// Makes a window findable by class and title from other processes and gives it a message
// procedure: messages go through the owner's MessageMap, then to a fallback (the default
// handling). Lives on the user-interface thread, like the widget that owns it.
#include "framework/MessageMap.h"
#include "platform/WindowSystem.h"

#include <string>

namespace kelto::framework {

class PlatformWindow {
public:
    using Fallback = std::function<std::int64_t(const platform::WindowMessage&)>;

    PlatformWindow(std::string_view className, std::string_view title, const MessageMap& map, Fallback fallback,
                   platform::WindowSystem& system = platform::WindowSystem::instance());
    ~PlatformWindow();
    PlatformWindow(const PlatformWindow&) = delete;
    PlatformWindow& operator=(const PlatformWindow&) = delete;

    platform::WindowHandle handle() const { return handle_; }
    bool valid() const { return bool(handle_); }
    platform::WindowSystem& system() const { return system_; }
    // Removes the window from the directory now (its owner may live on).
    void destroy();

private:
    platform::WindowSystem& system_;
    platform::WindowHandle handle_;
};

}  // namespace kelto::framework
