#include "platform/PrivateFolder.h"

#include "platform/NamedMutex.h"
#include "platform/Paths.h"
#include "platform/Trace.h"
#include "platform/WindowSystem.h"
#include "tests/support/TestRoot.h"

#include <gtest/gtest.h>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace kelto::platform {
namespace {

namespace fs = std::filesystem;
constexpr uid_t kOtherUser = 65534;  // "nobody"

mode_t modeOf(const fs::path& path) {
    struct stat st{};
    ::lstat(path.c_str(), &st);
    return st.st_mode & 07777;
}

// A stand-in for a folder another local user made: owned by "nobody" when this test runs as root
// (the only way an unprivileged test cannot go), else skipped by the caller.
void giveToOtherUser(const fs::path& path) { ASSERT_EQ(::lchown(path.c_str(), kOtherUser, kOtherUser), 0); }

TEST(PrivateFolderTest, MakesMissingFoldersPrivateAndTightensItsOwn) {
    test::TemporaryFolder dir;
    std::string error;
    ASSERT_TRUE(preparePrivateFolder(dir / "a/b/c", &error)) << error;
    EXPECT_EQ(modeOf(dir / "a"), 0700u);
    EXPECT_EQ(modeOf(dir / "a/b/c"), 0700u);
    fs::create_directory(dir / "readable");
    ::chmod((dir / "readable").c_str(), 0755);
    EXPECT_TRUE(preparePrivateFolder(dir / "readable", &error)) << error;
    EXPECT_EQ(modeOf(dir / "readable"), 0700u);
    // A shared folder with the sticky bit on the way (like /tmp) is fine.
    fs::create_directory(dir / "shared");
    ::chmod((dir / "shared").c_str(), 01777);
    EXPECT_TRUE(preparePrivateFolder(dir / "shared/mine", &error)) << error;
}

TEST(PrivateFolderTest, AFolderOthersCanChangeOrALinkOnTheWayIsRefused) {
    test::TemporaryFolder dir;
    std::string error;
    fs::create_directory(dir / "open");
    ::chmod((dir / "open").c_str(), 0777);
    EXPECT_FALSE(preparePrivateFolder(dir / "open/keltotv", &error));
    EXPECT_NE(error.find((dir / "open").string() + " can be changed by other users (mode 0777)"), std::string::npos)
        << error;
    EXPECT_FALSE(fs::exists(dir / "open/keltotv"));
    EXPECT_FALSE(preparePrivateFolder(dir / "open", &error));

    // A link on the way, even to a good folder, unless root made it.
    fs::create_directory(dir / "elsewhere");
    fs::create_directory_symlink(dir / "elsewhere", dir / "link");
    if (::getuid() == 0) giveToOtherUser(dir / "link");
    EXPECT_FALSE(preparePrivateFolder(dir / "link/keltotv", &error));
    EXPECT_NE(error.find((dir / "link").string() + " is a link"), std::string::npos) << error;
    EXPECT_FALSE(fs::exists(dir / "elsewhere/keltotv"));

    test::writeFile(dir / "file", "x");
    EXPECT_FALSE(preparePrivateFolder(dir / "file/keltotv", &error));
    EXPECT_NE(error.find("is not a folder"), std::string::npos) << error;
}

TEST(PrivateFolderTest, AFolderOfAnotherUserOnTheWayIsRefused) {
    if (::getuid() != 0) GTEST_SKIP() << "making a folder of another user needs root";
    test::TemporaryFolder dir;
    std::string error;
    fs::create_directory(dir / "theirs");
    giveToOtherUser(dir / "theirs");
    ::chmod((dir / "theirs").c_str(), 0755);
    EXPECT_FALSE(preparePrivateFolder(dir / "theirs/keltotv", &error));
    EXPECT_NE(error.find((dir / "theirs").string() + " belongs to user 65534"), std::string::npos) << error;
    EXPECT_FALSE(preparePrivateFolder(dir / "theirs", &error));
}

// Without XDG_RUNTIME_DIR the window folder is $TMPDIR/keltotv-<uid>/keltotv. Another user who
// made keltotv-<uid> first must not get this user's windows, nor plant windows for it.
TEST(PrivateFolderTest, AWindowFolderTakenOverByAnotherUserIsNotUsed) {
    test::TemporaryFolder tmp;
    ::chmod(tmp.path().c_str(), 01777);
    const std::string savedRuntime = std::getenv("XDG_RUNTIME_DIR");
    const char* savedTmp = std::getenv("TMPDIR");
    ::unsetenv("XDG_RUNTIME_DIR");
    ::setenv("TMPDIR", tmp.path().c_str(), 1);
    const fs::path outer = tmp / ("keltotv-" + std::to_string(::getuid()));
    EXPECT_EQ(runtimeFolder(), outer / "keltotv");
    // The other user's folder: open to everybody, with their window description already inside.
    fs::create_directories(outer / "keltotv");
    ::chmod(outer.c_str(), 0777);
    if (::getuid() == 0) giveToOtherUser(outer);
    test::writeFile(outer / "keltotv" / ("w-" + std::to_string(::getppid()) + "-1.info"),
                    std::to_string(::getppid()) + "\n1\nVezidov ID\nVezidov ID\n");

    {
        WindowSystem system(runtimeFolder().string());
        EXPECT_FALSE(system.createWindow("KELTOTV", "KELTOTV", [](const WindowMessage&) { return std::int64_t(0); }));
        EXPECT_FALSE(system.findWindow("Vezidov ID", ""));
        NamedMutex::Result result;
        EXPECT_FALSE(NamedMutex::create("KELTO TV", result));
    }
    const std::string log = test::readFile(traceLogPath());
    EXPECT_NE(log.find("refusing the window folder: the folder " + outer.string()), std::string::npos) << log;

    ::setenv("XDG_RUNTIME_DIR", savedRuntime.c_str(), 1);
    if (savedTmp) ::setenv("TMPDIR", savedTmp, 1);
    else ::unsetenv("TMPDIR");
}

}  // namespace
}  // namespace kelto::platform
