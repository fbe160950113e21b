// The tray agent killed with SIGKILL at random moments while it saves the registry hive (at
// start) and "reserve.rsd" (after a reservation arrives), with every save slowed down so that
// the kills land inside them. After each kill and at the next start every file is the old or the
// new one: it parses, nothing is moved aside, and no reservation the agent accepted is lost.
#include "platform/RegistryHive.h"
#include "platform/WindowSystem.h"
#include "reservations/ReserveFile.h"
#include "tests/app/ChildProcess.h"
#include "tests/support/TestRoot.h"

#include <gtest/gtest.h>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <set>
#include <signal.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace kelto {
namespace {

namespace fs = std::filesystem;
using test::waitFor;
using Clock = std::chrono::steady_clock;

// Every atomic save of the agent waits this long between its complete temporary file and the
// rename (platform/AtomicFile.h), which widens the moment a kill can land in.
constexpr int kSaveDelayMs = 40;

pid_t spawn(const std::vector<std::string>& args, bool slowSaves) {
    test::SpawnOptions options;
    if (slowSaves) options.setEnv.emplace_back("KELTO_ATOMIC_WRITE_DELAY_MS", std::to_string(kSaveDelayMs));
    return test::spawn(args, options);
}

void killNow(pid_t pid) {
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
}

const std::string keltoTV = (test::binaryFolder() / "KeltoTV").string();
const std::string keltoctl = (test::binaryFolder() / "keltoctl").string();

// The agent is up when its window answers (a killed agent's window answers nobody).
bool waitForAgent() {
    auto& windows = platform::WindowSystem::instance();
    for (int i = 0; i < 500; ++i) {
        if (const auto window = windows.findWindow("", "Vezidov ID"))
            if (windows.sendMessage(window, 0, 0, 0)) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

std::vector<std::string> reserveCommand(int number) {
    // One minute per reservation: the table refuses two at the same time of day.
    const int minute = 10 + number;
    return {keltoctl, "reserve", "--channel", "5", "--start", "2099-01-02 20:" + std::to_string(minute),
            "--end", "21:59", "--title", "Round " + std::to_string(number)};
}

struct Files {
    fs::path root = std::getenv("KELTO_ROOT");
    fs::path reserve = root / "Program" / ReserveFile::kFileName;
    fs::path hive = root / "Registry" / "HKEY_CURRENT_USER.reg";
};

// Every file the agent saves is whole (the old or the new one), nothing is moved aside, every
// accepted reservation is in the table, and nothing else but those whose answer a kill cut off.
void checkFiles(const Files& files, const std::set<std::string>& accepted, const std::set<std::string>& unanswered) {
    for (const fs::path& folder : {files.reserve.parent_path(), files.hive.parent_path()}) {
        std::error_code ec;
        for (const auto& entry : fs::directory_iterator(folder, ec))
            EXPECT_EQ(entry.path().filename().string().find(".bad"), std::string::npos) << entry.path();
    }
    if (fs::exists(files.hive)) {
        std::string error;
        EXPECT_TRUE(platform::RegistryHive::parse(test::readFile(files.hive), "HKEY_CURRENT_USER", &error)) << error;
    }
    std::set<std::string> stored;
    if (fs::exists(files.reserve)) {
        ReservationTable table;
        std::string why;
        ASSERT_TRUE(ReserveFile::decode(test::readFile(files.reserve), table, &why)) << why;
        for (int i = 0; i < table.count(); ++i) stored.insert(table.record(i).comment);
    }
    for (const std::string& title : accepted) EXPECT_TRUE(stored.contains(title)) << "lost: " << title;
    for (const std::string& title : stored)
        EXPECT_TRUE(accepted.contains(title) || unanswered.contains(title)) << "never sent: " << title;
}

TEST(CrashSafetyTest, KillsDuringSavesLoseNothingAcceptedAndLeaveWholeFiles) {
    const Files files;
    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("random seed " + std::to_string(seed));
    std::mt19937 random(seed);
    std::set<std::string> accepted;
    std::set<std::string> unanswered;
    std::vector<pid_t> killed;
    int number = 0;
    int killsInsideSaves = 0;  // seen by the temporary file the kill left behind
    const auto deadline = Clock::now() + std::chrono::seconds(4);

    // At least one kill at start and two during reservations, more while time allows.
    for (int round = 0; round < 6 && (round < 3 || Clock::now() < deadline) && !HasFatalFailure(); ++round) {
        const pid_t agent = spawn({keltoTV, "/t"}, true);
        if (round % 3 == 0) {
            // At start: the agent writes its factory defaults into the hive and loads the table.
            std::this_thread::sleep_for(std::chrono::milliseconds(random() % 90));
            killNow(agent);
        } else {
            ASSERT_TRUE(waitForAgent()) << "round " << round;
            const auto first = reserveCommand(number++);
            ASSERT_EQ(waitFor(spawn(first, false)), 0) << "round " << round;
            accepted.insert(first.back());
            // A second reservation, killed at a random moment of its save.
            const auto second = reserveCommand(number++);
            const pid_t sender = spawn(second, false);
            std::this_thread::sleep_for(std::chrono::milliseconds(random() % (3 * kSaveDelayMs)));
            killNow(agent);
            (waitFor(sender) == 0 ? accepted : unanswered).insert(second.back());
        }
        killed.push_back(agent);
        for (const fs::path& file : {files.reserve, files.hive})
            killsInsideSaves += fs::exists(file.string() + ".tmp." + std::to_string(agent));
        checkFiles(files, accepted, unanswered);
    }

    // A normal start reads everything back; ending it saves the table once more.
    const pid_t agent = spawn({keltoTV, "/t"}, false);
    ASSERT_TRUE(waitForAgent());
    for (const pid_t pid : killed)
        for (const fs::path& file : {files.reserve, files.hive})
            EXPECT_FALSE(fs::exists(file.string() + ".tmp." + std::to_string(pid))) << "left behind by " << pid;
    ::kill(agent, SIGTERM);
    EXPECT_EQ(waitFor(agent), 0);
    checkFiles(files, accepted, unanswered);
    EXPECT_GE(accepted.size(), 2u);
    std::printf("%zu kills, %d of them inside a save; %zu reservations accepted\n", killed.size(), killsInsideSaves,
                accepted.size());
}

}  // namespace
}  // namespace kelto
