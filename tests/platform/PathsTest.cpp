#include "platform/Paths.h"

#include "tests/support/TestRoot.h"

#include <gtest/gtest.h>

namespace kelto::platform {
namespace {

TEST(PathsTest, TheCaptureFolderLiesBesideTheProgramFolder) {
    EXPECT_EQ(deriveCaptureFolder("/a/b/KeltoTV"), "/a/Capture");
    EXPECT_EQ(deriveCaptureFolder("/home/me/.local/share/KeltoTV/Program/KeltoTV"),
              "/home/me/.local/share/KeltoTV/Capture");
    EXPECT_EQ(deriveCaptureFolder("/b/KeltoTV"), "/Capture");
    EXPECT_EQ(programPath(), keltoRoot() / "Program" / "KeltoTV");
    EXPECT_EQ(deriveCaptureFolder(programPath().string()), (keltoRoot() / "Capture").string());
}

TEST(PathsTest, TheFirstRunLaysOutTheRootAndCopiesTheCountryFileOnce) {
    test::TemporaryFolder data;
    test::writeFile(data / "Zududaz2000.ini", "[COUNTRY LIST]\n");
    ::setenv("KELTO_DATA_DIR", data.path().c_str(), 1);
    EXPECT_TRUE(prepareInstallRoot());
    EXPECT_TRUE(std::filesystem::is_directory(programFolder()));
    EXPECT_TRUE(std::filesystem::is_directory(registryFolder()));
    EXPECT_EQ(test::readFile(windowsFolder() / "Zududaz2000.ini"), "[COUNTRY LIST]\n");

    // A file the user has (in any spelling) is left alone.
    std::filesystem::remove(windowsFolder() / "Zududaz2000.ini");
    test::writeFile(windowsFolder() / "zududaz2000.ini", "mine");
    EXPECT_TRUE(prepareInstallRoot());
    EXPECT_FALSE(std::filesystem::exists(windowsFolder() / "Zududaz2000.ini"));
    EXPECT_EQ(test::readFile(windowsFolder() / "zududaz2000.ini"), "mine");
    ::unsetenv("KELTO_DATA_DIR");
}

}  // namespace
}  // namespace kelto::platform
