// Numbered still names at the edges of the rule: numbers of zero, letters among the last three
// characters, the digit that falls off the front past 999, stems that are only the start of a
// longer word, other extensions, and short folder texts.
#include "capture/NextCaptureFileName.h"
#include "tests/support/TestRoot.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace kelto::capture {
namespace {

class CaptureNamingCasesTest : public ::testing::Test {
protected:
    void touch(const std::string& name) { test::writeFile(folder / name, "x"); }
    std::string next(const std::string& stem = "Kelto") {
        return NextCaptureFileName(folder.path().string(), stem, StillFileType::Bmp);
    }
    std::string expected(const std::string& name) { return (folder / name).string(); }

    test::TemporaryFolder folder{"capture-name-cases"};
};

TEST_F(CaptureNamingCasesTest, ANumberOfZeroCountsAsFoundAndTheNextIsOne) {
    touch("Kelto0.BMP");
    EXPECT_EQ(next(), expected("Kelto1.BMP"));
    std::filesystem::remove(folder / "Kelto0.BMP");
    touch("Kelto000.BMP");
    EXPECT_EQ(next(), expected("Kelto1.BMP"));
}

TEST_F(CaptureNamingCasesTest, LettersAmongTheLastThreeCountZeroInTheirPlace) {
    touch("Kelto12a.BMP");  // 1 x 100 + 2 x 10 + 0
    EXPECT_EQ(next(), expected("Kelto121.BMP"));
    touch("Kelto9ab.BMP");  // 9 x 100
    EXPECT_EQ(next(), expected("Kelto901.BMP"));
}

TEST_F(CaptureNamingCasesTest, PastNineHundredNinetyNineOnlyTheLastThreeDigitsCount) {
    touch("Kelto999.BMP");
    EXPECT_EQ(next(), expected("Kelto1000.BMP"));
    std::filesystem::remove(folder / "Kelto999.BMP");
    touch("Kelto1000.BMP");  // counts 0
    EXPECT_EQ(next(), expected("Kelto1.BMP"));
}

TEST_F(CaptureNamingCasesTest, TheStemAloneInAnotherCaseIsTakenAndLongerWordsAreNot) {
    touch("KELTO.bmp");
    EXPECT_EQ(next(), expected("Kelto1.BMP"));
    touch("Keltonia5.BMP");  // the stem is only the start of another word
    touch("Kelto.5.BMP");    // a dot after the stem
    touch("Kelto 6.BMP");    // a space after the stem
    EXPECT_EQ(next(), expected("Kelto1.BMP"));
    EXPECT_EQ(next("Kel"), expected("Kel.BMP"));
}

TEST_F(CaptureNamingCasesTest, OnlyTheThreeLetterExtensionCounts) {
    touch("Kelto5.BMPX");
    touch("Kelto6.BM");
    touch("Kelto7.BMP.bak");
    touch("Kelto8.jpg");
    EXPECT_EQ(next(), expected("Kelto.BMP"));
    touch("Kelto4.Bmp");
    EXPECT_EQ(next(), expected("Kelto5.BMP"));
}

// Only a folder text ending in "/" (the root among them) goes without a separator; three
// characters are an ordinary folder name here.
TEST_F(CaptureNamingCasesTest, ShortFolderTexts) {
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(folder.path());
    std::filesystem::create_directory("Pix");
    test::writeFile("Pix/Kelto.BMP", "x");
    const std::string inPix = NextCaptureFileName("Pix", "Kelto", StillFileType::Bmp);
    const std::string inPixSlash = NextCaptureFileName("Pi/", "Kelto", StillFileType::Bmp);
    std::filesystem::current_path(previous);
    EXPECT_EQ(inPix, "Pix/Kelto1.BMP");
    EXPECT_EQ(inPixSlash, "Pi/Kelto.BMP");
    EXPECT_EQ(NextCaptureFileName("/", "KeltoNamingCaseStem", StillFileType::Bmp), "/KeltoNamingCaseStem.BMP");
}

}  // namespace
}  // namespace kelto::capture
