// The video mode and its cycle, the display's timing, and the scheduler's operations on the same
// session.
#include "SessionRig.h"

#include "tests/support/TestRoot.h"
#include "viewer/core/ViewerCommands.h"

namespace kelto::viewer::test {
namespace {

using cardsim::AudioSource;
using cardsim::VideoInput;

// Ctrl+S pressed a number of times; the modes it went through.
std::vector<VideoMode> cycle(ViewerSession& s, int presses) {
    std::vector<VideoMode> modes;
    for (int i = 0; i < presses; ++i) {
        EXPECT_TRUE(runViewerCommand(s, command::kNextMode));
        modes.push_back(s.videoMode());
    }
    return modes;
}

TEST_F(SessionTest, TheModeCycleIncludesSvhsOnlyWhenItIsEnabled) {
    ViewerSession& s = start();
    using M = VideoMode;
    EXPECT_EQ(cycle(s, 4), (std::vector<M>{M::CATV, M::VIDEO, M::TV, M::CATV}));
    EXPECT_TRUE(runViewerCommand(s, command::kModeSvhsKey));  // Ctrl+4 without SVHS enabled
    EXPECT_EQ(s.videoMode(), M::CATV);
    EXPECT_FALSE(runViewerCommand(s, 32879));  // the menu's SVHS item has no handler

    settings.enableSvhs = 1;
    EXPECT_EQ(cycle(s, 4), (std::vector<M>{M::VIDEO, M::SVHS, M::TV, M::CATV}));
    EXPECT_EQ(osd.texts(), (std::vector<std::string>{"CATV", "VIDEO", "TV", "CATV", "VIDEO", "SVHS", "TV", "CATV"}));
    EXPECT_EQ(osd.shown.back(), (OsdText{"CATV", OsdAlign::Left, OsdEdge::Bottom, settings.osdColor, true, 10}));
    EXPECT_EQ(panel.videoMode, M::CATV);
}

TEST_F(SessionTest, EachModeReachesTheCardsInputAndSoundAndTheTunerModesRetune) {
    ViewerSession& s = start();
    settings.enableSvhs = 1;
    s.SetVideoMode(VideoMode::VIDEO);
    EXPECT_EQ(cardsim::lockCard()->video().input(), VideoInput::Composite);
    EXPECT_EQ(cardsim::lockCard()->audioSource(), AudioSource::ExternalInput);
    s.SetVideoMode(VideoMode::SVHS);
    EXPECT_EQ(cardsim::lockCard()->video().input(), VideoInput::SVideo);
    EXPECT_EQ(cardsim::lockCard()->audioSource(), AudioSource::ExternalInput);
    EXPECT_TRUE(dividersOnTheBus().empty());

    s.SetVideoMode(VideoMode::TV);
    EXPECT_EQ(cardsim::lockCard()->video().input(), VideoInput::Tuner);
    EXPECT_EQ(cardsim::lockCard()->audioSource(), AudioSource::Tuner);
    EXPECT_EQ(dividersOnTheBus(), (std::vector<int>{3536}));  // channel 7 again
    EXPECT_EQ(osd.lastText(), "TV");                          // the retune shows nothing
}

TEST_F(SessionTest, ASavedSvhsModeThatIsNotEnabledStartsOnTv) {
    settings.videoMode = VideoMode::SVHS;
    ViewerSession& s = start();
    EXPECT_EQ(s.videoMode(), VideoMode::TV);
    EXPECT_EQ(cardsim::lockCard()->video().input(), VideoInput::Tuner);
    EXPECT_EQ(panel.channelNumber, 7);
}

TEST_F(SessionTest, TheDisplayHidesTwoSecondsAfterItsLastText) {
    ViewerSession& s = start();
    s.muteToggle();
    EXPECT_TRUE(osd.visible);
    advanceMs(1500);
    s.muteToggle();  // a new text restarts the wait
    advanceMs(1999);
    EXPECT_TRUE(osd.visible);
    advanceMs(1);
    EXPECT_FALSE(osd.visible);

    s.channelUp();
    s.hideOsd();  // a resize of the window
    EXPECT_FALSE(osd.visible);
    EXPECT_FALSE(timers.running(kOsdTimer));
}

// What the reservation scheduler asks of the viewer goes through the same operations.
TEST_F(SessionTest, TheSchedulersOperationsDriveTheSameSession) {
    registerCable({3, 30});
    ViewerSession& s = start();
    ViewerControls& controls = s;
    controls.setVideoMode(VideoMode::CATV);
    controls.tuneChannel(30);
    EXPECT_EQ(controls.currentChannel(), 30);
    EXPECT_EQ(s.catvChannel(), 30);
    EXPECT_EQ(osd.lastText(), "CH  30");
    EXPECT_EQ(controls.registeredList(VideoMode::CATV).count, 2);
    EXPECT_EQ(controls.channelBounds(), model.bounds());
    EXPECT_EQ(controls.countryCode(), 1);

    // Without the capture window nothing records.
    EXPECT_FALSE(controls.recordStream("x.AVI"));

    kelto::test::TemporaryFolder folder;
    settings.streamFormat = 1;
    settings.mpg1Directory = folder.path().string();
    settings.mpg1FileName = "MPGOne";
    kelto::test::writeFile(folder / "MPGOne7.MPG", "");
    EXPECT_EQ(controls.nextRecordingFileName(), (folder / "MPGOne8.MPG").string());
}

// Stands for the capture window: a recording that the scheduler ends while it runs.
struct EndedRecording : RecordingPort {
    RecordingSetup recordingSetup() override { return setup; }
    void setRecordingSetup(const RecordingSetup& s) override { setup = s; }
    bool recordStream(const std::string& file, int streamFormat) override {
        files.push_back(file);
        format = streamFormat;
        runningWhileRecording = session->recording();
        secondRecordingRefused = !session->recordStream("other.AVI");
        session->endRecording();
        return stopped;
    }
    void stopRecording() override { stopped = true; }
    ViewerSession* session = nullptr;
    RecordingSetup setup;
    std::vector<std::string> files;
    int format = -1;
    bool runningWhileRecording = false;
    bool secondRecordingRefused = false;
    bool stopped = false;
};

TEST_F(SessionTest, ARecordingRunsOnceAtATimeAndCanBeEnded) {
    EndedRecording capture;
    recorder = &capture;
    settings.streamFormat = 2;
    ViewerSession& s = start();
    capture.session = &s;
    s.setRecordingSetup({25, 1, 60, 1});
    EXPECT_EQ(s.recordingSetup(), (RecordingSetup{25, 1, 60, 1}));
    EXPECT_TRUE(s.recordStream("a.MPG"));
    EXPECT_EQ(capture.files, (std::vector<std::string>{"a.MPG"}));
    EXPECT_EQ(capture.format, 2);
    EXPECT_TRUE(capture.runningWhileRecording);
    EXPECT_TRUE(capture.secondRecordingRefused);
    EXPECT_TRUE(capture.stopped);
    EXPECT_FALSE(s.recording());
    s.endRecording();  // nothing running: nothing asked of the capture window
}

}  // namespace
}  // namespace kelto::viewer::test
