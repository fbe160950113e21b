#pragma once
// The program around the viewer window in tests and benchmarks: the real window system, a
// receiving window that answers nothing, and counts of what the viewer asks of the program.
#include "viewer/window/ViewerHost.h"

#include "framework/RemoteReceiver.h"
#include "platform/WindowSystem.h"

#include <memory>
#include <optional>

namespace kelto::test {

class RigHost final : public ViewerHost {
public:
    struct Counts {
        int closed = 0;
        int aboutBoxes = 0;
    };
    RigHost() : counts_(ownCounts_) {}
    explicit RigHost(Counts& counts) : counts_(counts) {}
    platform::WindowSystem& windowSystem() override { return platform::WindowSystem::instance(); }
    void closeSiblingPrograms() override {}
    std::unique_ptr<framework::RemoteReceiver> createRemoteReceivingWindow() override {
        return std::make_unique<framework::RemoteReceiver>(
            "KELTOTV", [](const platform::WindowMessage&) { return std::optional<std::int64_t>(); });
    }
    void showAboutBox(QWidget*) override { ++counts_.aboutBoxes; }
    void openReservationList() override {}
    void viewerClosed(ViewerWindow*) override { ++counts_.closed; }
    void recordingEnded() override {}

private:
    Counts ownCounts_;
    Counts& counts_;
};

}  // namespace kelto::test
