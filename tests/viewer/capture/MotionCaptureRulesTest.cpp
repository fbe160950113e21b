// What the motion page and its dialogs decide, without widgets: the summary text, the audio
// format's radio indexes, the recording limits' checks and corrections, the folder and stem of
// the recording type, and the recording indicator's text.
#include "viewer/capture/CaptureFolderBrowser.h"
#include "viewer/capture/MotionCaptureRules.h"
#include "viewer/osd/RecordingClock.h"

#include "tests/support/TestRoot.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace kelto::viewer::capturesheet {
namespace {

using capture::AudioFormatValues;
using capture::RecordingSetupValues;

TEST(FileFormatSummaryTest, ListsSizeRateLimitAndSoundLineByLine) {
    FileFormatSummary summary;
    summary.width = 640;
    summary.height = 480;
    summary.setup = {25, 1, 125, 1};
    summary.audio = {2, 16, 44100};
    EXPECT_EQ(fileFormatSummaryText(summary),
              "======================\r\n"
              "  SAVE FILE FORMAT\r\n"
              "======================\r\n"
              "Capture Size : 640 * 480\n\r"
              "Frame Rate : 25fps\n\r"
              "Time Limit : 125sec\n\r"
              "Channels : Stereo\n\r"
              "Bits Per Sample : 16bit\n\r"
              "Sample Rate : 44khz\n\r");
}

TEST(FileFormatSummaryTest, LimitOffReadsZeroMonoAndRatesInWholeKilohertz) {
    FileFormatSummary summary;
    summary.setup = {30, 0, 600, 0};
    summary.audio = {1, 8, 22050};
    const std::string text = fileFormatSummaryText(summary);
    EXPECT_NE(text.find("Time Limit : 0sec\n\r"), std::string::npos) << text;
    EXPECT_NE(text.find("Channels : Mono\n\r"), std::string::npos) << text;
    EXPECT_NE(text.find("Bits Per Sample : 8bit\n\r"), std::string::npos) << text;
    EXPECT_NE(text.find("Sample Rate : 22khz\n\r"), std::string::npos) << text;
    summary.audio.samplesPerSec = 11025;
    EXPECT_NE(fileFormatSummaryText(summary).find("Sample Rate : 11khz\n\r"), std::string::npos);
}

TEST(AudioFormatIndexesTest, EachFormatMarksItsRadiosAndOkGivesItBack) {
    struct Case {
        AudioFormatValues format;
        AudioFormatIndexes indexes;
    };
    for (const Case& c : {Case{{2, 16, 44100}, {1, 1, 2}}, Case{{1, 8, 11025}, {0, 0, 0}}, Case{{1, 16, 22050}, {1, 0, 1}},
                          Case{{2, 8, 22050}, {0, 1, 1}}}) {
        EXPECT_EQ(audioFormatIndexes(c.format), c.indexes) << c.format.channels << "/" << c.format.bitsPerSample;
        EXPECT_EQ(audioFormatFromIndexes(c.indexes), c.format);
    }
}

TEST(AudioFormatIndexesTest, AFormatBeyondTheChoicesMarksTheNearestRadio) {
    // A driver format the dialog has no radio for still leaves one radio of each group checked,
    // so OK never stores a format of 0 bits or 0 channels.
    EXPECT_EQ(audioFormatIndexes({6, 32, 96000}), (AudioFormatIndexes{1, 1, 2}));
    EXPECT_EQ(audioFormatIndexes({0, 4, 8000}), (AudioFormatIndexes{0, 0, 0}));
    EXPECT_EQ(audioFormatIndexes({2, 16, 48000}).rate, 2);
}

TEST(RecordingLimitsTest, FrameRateOneToNinetyNine) {
    RecordingLimits limits;
    for (int rate : {1, 99, 30}) {
        limits.frameRate = rate;
        EXPECT_EQ(checkRecordingLimits(limits), LimitsCheck::Accepted) << rate;
    }
    for (int rate : {0, 100, -5}) {
        limits.frameRate = rate;
        EXPECT_EQ(checkRecordingLimits(limits), LimitsCheck::BadFrameRate) << rate;
        EXPECT_EQ(correctedLimits(limits, LimitsCheck::BadFrameRate).frameRate, 30);
    }
}

TEST(RecordingLimitsTest, TimeLimitOneSecondToThreeHoursWhileOn) {
    RecordingLimits limits;
    limits.limitOn = true;
    struct Case {
        int minutes, seconds;
        LimitsCheck check;
    };
    for (const Case& c : {Case{180, 0, LimitsCheck::Accepted}, Case{0, 1, LimitsCheck::Accepted},
                          Case{180, 1, LimitsCheck::BadTimeLimit}, Case{0, 0, LimitsCheck::BadTimeLimit}}) {
        limits.minutes = c.minutes;
        limits.seconds = c.seconds;
        EXPECT_EQ(checkRecordingLimits(limits), c.check) << c.minutes << ":" << c.seconds;
    }
    const RecordingLimits corrected = correctedLimits(limits, LimitsCheck::BadTimeLimit);
    EXPECT_EQ(corrected.minutes, 1);
    EXPECT_EQ(corrected.seconds, 0);
    // The frame rate is checked first.
    limits.frameRate = 0;
    EXPECT_EQ(checkRecordingLimits(limits), LimitsCheck::BadFrameRate);
}

TEST(RecordingLimitsTest, WithTheLimitOffAnyTimeIsStoredAsEntered) {
    RecordingLimits limits;
    limits.limitOn = false;
    for (auto [minutes, seconds] : {std::pair{0, 0}, std::pair{180, 59}, std::pair{500, 7}}) {
        limits.minutes = minutes;
        limits.seconds = seconds;
        EXPECT_EQ(checkRecordingLimits(limits), LimitsCheck::Accepted);
        EXPECT_EQ(recordingSetupFrom(limits).limitSeconds, minutes * 60 + seconds);
        EXPECT_EQ(recordingSetupFrom(limits).limitFlag, 0);
    }
}

TEST(RecordingLimitsTest, SetupSplitsIntoMinutesAndSecondsAndBack) {
    const RecordingSetupValues setup{15, 1, 3725, 0};
    const RecordingLimits limits = recordingLimitsFrom(setup);
    EXPECT_EQ(limits, (RecordingLimits{15, true, 62, 5, false}));
    EXPECT_EQ(recordingSetupFrom(limits), setup);
}

class RecordingFileTest : public ::testing::Test {
protected:
    void touch(const std::string& name) { test::writeFile(folder / name, "x"); }
    test::TemporaryFolder folder{"motion"};
    ViewerSettings settings;
};

TEST_F(RecordingFileTest, EachTypeHasItsFolderAndStem) {
    settings.aviDirectory = "a";
    settings.aviFileName = "Kelto";
    settings.mpg1Directory = "b";
    settings.mpg1FileName = "MPGOne";
    settings.mpg2Directory = "c";
    settings.mpg2FileName = "MPGTwo";
    const char* folders[] = {"a", "b", "c", "a"};
    const char* stems[] = {"Kelto", "MPGOne", "MPGTwo", "Kelto"};
    for (int type = 0; type < 4; ++type) {
        settings.streamFormat = type;
        EXPECT_EQ(recordingFolder(settings), folders[type]) << type;
        EXPECT_EQ(recordingStem(settings), stems[type]) << type;
    }
}

TEST_F(RecordingFileTest, MpegOneNumbersOnAndMpegTwoSharesTheSequence) {
    settings.mpg1Directory = settings.mpg2Directory = folder.path().string();
    settings.mpg1FileName = settings.mpg2FileName = "MPGOne";
    settings.streamFormat = 1;
    EXPECT_EQ(nextRecordingFile(settings), (folder / "MPGOne.MPG").string());
    touch("MPGOne.MPG");
    EXPECT_EQ(nextRecordingFile(settings), (folder / "MPGOne1.MPG").string());
    touch("MPGOne1.MPG");
    settings.streamFormat = 2;
    EXPECT_EQ(nextRecordingFile(settings), (folder / "MPGOne2.MPG").string());
}

TEST_F(RecordingFileTest, AMissingFolderStopsACaptureHoweverShortItsName) {
    EXPECT_FALSE(captureFolderMissing(folder.path().string()));
    EXPECT_TRUE(captureFolderMissing((folder / "gone").string()));
    EXPECT_TRUE(captureFolderMissing("C:\\"));  // no drive root here: three characters are a name
    EXPECT_TRUE(captureFolderMissing(""));
    EXPECT_FALSE(captureFolderMissing("/"));
    test::writeFile(folder / "plain", "x");
    EXPECT_TRUE(captureFolderMissing((folder / "plain").string()));  // a file is no folder
}

TEST(RecordingClockTest, RecordedTimeFromPicturesAndItsText) {
    EXPECT_EQ(recordedMs(30, 33333), 999u);
    EXPECT_EQ(recordedMs(31, 33333), 1033u);
    EXPECT_EQ(recordingIndicatorText(0), "REC 0:00:00");
    EXPECT_EQ(recordingIndicatorText(999), "REC 0:00:00");
    EXPECT_EQ(recordingIndicatorText(1000), "REC 0:00:01");
    EXPECT_EQ(recordingIndicatorText(3'725'999), "REC 1:02:05");
    EXPECT_EQ(recordingIndicatorText(10800ull * 1000 * 5), "REC 15:00:00");
}

}  // namespace
}  // namespace kelto::viewer::capturesheet
