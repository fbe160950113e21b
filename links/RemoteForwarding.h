#pragma once
// The window procedure of the remote-control receiving windows (class "KELTOTV"): the remote
// controller program sends its buttons here. With a viewer open they go to the viewer; with no
// viewer but PowerVCR running they become key characters for PowerVCR.
#include "platform/WindowSystem.h"

#include <functional>
#include <optional>

namespace kelto {

class ViewerWindow;

class RemoteForwarding {
public:
    using ViewerLookup = std::function<ViewerWindow*()>;

    RemoteForwarding(platform::WindowSystem& system, ViewerLookup viewer);

    // Handles one message; nullopt means "default handling" (the caller's fallback).
    std::optional<std::int64_t> handle(const platform::WindowMessage& message);

    // The character and key data PowerVCR gets for a received message (with the received second
    // parameter where the key data passes it on); nullopt when the message has no key.
    struct Key {
        std::uint64_t character;
        std::int64_t keyData;
    };
    static std::optional<Key> powerVcrKey(std::uint32_t message, std::uint64_t wParam, std::int64_t lParam);

private:
    std::optional<std::int64_t> forwardToViewer(ViewerWindow& viewer, const platform::WindowMessage& message);
    std::optional<std::int64_t> forwardToPowerVcr(platform::WindowHandle powerVcr, const platform::WindowMessage& message);

    platform::WindowSystem& system_;
    ViewerLookup viewer_;
};

}  // namespace kelto
