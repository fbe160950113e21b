#include "capture/NextCaptureFileName.h"
#include "tests/support/TestRoot.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace kelto::capture {
namespace {

class NextCaptureFileNameTest : public ::testing::Test {
protected:
    void touch(const std::string& name) { test::writeFile(folder / name, "x"); }
    std::string next(const std::string& stem, StillFileType type = StillFileType::Bmp) {
        return NextCaptureFileName(folder.path().string(), stem, type);
    }
    std::string expected(const std::string& name) { return (folder / name).string(); }

    test::TemporaryFolder folder{"capture-names"};
};

TEST_F(NextCaptureFileNameTest, CountsUpFromTheStemAlone) {
    EXPECT_EQ(next("Kelto"), expected("Kelto.BMP"));
    touch("Kelto.BMP");
    EXPECT_EQ(next("Kelto"), expected("Kelto1.BMP"));
    touch("Kelto1.BMP");
    touch("Kelto2.BMP");
    EXPECT_EQ(next("Kelto"), expected("Kelto3.BMP"));
}

TEST_F(NextCaptureFileNameTest, HighestNumberWinsAndOnlyTheLastThreeCharactersCount) {
    touch("Kelto7.BMP");
    touch("Kelto12.BMP");
    EXPECT_EQ(next("Kelto"), expected("Kelto13.BMP"));

    std::filesystem::remove(folder / "Kelto7.BMP");
    std::filesystem::remove(folder / "Kelto12.BMP");
    touch("Kelto1234.BMP");
    EXPECT_EQ(next("Kelto"), expected("Kelto235.BMP"));
}

TEST_F(NextCaptureFileNameTest, NonDigitsAfterTheFirstDigitCountZero) {
    touch("Kelto7x.BMP");
    EXPECT_EQ(next("Kelto"), expected("Kelto71.BMP"));
}

TEST_F(NextCaptureFileNameTest, CaseIsIgnoredAndOtherNamesAreSkipped) {
    touch("KELTO3.bmp");
    touch("Kelto_3.BMP");   // the character after the stem is no digit
    touch("Kelto9.JPG");    // another extension
    touch("Other5.BMP");    // another stem
    touch("Kelto8");        // no extension
    std::filesystem::create_directory(folder / "Kelto50.BMP");  // a folder
    EXPECT_EQ(next("Kelto"), expected("Kelto4.BMP"));
    // The stem keeps its own case; the extension is upper case.
    EXPECT_EQ(next("kelto"), expected("kelto4.BMP"));
    EXPECT_EQ(next("Kelto", StillFileType::Jpg), expected("Kelto10.JPG"));
}

TEST_F(NextCaptureFileNameTest, MpegOneAndTwoShareOneNumbering) {
    const std::string dir = folder.path().string();
    EXPECT_EQ(NextCaptureFileName(dir, "MPGOne", RecordingType::Mpeg1), expected("MPGOne.MPG"));
    touch("MPGOne.MPG");
    EXPECT_EQ(NextCaptureFileName(dir, "MPGOne", RecordingType::Mpeg1), expected("MPGOne1.MPG"));
    touch("MPGOne1.MPG");
    EXPECT_EQ(NextCaptureFileName(dir, "MPGOne", RecordingType::Mpeg2), expected("MPGOne2.MPG"));
    EXPECT_EQ(NextCaptureFileName(dir, "MPGOne", RecordingType::Avi), expected("MPGOne.AVI"));
}

TEST_F(NextCaptureFileNameTest, SeparatorAndMissingFolder) {
    const std::string withSlash = folder.path().string() + "/";
    EXPECT_EQ(NextCaptureFileName(withSlash, "Kelto", StillFileType::Bmp), withSlash + "Kelto.BMP");
    EXPECT_EQ(NextCaptureFileName((folder / "missing").string(), "Kelto", StillFileType::Bmp),
              (folder / "missing" / "Kelto.BMP").string());
}

TEST(CaptureTypesTest, FramePeriodConversions) {
    EXPECT_EQ(framePeriodUsFromRate(30), 33333u);
    EXPECT_EQ(frameRateFromPeriodUs(33333), 30);
    EXPECT_EQ(frameRateFromPeriodUs(33367), 30);  // 29.97 frames/s
    EXPECT_EQ(frameRateFromPeriodUs(40000), 25);
    EXPECT_EQ(framePeriodUsFromRate(1), 1'000'000u);
    EXPECT_EQ(framePeriodUsFromRate(99), 10101u);
    EXPECT_EQ(framePeriodUsFromRate(0), 1'000'000u);  // no division by zero
    EXPECT_EQ(frameRateFromPeriodUs(0), 0);
    EXPECT_EQ(recordingTypeFrom(2), RecordingType::Mpeg2);
    EXPECT_EQ(recordingTypeFrom(7), RecordingType::Avi);
    EXPECT_EQ(stillFileTypeFrom(1), StillFileType::Jpg);
    EXPECT_EQ(stillFileTypeFrom(-1), StillFileType::Bmp);
}

}  // namespace
}  // namespace kelto::capture
