// `keltoctl recorder` as a separate process: the recorder's windows appear, KeltoTV's agent sees
// the recorder running, the remote's buttons reach it as keys, and it ends cleanly when stopped.
#include "links/LinkMessages.h"
#include "platform/WindowMessageIds.h"
#include "platform/WindowSystem.h"
#include "tests/app/ChildProcess.h"
#include "tests/support/TestRoot.h"
#include "tools/keltoctl/RecorderStandIn.h"

#include <gtest/gtest.h>

#include <thread>

namespace kelto {
namespace {

using platform::WindowSystem;

const std::string keltoTV = (test::binaryFolder() / "KeltoTV").string();
const std::string keltoctl = (test::binaryFolder() / "keltoctl").string();

bool waitUntil(const std::function<bool()>& done) {
    for (int i = 0; i < 1000; ++i) {
        if (done()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

TEST(RecorderStandInTest, KeysAreShownByNameCodeAndKeyData) {
    EXPECT_EQ(ctl::describeRecorderKey('R', 0x1234), "R 82 0x00001234");
    EXPECT_EQ(ctl::describeRecorderKey(18, 0x00130001), "^R 18 0x00130001");
    EXPECT_EQ(ctl::describeRecorderKey(' ', 0x00390001), "SPACE 32 0x00390001");
    EXPECT_EQ(ctl::describeRecorderKey(13, 0x001C0001), "ENTER 13 0x001c0001");
    EXPECT_EQ(ctl::describeRecorderKey('+', -1), "+ 43 0xffffffff");
}

TEST(RecorderStandInTest, TheRemotesButtonsReachTheStandInThroughARunningAgent) {
    test::TemporaryFolder folder;
    const auto output = folder / "recorder.out";
    const pid_t recorder = test::spawn({keltoctl, "recorder"}, {.output = output});
    WindowSystem& system = WindowSystem::instance();
    ASSERT_TRUE(waitUntil([&] { return bool(system.findWindow(kPowerVcrClass, kPowerVcrTitle)); }));
    ASSERT_TRUE(waitUntil([&] { return bool(system.findWindow(kPowerVcrKeyClass, "")); }));

    const pid_t agent = test::spawn({keltoTV, "/t"});
    ASSERT_TRUE(waitUntil([&] { return bool(system.findWindow("KELTOTV", kAgentRemoteTitle)); }));
    EXPECT_EQ(test::waitFor(test::spawn({keltoctl, "key", "capture"})), 0);  // no viewer: "R" for the recorder
    EXPECT_EQ(test::waitFor(test::spawn({keltoctl, "key", "right"})), 0);    // "+"
    EXPECT_TRUE(waitUntil([&] {
        const std::string text = test::readFile(output);
        return text.find("\nR 82 ") != std::string::npos && text.find("\n+ 43 ") != std::string::npos;
    })) << test::readFile(output);

    EXPECT_EQ(test::waitFor(test::spawn({keltoctl, "post", "Vezidov ID", "0x46F"})), 0);
    EXPECT_EQ(test::waitFor(agent), 0);
    ::kill(recorder, SIGTERM);
    EXPECT_EQ(test::waitFor(recorder), 0);
    EXPECT_FALSE(system.findWindow(kPowerVcrClass, ""));
    EXPECT_FALSE(system.findWindow(kPowerVcrKeyClass, ""));
}

}  // namespace
}  // namespace kelto
