#include "platform/DynamicLibrary.h"

#include "tests/support/TestRoot.h"

#include <gtest/gtest.h>

namespace kelto::platform {
namespace {

class DynamicLibraryTest : public ::testing::Test {
protected:
    void SetUp() override { ::setenv("KELTO_TESTMODULE_LOG", log_.c_str(), 1); }
    void TearDown() override { ::unsetenv("KELTO_TESTMODULE_LOG"); }
    std::string entries() const { return test::readFile(log_); }

    test::TemporaryFolder dir_;
    std::string log_ = (dir_ / "entry.log").string();
};

TEST_F(DynamicLibraryTest, MapsWindowsNamesToSharedObjects) {
    EXPECT_EQ(sharedObjectNameFor("RURORIZI.DLL"), "librurorizi.so");
    EXPECT_EQ(sharedObjectNameFor("BtVid_32.dll"), "libbtvid_32.so");
    EXPECT_EQ(sharedObjectNameFor("C:\\Windows\\System\\BtAud.dll"), "libbtaud.so");
    EXPECT_EQ(sharedObjectNameFor("libx.so"), "libx.so");
}

TEST_F(DynamicLibraryTest, LoadsFromTheProgramFolderWithoutRegardToCaseAndCountsReferences) {
    ModuleHandle first = loadLibrary("KELTO_TESTMODULE_OK.DLL");
    ASSERT_NE(first, nullptr) << lastLoadError();
    EXPECT_EQ(std::filesystem::path(modulePath(first)).parent_path(), test::binaryFolder());
    ModuleHandle second = loadLibrary("kelto_testmodule_ok.dll");
    EXPECT_EQ(first, second);
    EXPECT_EQ(entries(), "attach\n");

    auto answer = getProc<int (*)()>(first, "TestModuleAnswer");
    ASSERT_NE(answer, nullptr);
    EXPECT_EQ(answer(), 42);
    EXPECT_EQ(getProcAddress(first, "NoSuchExport"), nullptr);

    EXPECT_TRUE(freeLibrary(second));
    EXPECT_EQ(entries(), "attach\n");
    EXPECT_TRUE(freeLibrary(first));
    EXPECT_EQ(entries(), "attach\ndetach\n");
    EXPECT_FALSE(freeLibrary(nullptr));
}

TEST_F(DynamicLibraryTest, AFailedAttachFailsTheLoadWithoutADetach) {
    EXPECT_EQ(loadLibrary("Kelto_TestModule_fail.dll"), nullptr);
    EXPECT_NE(lastLoadError().find("initialisation failed"), std::string::npos);
    EXPECT_EQ(entries(), "attach\n");
    // The module was unloaded: loading again runs attach again.
    EXPECT_EQ(loadLibrary("Kelto_TestModule_fail.dll"), nullptr);
    EXPECT_EQ(entries(), "attach\nattach\n");
}

TEST_F(DynamicLibraryTest, AMissingLibrarySaysWhich) {
    EXPECT_EQ(loadLibrary("NOTHERE.DLL"), nullptr);
    EXPECT_NE(lastLoadError().find("libnothere.so"), std::string::npos);
}

}  // namespace
}  // namespace kelto::platform
