#include "framework/RemoteReceiver.h"

#include "platform/Trace.h"

namespace kelto::framework {

RemoteReceiver::RemoteReceiver(std::string_view title, Forwarding forwarding, std::optional<Controller> controller,
                               platform::WindowSystem& system)
    : system_(system), forwarding_(std::move(forwarding)), controller_(std::move(controller)) {
    window_ = std::make_unique<PlatformWindow>(
        kClassName, title, map_, [this](const platform::WindowMessage& m) { return defaultHandling(m); }, system_);
    if (!window_->valid()) {
        platform::tracef("Remote control: cannot create the receiving window \"%s\"", std::string(title).c_str());
        return;
    }
    tellController(true);
}

RemoteReceiver::~RemoteReceiver() { destroy(); }

void RemoteReceiver::destroy() {
    if (!valid()) return;
    tellController(false);
    window_->destroy();
}

std::int64_t RemoteReceiver::defaultHandling(const platform::WindowMessage& message) {
    if (forwarding_)
        if (auto answer = forwarding_(message)) return *answer;
    if (message.message == platform::WM_CLOSE) destroy();
    return 0;
}

void RemoteReceiver::tellController(bool registered) {
    if (!controller_) return;
    if (const auto remote = system_.findWindow(controller_->className, ""))
        system_.sendMessage(remote, controller_->registerMessage, handle().value, registered ? 0x10000 : 0);
}

}  // namespace kelto::framework
