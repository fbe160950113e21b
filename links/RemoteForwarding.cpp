#include "links/RemoteForwarding.h"

#include "app/AppMessages.h"
#include "app/ViewerWindow.h"
#include "platform/Clock.h"
#include "platform/WindowMessageIds.h"

namespace kelto {

using platform::WindowMessage;

namespace {
constexpr int kRemoteCloseCommand = 101;

bool isRemoteButton(std::uint32_t message) {
    return message == 0x43E || (message >= 0x440 && message <= 0x444);
}
int commandOf(const WindowMessage& m) { return int(m.wParam & 0xFFFF); }
}  // namespace

RemoteForwarding::RemoteForwarding(platform::WindowSystem& system, ViewerLookup viewer)
    : system_(system), viewer_(std::move(viewer)) {}

std::optional<std::int64_t> RemoteForwarding::handle(const WindowMessage& message) {
    if (ViewerWindow* viewer = viewer_ ? viewer_() : nullptr) return forwardToViewer(*viewer, message);
    if (const auto powerVcr = system_.findWindow(kPowerVcrKeyClass, "")) return forwardToPowerVcr(powerVcr, message);
    return std::nullopt;
}

std::optional<std::int64_t> RemoteForwarding::forwardToViewer(ViewerWindow& viewer, const WindowMessage& m) {
    const auto target = viewer.windowHandle();
    if (isRemoteButton(m.message)) {
        system_.sendMessage(target, m.message, 0, 0);
        return 1;
    }
    switch (m.message) {
    case platform::WM_CHAR:
        system_.sendMessage(target, m.message, m.wParam, m.lParam);
        return 1;
    case platform::WM_COMMAND:
        if (commandOf(m) == kRemoteCloseCommand) {
            viewer.setClosedByRemote();
            system_.postMessage(target, platform::WM_CLOSE, 0, 0);
        }
        return 1;
    case platform::WM_CLOSE:
        if (!viewer.closedByRemote()) system_.postMessage(target, platform::WM_CLOSE, 0, 0);
        return std::nullopt;  // the default handling destroys this window
    case platform::WM_CREATE:
    case kMsgSiblingQuery:
        return 1;
    }
    return std::nullopt;
}

std::optional<RemoteForwarding::Key> RemoteForwarding::powerVcrKey(std::uint32_t message, std::uint64_t wParam,
                                                                   std::int64_t lParam) {
    switch (message) {
    case 0x43E: return Key{'Z', lParam};
    case 0x440: return Key{'Q', lParam};
    case 0x441: return Key{'T', lParam};
    case 0x442: return Key{18, 0x00130001};
    case 0x443: return Key{3, 0x002E0001};
    case 0x444: return Key{'R', lParam};
    case 0x44A: return Key{'S', lParam};
    case 0x44B: return Key{' ', 0x00390001};
    case 0x44E: return Key{'B', lParam};
    case 0x44F: return Key{13, 0x001C0001};
    case 0x450: return Key{9, 0x000F0001};
    case platform::WM_CHAR:
        if (wParam >= '0' && wParam <= '9') return Key{wParam, lParam};
        switch (wParam) {
        case 37: return Key{'-', lParam};
        case 38: return Key{'N', lParam};
        case 39: return Key{'+', lParam};
        case 40: return Key{'P', lParam};
        }
        return std::nullopt;
    }
    return std::nullopt;
}

std::optional<std::int64_t> RemoteForwarding::forwardToPowerVcr(platform::WindowHandle powerVcr, const WindowMessage& m) {
    if (m.message == platform::WM_COMMAND) {
        if (commandOf(m) == kRemoteCloseCommand) {
            platform::clock().sleepMs(500);
            system_.findWindow(kRemoteControllerClass, "");
            platform::clock().sleepMs(500);
            if (system_.findWindow(kRemoteControllerClass, ""))
                system_.sendMessage(powerVcr, platform::WM_CHAR, 24, 0x002D0001);
        }
        return 1;
    }
    if (auto key = powerVcrKey(m.message, m.wParam, m.lParam)) {
        system_.sendMessage(powerVcr, platform::WM_CHAR, key->character, key->keyData);
        return 1;
    }
    if (m.message == platform::WM_CHAR) return 1;  // other characters: answered, no action
    return std::nullopt;
}

}  // namespace kelto
