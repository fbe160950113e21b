// The motion page of the capture sheet on a real viewer over the simulated card: what it shows,
// the folder and stem it changes, and "&Capture": the file it records (read back with FFmpeg),
// the status line and the recording indicator meanwhile, Esc and the mouse ending it, the busy
// time after a click, and the refusal of a missing folder.
#include "tests/viewer/capture/MotionPageRig.h"

#include "tests/capture/MediaProbe.h"
#include "viewer/capture/CCaptureFileNameDlg.h"
#include "viewer/capture/CaptureFolderBrowser.h"
#include "viewer/osd/RecordingIndicator.h"

#include <QLabel>
#include <QLineEdit>

#include <cmath>

namespace kelto::test {
namespace {

using capture::test::MediaProbe;
using capture::test::probeMedia;
using viewer::RecordingIndicator;
using viewer::capturesheet::CCaptureFileNameDlg;

class MotionPageTest : public MotionPageRig {
protected:
    void TearDown() override {
        viewer::capturesheet::setCaptureFolderAnswerer(nullptr);
        MotionPageRig::TearDown();
    }
    std::string inFolder(const char* name) const { return (folder / name).string(); }
    RecordingIndicator* indicator() const { return picture()->findChild<RecordingIndicator*>(); }
    // What the page and the picture show at picture `atIndex` of the next recording.
    struct DuringRecording {
        std::string status;
        QString indicatorText;
        bool indicatorVisible = false;
        bool seen = false;
    };
    void watchRecording(std::uint32_t atIndex, DuringRecording& seen, std::function<void()> then = {}) {
        picture()->service().setSequenceObserver([this, atIndex, &seen, then](std::uint32_t index) {
            if (index != atIndex) return;
            seen.seen = true;
            if (page()) seen.status = page()->statusText();  // no sheet for a Ctrl+R recording
            if (RecordingIndicator* shown = indicator()) {
                seen.indicatorText = shown->text();
                seen.indicatorVisible = shown->isVisible();
            }
            if (then) then();
        });
    }
};

TEST_F(MotionPageTest, ShowsTheNextFileOfTheRecordingTypeAndHidesTheFileTypeChoice) {
    ASSERT_TRUE(openPage());
    EXPECT_EQ(page()->locationText(), inFolder("Kelto.AVI"));
    EXPECT_EQ(page()->stemText(), "Kelto");
    EXPECT_EQ(page()->statusText(), "Start Capture..");
    EXPECT_TRUE(page()->control(CCapturePage2::kAudioButton)->isEnabled());
    EXPECT_TRUE(page()->control(CCapturePage2::kFileTypeGroup)->isHidden());
    for (int radio : CCapturePage2::kFileTypeRadios) EXPECT_TRUE(page()->control(radio)->isHidden()) << radio;
    // The summary as the capture window's format and set-up give it, and as the label shows it.
    EXPECT_EQ(page()->summaryText().rfind("======================\r\n  SAVE FILE FORMAT\r\n", 0), 0u);
    EXPECT_NE(page()->summaryText().find("Capture Size : 320 * 240\n\r"), std::string::npos) << page()->summaryText();
    const QString shown = page()->control<QLabel>(CCapturePage2::kSummaryText)->text();
    EXPECT_FALSE(shown.contains('\r'));
    EXPECT_TRUE(shown.contains("Capture Size : 320 * 240\n")) << shown.toStdString();

    // The viewer's menu chooses the type; the page follows.
    viewer->wiring().sendCommand(32873);
    EXPECT_EQ(page()->locationText(), inFolder("MPGOne.MPG"));
    EXPECT_EQ(page()->stemText(), "MPGOne");
    viewer->wiring().sendCommand(32874);
    EXPECT_EQ(page()->locationText(), inFolder("MPGTwo.MPG"));
}

TEST_F(MotionPageTest, StemAndFolderChangeTheCurrentTypesPair) {
    ASSERT_TRUE(openPage());
    viewer->wiring().sendCommand(32873);
    std::string offered;
    answerDialog<CCaptureFileNameDlg>([&offered](CCaptureFileNameDlg& dialog) {
        auto* edit = dialog.control<QLineEdit>(CCaptureFileNameDlg::kNameEdit);
        offered = edit->text().toStdString();
        edit->setText("Match");
        dialog.wiring().sendCommand(framework::IDOK);
    });
    press(CCapturePage2::kStemChangeButton);
    EXPECT_EQ(offered, "MPGOne");
    EXPECT_EQ(viewer->settings().mpg1FileName, "Match");
    EXPECT_EQ(viewer->settings().aviFileName, "Kelto");
    EXPECT_EQ(page()->stemText(), "Match");
    EXPECT_EQ(page()->locationText(), inFolder("Match.MPG"));

    std::filesystem::create_directory(folder / "sport");
    std::string startedAt;
    viewer::capturesheet::setCaptureFolderAnswerer([&](const std::string& current) -> std::optional<std::string> {
        startedAt = current;
        return (folder / "sport").string();
    });
    press(CCapturePage2::kFolderChangeButton);
    EXPECT_EQ(startedAt, folder.path().string());
    EXPECT_EQ(viewer->settings().mpg1Directory, (folder / "sport").string());
    EXPECT_EQ(page()->locationText(), (folder / "sport" / "Match.MPG").string());

    // A cancelled browser leaves the folder.
    viewer::capturesheet::setCaptureFolderAnswerer([](const std::string&) { return std::nullopt; });
    press(CCapturePage2::kFolderChangeButton);
    EXPECT_EQ(viewer->settings().mpg1Directory, (folder / "sport").string());
}

// "&Capture" records a two-second AVI: FFmpeg reads MJPEG pictures and PCM sound lasting two
// seconds within one picture; meanwhile the status line says how to end it and the picture
// carries the recording indicator, which goes with the recording.
TEST_F(MotionPageTest, CaptureRecordsTheNextFileWithStatusAndIndicator) {
    ASSERT_TRUE(openPage());
    limitRecordingTo(2);
    DuringRecording seen;
    watchRecording(40, seen);
    press(CCapturePage2::kCaptureButton);
    picture()->service().setSequenceObserver({});

    EXPECT_TRUE(boxes.empty());
    ASSERT_TRUE(seen.seen);
    EXPECT_EQ(seen.status, LoadMessage(CCapturePage2::kCapturingString));
    EXPECT_TRUE(seen.indicatorVisible);
    EXPECT_EQ(seen.indicatorText, "REC 0:00:01");  // 41 pictures of 33 333 us
    EXPECT_FALSE(indicator());
    EXPECT_EQ(page()->statusText(), "Capture finished.");
    ASSERT_EQ(fileNames(folder.path()), std::vector<std::string>{"Kelto.AVI"});
    EXPECT_EQ(page()->locationText(), inFolder("Kelto1.AVI"));

    const MediaProbe probe = probeMedia(folder / "Kelto.AVI");
    ASSERT_TRUE(probe.opened);
    EXPECT_EQ(probe.container, "avi");
    ASSERT_TRUE(probe.hasVideo);
    EXPECT_EQ(probe.videoCodec, AV_CODEC_ID_MJPEG);
    EXPECT_LE(std::abs(probe.videoSeconds() - 2.0), 1.0 / 30 + 1e-6) << probe.decodedFrames << " pictures";
    ASSERT_TRUE(probe.hasAudio);
    EXPECT_EQ(probe.audioCodec, AV_CODEC_ID_PCM_S16LE);
    EXPECT_NEAR(probe.audioSeconds(), 2.0, 1.0 / 30);
}

// While the 2000 ms busy time of a click runs (it is seen after the recording, which blocks), a
// second click records nothing; afterwards MPEG-1 files of one stem number on.
TEST_F(MotionPageTest, ASecondClickWithinTheBusyTimeDoesNothing) {
    ASSERT_TRUE(openPage());
    viewer->wiring().sendCommand(32873);
    limitRecordingTo(1);
    press(CCapturePage2::kCaptureButton);
    ASSERT_EQ(fileNames(folder.path()), std::vector<std::string>{"MPGOne.MPG"});
    EXPECT_TRUE(page()->busy());
    press(CCapturePage2::kCaptureButton);
    EXPECT_EQ(fileNames(folder.path()).size(), 1u);
    scheduler.advanceMs(CCapturePage2::kBusyPeriodMs - 1);
    EXPECT_TRUE(page()->busy());
    scheduler.advanceMs(1);
    EXPECT_FALSE(page()->busy());
    press(CCapturePage2::kCaptureButton);
    EXPECT_EQ(fileNames(folder.path()), (std::vector<std::string>{"MPGOne.MPG", "MPGOne1.MPG"}));
    const MediaProbe probe = probeMedia(folder / "MPGOne1.MPG");
    EXPECT_EQ(probe.container, "mpeg");
    EXPECT_EQ(probe.videoCodec, AV_CODEC_ID_MPEG1VIDEO);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(MotionPageTest, AMissingFolderIsReportedAndNothingIsRecorded) {
    store.writeString("user", "avidirectory", (folder / "gone").string());
    ASSERT_TRUE(openPage());
    limitRecordingTo(1);
    press(CCapturePage2::kCaptureButton);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, LoadMessage(CCapturePage2::kMissingFolderString));
    EXPECT_EQ(boxes[0].caption, "Kelto TV");
    EXPECT_EQ(boxes[0].icon, framework::MessageIcon::Information);
    EXPECT_FALSE(std::filesystem::exists(folder / "gone"));
    EXPECT_EQ(page()->statusText(), "Start Capture..");
    EXPECT_TRUE(page()->busy());
}

// The user ends a recording with Esc or a mouse button over the viewer: the file is complete up
// to there, the page says the capture has finished and the indicator is gone.
TEST_F(MotionPageTest, EscOrAMouseButtonOverTheViewerEndsTheRecording) {
    ASSERT_TRUE(openPage());
    limitRecordingTo(10);
    DuringRecording seen;
    watchRecording(10, seen, [this] {
        QCoreApplication::postEvent(viewer, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    });
    press(CCapturePage2::kCaptureButton);
    ASSERT_TRUE(seen.seen);
    EXPECT_TRUE(seen.indicatorVisible);
    EXPECT_FALSE(indicator());
    EXPECT_EQ(page()->statusText(), "Capture finished.");
    MediaProbe probe = probeMedia(folder / "Kelto.AVI");
    ASSERT_TRUE(probe.opened);
    EXPECT_LT(probe.decodedFrames, 30);

    letBusyTimerRunOut();
    DuringRecording clicked;
    watchRecording(10, clicked, [this] {
        const QPoint at(50, 50);
        QCoreApplication::postEvent(picture(), new QMouseEvent(QEvent::MouseButtonPress, QPointF(at),
                                                               QPointF(picture()->mapToGlobal(at)), Qt::LeftButton,
                                                               Qt::LeftButton, Qt::NoModifier));
    });
    press(CCapturePage2::kCaptureButton);
    picture()->service().setSequenceObserver({});
    ASSERT_TRUE(clicked.seen);
    probe = probeMedia(folder / "Kelto1.AVI");
    ASSERT_TRUE(probe.opened);
    EXPECT_LT(probe.decodedFrames, 30);
    EXPECT_FALSE(viewer->recording());
    EXPECT_TRUE(boxes.empty());
}

// Ctrl+R shows the same indicator over the picture.
TEST_F(MotionPageTest, CtrlRShowsTheIndicatorToo) {
    ASSERT_TRUE(open());
    ASSERT_TRUE(waitForPicture());
    limitRecordingTo(2);
    DuringRecording seen;
    watchRecording(45, seen);
    QTest::keyClick(viewer, Qt::Key_R, Qt::ControlModifier);
    picture()->service().setSequenceObserver({});
    ASSERT_TRUE(seen.seen);
    EXPECT_TRUE(seen.indicatorVisible);
    EXPECT_EQ(seen.indicatorText, "REC 0:00:01");
    EXPECT_FALSE(indicator());
}

// A key can press "&Capture" while a recording started with Ctrl+R runs: the page starts no
// second recording (which the viewer would refuse with "Exception Error!").
TEST_F(MotionPageTest, CaptureDuringARunningRecordingDoesNothing) {
    ASSERT_TRUE(openPage());
    limitRecordingTo(1);
    DuringRecording seen;
    watchRecording(5, seen, [this] { press(CCapturePage2::kCaptureButton); });
    QTest::keyClick(viewer, Qt::Key_R, Qt::ControlModifier);
    picture()->service().setSequenceObserver({});
    ASSERT_TRUE(seen.seen);
    EXPECT_TRUE(boxes.empty());
    EXPECT_FALSE(page()->busy());
    EXPECT_EQ(page()->statusText(), "Start Capture..");
    EXPECT_EQ(fileNames(folder.path()), std::vector<std::string>{"Kelto.AVI"});
}

class MotionPageWithoutMixerTest : public MotionPageRig {
protected:
    void SetUp() override {
        withSoundCard = false;
        MotionPageRig::SetUp();
    }
};

TEST_F(MotionPageWithoutMixerTest, TheAudioButtonIsDisabled) {
    ASSERT_TRUE(openPage());
    EXPECT_FALSE(page()->control(CCapturePage2::kAudioButton)->isEnabled());
    EXPECT_TRUE(page()->control(CCapturePage2::kSetupButton)->isEnabled());
}

TEST_F(MotionPageTest, ExitOrEscapeClosesTheSheetNotJustThePage) {
    ASSERT_TRUE(openPage());
    QTest::keyClick(page()->control(CCapturePage2::kSetupButton), Qt::Key_Escape);
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(viewer->captureSheet().sheet());

    viewer->wiring().sendCommand(1005);
    ASSERT_TRUE(viewer->captureSheet().sheet() && viewer->captureSheet().sheet()->setActivePage(1));
    press(CCapturePage2::kExitButton);
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(viewer->captureSheet().sheet());
}

}  // namespace
}  // namespace kelto::test
