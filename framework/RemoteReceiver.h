#pragma once
// The hidden remote-control receiving window: a findable window of class "KELTOTV" to which the
// remote-controller program sends its buttons and characters. The tray agent keeps one (title
// "KELTO POWER VCR"), the viewer one of its own (title "KELTOTV"). Its messages go through its
// own MessageMap, then through the owner's forwarding procedure; WM_CLOSE that nobody answers
// destroys the window. When the owner names the remote-controller program, the receiver tells
// that program about itself on creation and again when it goes.
#include "framework/MessageMap.h"
#include "framework/PlatformWindow.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace kelto::framework {

class RemoteReceiver {
public:
    static constexpr const char* kClassName = "KELTOTV";
    // nullopt: default handling (the receiver's own; WM_CLOSE destroys the window).
    using Forwarding = std::function<std::optional<std::int64_t>(const platform::WindowMessage&)>;
    // The remote-controller program: its window class and the message that registers a receiver
    // (first parameter the receiver, second 0x10000 to register and 0 to withdraw).
    struct Controller {
        std::string className;
        std::uint32_t registerMessage = 0;
    };

    RemoteReceiver(std::string_view title, Forwarding forwarding, std::optional<Controller> controller = std::nullopt,
                   platform::WindowSystem& system = platform::WindowSystem::instance());
    ~RemoteReceiver();  // withdraws and destroys
    RemoteReceiver(const RemoteReceiver&) = delete;
    RemoteReceiver& operator=(const RemoteReceiver&) = delete;

    bool valid() const { return window_ && window_->valid(); }
    platform::WindowHandle handle() const { return window_ ? window_->handle() : platform::WindowHandle{}; }
    MessageMap& messageMap() { return map_; }
    // Withdraws from the controller and removes the window now.
    void destroy();

private:
    std::int64_t defaultHandling(const platform::WindowMessage& message);
    void tellController(bool registered);

    platform::WindowSystem& system_;
    Forwarding forwarding_;
    std::optional<Controller> controller_;
    MessageMap map_;
    std::unique_ptr<PlatformWindow> window_;
};

}  // namespace kelto::framework
