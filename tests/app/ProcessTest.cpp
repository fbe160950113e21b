// The program as separate processes: KeltoTV started twice, driven with keltoctl.
#include "platform/WindowSystem.h"
#include "tests/support/TestRoot.h"
#include "tools/keltoctl/RemoteCommands.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace kelto {
namespace {

using platform::WindowSystem;

pid_t spawn(const std::vector<std::string>& args) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        std::vector<char*> argv;
        for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    return pid;
}

// Waits at most about ten seconds for the process to end; its exit code, or -1.
int waitFor(pid_t pid) {
    for (int i = 0; i < 1000; ++i) {
        int status = 0;
        if (::waitpid(pid, &status, WNOHANG) == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
    return -1;
}

int run(const std::vector<std::string>& args) { return waitFor(spawn(args)); }

bool waitForWindow(std::string_view className, std::string_view title, bool present = true) {
    for (int i = 0; i < 1000; ++i) {
        if (bool(WindowSystem::instance().findWindow(className, title)) == present) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

const std::string keltoTV = (test::binaryFolder() / "KeltoTV").string();
const std::string keltoctl = (test::binaryFolder() / "keltoctl").string();

TEST(ProcessTest, ASecondStartHandsOverAndEnds) {
    const pid_t agent = spawn({keltoTV, "/t"});
    ASSERT_TRUE(waitForWindow("", "Vezidov ID"));
    EXPECT_FALSE(WindowSystem::instance().findWindow("", "Kelto TV"));

    EXPECT_EQ(run({keltoTV, "/t"}), 0);           // tray only while an agent runs: ends
    EXPECT_EQ(run({keltoTV}), 0);                 // normal start: the agent opens the viewer
    ASSERT_TRUE(waitForWindow("", "Kelto TV"));
    EXPECT_EQ(WindowSystem::instance().findWindow("", "Kelto TV").pid(), std::uint32_t(agent));
    EXPECT_EQ(run({keltoTV}), 0);                 // a viewer is open: ends
    EXPECT_EQ(WindowSystem::instance().listWindows().size(), 4u);  // agent, its remote window, viewer, its remote window

    EXPECT_EQ(run({keltoctl, "key", "capture"}), 0);
    EXPECT_EQ(run({keltoctl, "post", "Vezidov ID", "0x46F"}), 0);  // exit
    EXPECT_EQ(waitFor(agent), 0);
    EXPECT_TRUE(WindowSystem::instance().listWindows().empty());
}

TEST(ProcessTest, TheSessionEndingEndsTheAgentCleanly) {
    const pid_t agent = spawn({keltoTV});
    ASSERT_TRUE(waitForWindow("", "Kelto TV"));
    ::kill(agent, SIGTERM);
    EXPECT_EQ(waitFor(agent), 0);
    EXPECT_TRUE(WindowSystem::instance().listWindows().empty());
}

TEST(ProcessTest, KeltoctlRefusesWhatItCannotSend) {
    EXPECT_EQ(run({keltoctl, "post", "NoSuchWindow", "1"}), 1);
    EXPECT_EQ(run({keltoctl, "post"}), 2);
    EXPECT_EQ(run({keltoctl, "key", "bogus"}), 1);
    EXPECT_EQ(run({keltoctl, "reserve", "--channel", "7", "--start", "25:00", "--end", "21:00"}), 1);
    EXPECT_EQ(run({keltoctl, "reserve", "--channel", "7", "--start", "20:00", "--end", "21:00"}), 1);  // not running
}

TEST(ProcessTest, KeltoctlReservesWithARunningAgent) {
    const pid_t agent = spawn({keltoTV, "/t"});
    ASSERT_TRUE(waitForWindow("", "Vezidov ID"));
    EXPECT_EQ(run({keltoctl, "reserve", "--channel", "9", "--start", "2099-01-02 20:15", "--end", "21:45",
                   "--title", "Late film", "--option", "1"}), 0);
    ::kill(agent, SIGTERM);  // the session ends: saved without a question
    EXPECT_EQ(waitFor(agent), 0);
    const std::string file = test::readFile(std::filesystem::path(std::getenv("KELTO_ROOT")) / "Program" / "reserve.rsd");
    EXPECT_NE(file.find("Late film"), std::string::npos);
    EXPECT_EQ(file[0], 1);  // one record
}

TEST(KeltoctlTest, ParsesNumbersAndTimes) {
    EXPECT_EQ(ctl::parseNumber("0x46F"), 0x46F);
    EXPECT_EQ(ctl::parseNumber("-12"), -12);
    EXPECT_EQ(ctl::parseNumber("12a"), std::nullopt);
    EXPECT_EQ(ctl::parseNumber(""), std::nullopt);

    ::setenv("TZ", "UTC", 1);
    ::tzset();
    const std::time_t noon = 1700000000;  // 2023-11-14 22:13:20 UTC
    EXPECT_EQ(ctl::parseLocalTime("2023-11-15 06:30", noon), 1700029800);
    EXPECT_EQ(ctl::parseLocalTime("22:00", noon), 1699999200);
    EXPECT_EQ(ctl::parseLocalTime("24:00", noon), std::nullopt);
    EXPECT_EQ(ctl::parseLocalTime("22:00 tomorrow", noon), std::nullopt);

}

}  // namespace
}  // namespace kelto
