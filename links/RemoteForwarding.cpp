#include "links/RemoteForwarding.h"

#include "links/LinkMessages.h"
#include "viewer/RemoteButtons.h"
#include "platform/Clock.h"
#include "platform/WindowMessageIds.h"
#include "viewer/ViewerWindow.h"

namespace kelto {

using platform::WindowMessage;

namespace {
using remote::kCloseCommand;

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
    if (remote::isViewerButton(m.message)) {
        system_.sendMessage(target, m.message, 0, 0);
        return 1;
    }
    switch (m.message) {
    case platform::WM_CHAR:
        system_.sendMessage(target, m.message, m.wParam, m.lParam);
        return 1;
    case platform::WM_COMMAND:
        if (commandOf(m) == kCloseCommand) {
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
    case remote::kFullScreen: return Key{'Z', lParam};
    case remote::kMute: return Key{'Q', lParam};
    case remote::kSource: return Key{'T', lParam};
    case remote::kPrevious: return Key{18, 0x00130001};
    case remote::kAdjust: return Key{3, 0x002E0001};
    case remote::kCapture: return Key{'R', lParam};
    case remote::kKeyS: return Key{'S', lParam};
    case remote::kKeySpace: return Key{' ', 0x00390001};
    case remote::kKeyB: return Key{'B', lParam};
    case remote::kKeyEnter: return Key{13, 0x001C0001};
    case remote::kKeyTab: return Key{9, 0x000F0001};
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
        if (commandOf(m) == kCloseCommand) {
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
