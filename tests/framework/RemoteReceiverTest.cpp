#include "framework/RemoteReceiver.h"
#include "links/LinkMessages.h"

#include <gtest/gtest.h>

#include <vector>

namespace kelto::framework::test {
namespace {

constexpr std::uint32_t kRegister = kMsgRemoteRegister;

// A window of another program that records what it receives.
struct Recorder {
    explicit Recorder(std::string_view className) {
        handle = system.createWindow(className, "", [this](const platform::WindowMessage& m) {
            received.push_back(m);
            return std::int64_t(0);
        });
    }
    ~Recorder() { system.destroyWindow(handle); }
    platform::WindowSystem& system = platform::WindowSystem::instance();
    platform::WindowHandle handle;
    std::vector<platform::WindowMessage> received;
};

TEST(RemoteReceiver, TheRemoteFindsItAndItsMessagesReachTheOwnersForwarding) {
    platform::WindowSystem& system = platform::WindowSystem::instance();
    std::vector<std::uint32_t> forwarded;
    RemoteReceiver receiver("KELTOTV", [&](const platform::WindowMessage& m) -> std::optional<std::int64_t> {
        if (m.message == platform::WM_CLOSE) return std::nullopt;
        forwarded.push_back(m.message);
        return 1;
    });
    ASSERT_TRUE(receiver.valid());
    receiver.messageMap().onMessage(0x444, [](const platform::WindowMessage&) { return std::int64_t(7); });
    const auto found = system.findWindow("KELTOTV", "KELTOTV");
    ASSERT_EQ(found, receiver.handle());
    EXPECT_EQ(system.sendMessage(found, 0x440, 0, 0), 1);
    EXPECT_EQ(system.sendMessage(found, 0x444, 0, 0), 7);  // the table comes first
    EXPECT_EQ(forwarded, (std::vector<std::uint32_t>{0x440}));

    // Unanswered WM_CLOSE removes the window.
    system.sendMessage(found, platform::WM_CLOSE, 0, 0);
    EXPECT_FALSE(receiver.valid());
    EXPECT_FALSE(system.findWindow("KELTOTV", "KELTOTV"));
}

TEST(RemoteReceiver, TellsTheRemoteControllerWhenItComesAndGoes) {
    Recorder controller("Norvane Remocon Controller");
    platform::WindowHandle receiverHandle;
    {
        RemoteReceiver receiver("KELTOTV", nullptr, RemoteReceiver::Controller{"Norvane Remocon Controller", kRegister});
        receiverHandle = receiver.handle();
        ASSERT_EQ(controller.received.size(), 1u);
    }
    ASSERT_EQ(controller.received.size(), 2u);
    for (const auto& m : controller.received) {
        EXPECT_EQ(m.message, kRegister);
        EXPECT_EQ(m.wParam, receiverHandle.value);
    }
    EXPECT_EQ(controller.received[0].lParam, 0x10000);
    EXPECT_EQ(controller.received[1].lParam, 0);
}

TEST(RemoteReceiver, TwoReceiversWithDifferentTitlesLiveSideBySide) {
    RemoteReceiver agent("KELTO POWER VCR", nullptr);
    RemoteReceiver viewer("KELTOTV", nullptr);
    platform::WindowSystem& system = platform::WindowSystem::instance();
    EXPECT_EQ(system.findWindow("KELTOTV", "KELTO POWER VCR"), agent.handle());
    EXPECT_EQ(system.findWindow("KELTOTV", "KELTOTV"), viewer.handle());
    viewer.destroy();
    EXPECT_TRUE(agent.valid());
    EXPECT_FALSE(system.findWindow("KELTOTV", "KELTOTV"));
}

}  // namespace
}  // namespace kelto::framework::test
