#include "platform/ProfileFile.h"

#include "platform/Paths.h"
#include "tests/support/TestRoot.h"

#include <gtest/gtest.h>

namespace kelto::platform {
namespace {

class ProfileFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        file_ = (dir_ / "plans.ini").string();
        test::writeFile(file_,
                        "; comment line\r\n"
                        "[COUNTRY LIST]\r\n"
                        "Country_82 = KOREA \r\n"
                        "[Korea]\n"
                        "TUNER TYPE=Philips\n"
                        "Philips INTERMEDIATE FREQUENCY=  45750000\n"
                        "QUOTED=\"  spaced  \"\n"
                        "SIGNED=-12abc\n"
                        "PLUS=+7\n"
                        "LETTERS=abc\n"
                        "EMPTY=\n"
                        "LONG=" + std::string(300, 'x') + "\n"
                        "UTF8=" + std::string(254, 'y') + "é\n"
                        "[korea]\n"
                        "TUNER TYPE=second section loses\n");
    }
    test::TemporaryFolder dir_;
    std::string file_;
};

TEST_F(ProfileFileTest, ReadsTextsByNamesWithoutRegardToCase) {
    EXPECT_EQ(getPrivateProfileString("country list", "COUNTRY_82", "", file_), "KOREA");
    EXPECT_EQ(getPrivateProfileString("KOREA", "tuner type", "", file_), "Philips");
    EXPECT_EQ(getPrivateProfileString("Korea", "QUOTED", "", file_), "  spaced  ");
    EXPECT_EQ(getPrivateProfileString("Korea", "EMPTY", "dflt", file_), "");
    EXPECT_EQ(getPrivateProfileString("Korea", "absent", "dflt", file_), "dflt");
    EXPECT_EQ(getPrivateProfileString("Nowhere", "TUNER TYPE", "dflt", file_), "dflt");
    EXPECT_EQ(getPrivateProfileString("Korea", "TUNER TYPE", "dflt", (dir_ / "missing.ini").string()), "dflt");
}

TEST_F(ProfileFileTest, CutsValuesTo255BytesAtACharacterBoundary) {
    EXPECT_EQ(getPrivateProfileString("Korea", "LONG", "", file_), std::string(255, 'x'));
    // 254 'y' then a two-byte character: the character does not fit and is left out whole.
    EXPECT_EQ(getPrivateProfileString("Korea", "UTF8", "", file_), std::string(254, 'y'));
}

TEST_F(ProfileFileTest, ReadsIntegersByTheLeadingDigits) {
    EXPECT_EQ(getPrivateProfileInt("Korea", "Philips INTERMEDIATE FREQUENCY", 0, file_), 45750000);
    EXPECT_EQ(getPrivateProfileInt("Korea", "SIGNED", 0, file_), -12);
    EXPECT_EQ(getPrivateProfileInt("Korea", "PLUS", 0, file_), 7);
    EXPECT_EQ(getPrivateProfileInt("Korea", "LETTERS", 99, file_), 99);
    EXPECT_EQ(getPrivateProfileInt("Korea", "EMPTY", 99, file_), 99);
    EXPECT_EQ(getPrivateProfileInt("Korea", "absent", 45750000, file_), 45750000);
    EXPECT_EQ(parseProfileInt("  \t-0042x", 5), -42);
    EXPECT_EQ(parseProfileInt("-", 5), 5);
    EXPECT_EQ(parseProfileInt("99999999999", 5), 2147483647);
}

TEST_F(ProfileFileTest, TheFirstSectionOfAName) {
    EXPECT_EQ(getPrivateProfileSectionNames(file_), (std::vector<std::string>{"COUNTRY LIST", "Korea", "korea"}));
    EXPECT_EQ(getPrivateProfileKeyNames("COUNTRY LIST", file_), std::vector<std::string>{"Country_82"});
}

TEST_F(ProfileFileTest, ABareFileNameIsLookedUpInTheWindowsFolder) {
    test::writeFile(windowsFolder() / "Zududaz2000.ini", "[A]\nB=windows folder\n");
    EXPECT_EQ(getPrivateProfileString("A", "B", "", "Zududaz2000.ini"), "windows folder");
    EXPECT_EQ(resolveProfilePath("x.ini"), windowsFolder() / "x.ini");
}

TEST_F(ProfileFileTest, SeesAFileChangedOnDisk) {
    EXPECT_EQ(getPrivateProfileString("Korea", "TUNER TYPE", "", file_), "Philips");
    test::writeFile(file_, "[Korea]\nTUNER TYPE=Alps, a longer file now\n");
    EXPECT_EQ(getPrivateProfileString("Korea", "TUNER TYPE", "", file_), "Alps, a longer file now");
}

}  // namespace
}  // namespace kelto::platform
