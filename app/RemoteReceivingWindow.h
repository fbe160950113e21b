#pragma once
// The remote-control receiving window of the tray agent or of the viewer: a hidden "KELTOTV"
// window whose messages the forwarding procedure passes to the open viewer (or, without one, to
// PowerVCR). Both owners make theirs here, so the two windows behave alike.
#include "framework/RemoteReceiver.h"

#include <memory>
#include <optional>
#include <string_view>

namespace kelto {

// The window with the title; registered with the controller program when one is named.
std::unique_ptr<framework::RemoteReceiver> createRemoteReceivingWindow(
    platform::WindowSystem& system, std::string_view title,
    std::optional<framework::RemoteReceiver::Controller> controller = std::nullopt);

}  // namespace kelto
