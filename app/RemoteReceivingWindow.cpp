#include "app/RemoteReceivingWindow.h"

#include "viewer/ViewerWindow.h"
#include "links/RemoteForwarding.h"

namespace kelto {

std::unique_ptr<framework::RemoteReceiver> createRemoteReceivingWindow(
    platform::WindowSystem& system, std::string_view title, std::optional<framework::RemoteReceiver::Controller> controller) {
    // The forwarding lives as long as the window's procedure that calls it.
    auto forwarding = std::make_shared<RemoteForwarding>(system, [] { return currentViewer(); });
    return std::make_unique<framework::RemoteReceiver>(
        title, [forwarding](const platform::WindowMessage& m) { return forwarding->handle(m); }, std::move(controller),
        system);
}

}  // namespace kelto
