// The program as separate processes: KeltoTV started twice, driven with keltoctl.
#include "platform/WindowSystem.h"
#include "tests/app/ChildProcess.h"
#include "tests/support/TestRoot.h"
#include "tools/keltoctl/RemoteCommands.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace kelto {
namespace {

using platform::WindowSystem;
using test::SpawnOptions;
using test::spawn;
using test::waitFor;

int run(const std::vector<std::string>& args, const SpawnOptions& options = {}) { return waitFor(spawn(args, options)); }

// Runs the program and gives its exit code and everything it wrote.
struct Ran {
    int exitCode;
    std::string output;
};
Ran runCapturing(const std::vector<std::string>& args, SpawnOptions options = {}) {
    test::TemporaryFolder folder;
    options.output = folder / "output";
    const int code = run(args, options);
    return {code, test::readFile(options.output)};
}

std::filesystem::path root() { return std::getenv("KELTO_ROOT"); }
std::string savedSettings() { return test::readFile(root() / "Registry" / "HKEY_CURRENT_USER.reg"); }

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
    // The agent, its remote window, the viewer, its remote window and its image window.
    EXPECT_EQ(WindowSystem::instance().listWindows().size(), 5u);

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
    EXPECT_NE(savedSettings().find("\"s_flag\"=dword:00000001"), std::string::npos);  // the viewer closed and saved
    EXPECT_TRUE(std::filesystem::exists(root() / "Program" / "reserve.rsd"));
}

// A session end that comes before the program has done anything (here held back from its first
// instruction, so it is there the moment the program can take it) still runs the whole exit.
TEST(ProcessTest, ASessionEndAtTheVeryStartStillRunsTheExit) {
    SpawnOptions options;
    options.holdSessionEnd = true;
    const pid_t agent = spawn({keltoTV}, options);
    ::kill(agent, SIGTERM);
    EXPECT_EQ(waitFor(agent), 0);
    EXPECT_TRUE(WindowSystem::instance().listWindows().empty());
    EXPECT_NE(savedSettings().find("\"s_flag\"=dword:00000001"), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(root() / "Program" / "reserve.rsd"));
}

TEST(ProcessTest, WithoutADisplayItSaysSoInOneLine) {
    SpawnOptions options;
    options.unsetEnv = {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"};
    const Ran ran = runCapturing({keltoTV}, options);
    EXPECT_EQ(ran.exitCode, 1);
    EXPECT_EQ(std::count(ran.output.begin(), ran.output.end(), '\n'), 1) << ran.output;
    EXPECT_NE(ran.output.find("graphical session"), std::string::npos) << ran.output;
    EXPECT_NE(ran.output.find("xvfb-run"), std::string::npos) << ran.output;
    EXPECT_TRUE(WindowSystem::instance().listWindows().empty());
}

TEST(ProcessTest, HelpAndVersionAnswerWithoutStartingAnything) {
    const Ran help = runCapturing({keltoTV, "--help"});
    EXPECT_EQ(help.exitCode, 0);
    for (const char* part : {"/t", "/r", "--version", "KELTO_ROOT", "KELTO_DEBUG", "XDG_RUNTIME_DIR", "reserve.rsd",
                             "HKEY_CURRENT_USER.reg", "Zududaz2000.ini", "KeltoTV.log", "xvfb-run"})
        EXPECT_NE(help.output.find(part), std::string::npos) << part;
    EXPECT_NE(help.output.find(root().string()), std::string::npos);  // where the files are now

    const Ran version = runCapturing({keltoTV, "--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_TRUE(version.output.starts_with("KeltoTV ")) << version.output;
    EXPECT_EQ(std::count(version.output.begin(), version.output.end(), '\n'), 1);

    // Neither opened a window nor created the program's folders.
    EXPECT_TRUE(WindowSystem::instance().listWindows().empty());
    EXPECT_FALSE(std::filesystem::exists(root() / "Registry"));
    EXPECT_FALSE(std::filesystem::exists(root() / "Program"));
}

TEST(ProcessTest, KeltoctlSaysWhenKeltoTvIsNotRunning) {
    for (const std::vector<std::string>& args : {std::vector<std::string>{keltoctl, "key", "up"},
                                                 std::vector<std::string>{keltoctl, "list"},
                                                 std::vector<std::string>{keltoctl, "char", "12"}}) {
        const Ran ran = runCapturing(args);
        EXPECT_EQ(ran.exitCode, 1) << args[1];
        EXPECT_NE(ran.output.find("KeltoTV is not running"), std::string::npos) << args[1] << ": " << ran.output;
    }
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
    const std::vector<std::string> lateFilm{keltoctl, "reserve", "--channel", "9", "--start", "2099-01-02 20:15",
                                            "--end", "21:45", "--title", "Late film", "--option", "1"};
    const Ran accepted = runCapturing(lateFilm);
    EXPECT_EQ(accepted.exitCode, 0);
    EXPECT_NE(accepted.output.find("accepted \"Late film\""), std::string::npos) << accepted.output;

    // The same minute again: refused, and said why, at once, although the agent now shows its
    // "Already reserved time" box; the box does not hold up the next request either.
    const auto before = std::chrono::steady_clock::now();
    const Ran refused = runCapturing(lateFilm);
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.output.find("refused"), std::string::npos) << refused.output;
    EXPECT_NE(refused.output.find("20:15 is taken by \"Late film\""), std::string::npos) << refused.output;
    EXPECT_EQ(run({keltoctl, "reserve", "--channel", "4", "--start", "2099-01-03 06:00", "--end", "07:00"}), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(2));
    ::kill(agent, SIGTERM);  // the session ends: saved without a question
    EXPECT_EQ(waitFor(agent), 0);
    const std::string file = test::readFile(std::filesystem::path(std::getenv("KELTO_ROOT")) / "Program" / "reserve.rsd");
    EXPECT_NE(file.find("Late film"), std::string::npos);
    EXPECT_EQ(file[0], 2);  // two records
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
