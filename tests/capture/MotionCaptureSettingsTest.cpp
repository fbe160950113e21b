#include "tests/capture/CaptureFixture.h"

#include "settings/ViewerSettings.h"
#include "capture/MotionCaptureSettings.h"

namespace kelto::capture::test {
namespace {

TEST_F(CaptureFixture, AudioFormatTravelsBetweenStoreAndDriver) {
    createAndConnect();
    // Defaults come from the driver while the store holds nothing.
    EXPECT_EQ(GetAudioFormat(*window, store), (AudioFormatValues{2, 16, 44100}));

    SetAudioFormat(*window, store, {2, 16, 44100});
    WaveFormat sent{};
    ASSERT_EQ(window->GetAudioFormat(std::as_writable_bytes(std::span(&sent, 1))), 18);
    EXPECT_EQ(sent.formatTag, 1);
    EXPECT_EQ(sent.blockAlign, 4);
    EXPECT_EQ(sent.avgBytesPerSec, 176400u);
    EXPECT_EQ(sent.extraSize, 0);

    SetAudioFormat(*window, store, {1, 8, 22050});
    EXPECT_EQ(store.readInt(section::kUser, "nChannel", 0), 1);
    EXPECT_EQ(store.readInt(section::kUser, "wSample", 0), 8);
    EXPECT_EQ(store.readInt(section::kUser, "dwFrequency", 0), 22050);
    EXPECT_EQ(GetAudioFormat(*window, store), (AudioFormatValues{1, 8, 22050}));
    ASSERT_EQ(window->GetAudioFormat(std::as_writable_bytes(std::span(&sent, 1))), 18);
    EXPECT_EQ(sent.blockAlign, 1);
    EXPECT_EQ(sent.avgBytesPerSec, 22050u);
}

TEST_F(CaptureFixture, NoAudioFormatMeansNothingIsReadOrWritten) {
    EXPECT_EQ(GetAudioFormat(*window, store), std::nullopt);  // no window
    SetAudioFormat(*window, store, {1, 8, 11025});
    EXPECT_EQ(store.readInt(section::kUser, "nChannel", -1), -1);
}

TEST_F(CaptureFixture, RecordingSetUpConvertsFramePeriodsAndTraces) {
    createAndConnect();
    EXPECT_EQ(GetRecordingSetup(*window, store), (RecordingSetupValues{30, 0, 0, 1}));  // 33367 us -> 30

    SetRecordingSetup(*window, store, {30, 1, 10800, 1});
    CaptureSequenceSetup setup;
    window->GetSequenceSetup(setup);
    EXPECT_EQ(setup.requestMicroSecPerFrame, 33333u);
    EXPECT_EQ(setup.limitEnabled, 1);
    EXPECT_EQ(setup.timeLimitSeconds, 10800u);
    EXPECT_EQ(setup.captureAudio, 1);
    EXPECT_EQ(setup.streamMaster, kStreamMasterNone);
    EXPECT_EQ(setup.keyAbort, kVirtualKeyEscape);  // the driver's own fields stay
    EXPECT_EQ(setup.abortLeftMouse, 1);
    EXPECT_EQ(store.readInt(section::kUser, "framerate", 0), 30);
    EXPECT_EQ(store.readInt(section::kUser, "totalsecond", 0), 10800);

    SetRecordingSetup(*window, store, {1, 0, 75, 0});
    window->GetSequenceSetup(setup);
    EXPECT_EQ(setup.requestMicroSecPerFrame, 1'000'000u);
    EXPECT_EQ(setup.streamMaster, kStreamMasterAudio);
    EXPECT_EQ(GetRecordingSetup(*window, store), (RecordingSetupValues{1, 0, 75, 0}));

    const std::string log = traceLog();
    const auto t1 = log.find("test 1\n"), t2 = log.find("test 2\n"), t3 = log.find("test 3\n"), t4 = log.find("test 4\n");
    ASSERT_NE(t4, std::string::npos);
    EXPECT_LT(t1, t2);
    EXPECT_LT(t2, t3);
    EXPECT_LT(t3, t4);
}

}  // namespace
}  // namespace kelto::capture::test
