// Atomic replacement: the fault-injection wait and the removal of temporary files that
// interrupted writes leave behind.
#include "platform/AtomicFile.h"
#include "platform/Paths.h"

#include "tests/support/TestRoot.h"

#include <gtest/gtest.h>
#include <chrono>
#include <cstdlib>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace kelto::platform {
namespace {

using test::TemporaryFolder;
namespace fs = std::filesystem;

// The id of a process that has ended and been reaped, so no process runs under it (until the
// system hands the id out again, which it does only after cycling through all the others).
pid_t endedProcessId() {
    const pid_t pid = ::fork();
    if (pid == 0) ::_exit(0);
    ::waitpid(pid, nullptr, 0);
    return pid;
}

TEST(AtomicFileTest, StaleTemporaryFilesOfEndedProcessesAreRemovedOthersStay) {
    TemporaryFolder dir;
    const std::string dead = std::to_string(endedProcessId());
    const std::string parent = std::to_string(::getppid());  // runs as long as this test does
    const std::string self = std::to_string(::getpid());
    for (const char* name : {"reserve.rsd", "HKEY_CURRENT_USER.reg"}) test::writeFile(dir / name, "current");
    test::writeFile(dir / ("reserve.rsd.tmp." + dead), "half");
    test::writeFile(dir / ("HKEY_CURRENT_USER.reg.tmp." + dead), "half");
    test::writeFile(dir / ("reserve.rsd.tmp." + parent), "being written");
    test::writeFile(dir / ("reserve.rsd.tmp." + self), "being written");
    // Names that only look similar are none of ours.
    const std::vector<std::string> lookAlikes = {"notes.tmp.", "notes.tmp.12x", "notes.tmp.007", ".tmp." + dead,
                                                 "notes.tmp.99999999999999999999", "notes.tmp.-5", "notes.tmp"};
    for (const std::string& name : lookAlikes) test::writeFile(dir / name, "user file");
    fs::create_directory(dir / ("folder.tmp." + dead));
    fs::create_directory(dir / "sub");
    test::writeFile(dir / "sub" / ("deeper.tmp." + dead), "not this folder");
    fs::create_symlink(dir / "reserve.rsd", dir / ("link.tmp." + dead));

    EXPECT_EQ(removeStaleTemporaryFiles(dir.path()), 2);

    EXPECT_FALSE(fs::exists(dir / ("reserve.rsd.tmp." + dead)));
    EXPECT_FALSE(fs::exists(dir / ("HKEY_CURRENT_USER.reg.tmp." + dead)));
    EXPECT_EQ(test::readFile(dir / "reserve.rsd"), "current");
    EXPECT_TRUE(fs::exists(dir / ("reserve.rsd.tmp." + parent)));
    EXPECT_TRUE(fs::exists(dir / ("reserve.rsd.tmp." + self)));
    for (const std::string& name : lookAlikes)
        EXPECT_TRUE(fs::exists(dir / name)) << name;
    EXPECT_TRUE(fs::is_directory(dir / ("folder.tmp." + dead)));
    EXPECT_TRUE(fs::exists(dir / "sub" / ("deeper.tmp." + dead)));
    EXPECT_TRUE(fs::is_symlink(dir / ("link.tmp." + dead)));
    EXPECT_EQ(removeStaleTemporaryFiles(dir / "missing"), 0);
}

TEST(AtomicFileTest, StartingTheRootRemovesStaleTemporaryFilesOfSavedFiles) {
    const fs::path root = std::getenv("KELTO_ROOT");
    const std::string dead = std::to_string(endedProcessId());
    test::writeFile(root / "Program" / ("reserve.rsd.tmp." + dead), "half");
    test::writeFile(root / "Registry" / ("HKEY_CURRENT_USER.reg.tmp." + dead), "half");
    ASSERT_TRUE(prepareInstallRoot());
    EXPECT_FALSE(fs::exists(root / "Program" / ("reserve.rsd.tmp." + dead)));
    EXPECT_FALSE(fs::exists(root / "Registry" / ("HKEY_CURRENT_USER.reg.tmp." + dead)));
}

// The wait lies between the complete temporary file and the rename: a process killed inside it
// leaves the old file in place and the new content beside it.
TEST(AtomicFileTest, TheInjectedWaitHoldsTheNewContentBesideTheOldFile) {
    TemporaryFolder dir;
    const fs::path target = dir / "reserve.rsd";
    const fs::path temp = target.string() + ".tmp." + std::to_string(::getpid());
    test::writeFile(target, "old");
    ::setenv("KELTO_ATOMIC_WRITE_DELAY_MS", "90", 1);
    std::chrono::steady_clock::duration took{};
    std::thread writer([&] {
        const auto start = std::chrono::steady_clock::now();
        EXPECT_TRUE(writeFileAtomically(target, "new content"));
        took = std::chrono::steady_clock::now() - start;
    });
    bool seen = false;
    for (int i = 0; i < 4000 && !seen && fs::exists(dir.path()); ++i) {
        if (fs::exists(temp) && test::readFile(temp) == "new content") {
            const std::string current = test::readFile(target);
            // Only a look taken while the temporary file still stood counts.
            if (fs::exists(temp)) {
                seen = true;
                EXPECT_EQ(current, "old");
            }
        }
        if (!seen) std::this_thread::sleep_for(std::chrono::microseconds(250));
    }
    writer.join();
    ::unsetenv("KELTO_ATOMIC_WRITE_DELAY_MS");
    EXPECT_TRUE(seen);
    EXPECT_GE(took, std::chrono::milliseconds(90));
    EXPECT_EQ(test::readFile(target), "new content");
    EXPECT_FALSE(fs::exists(temp));
}

}  // namespace
}  // namespace kelto::platform
