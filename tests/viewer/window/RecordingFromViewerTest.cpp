// Ctrl+R in the viewer window records into the next numbered file of the chosen recording type;
// the file is read back with FFmpeg: its container, streams, picture size and frames. A paused
// picture is set running first, and the audio format the user chose reaches the recording.
#include "tests/viewer/window/ViewerWindowRig.h"

#include "cardsim/Card.h"
#include "framework/QtMenus.h"
#include "tests/capture/MediaProbe.h"
#include "tests/support/TestRoot.h"
#include "viewer/window/SerialStillCapture.h"

#include <QMenu>

namespace kelto::test {
namespace {

using capture::test::MediaProbe;
using capture::test::probeMedia;

struct RecordingType {
    const char* name;
    int command;  // "Save To AVI", "Save To MPEG1", "Save To MPEG2"
    const char* file;
    const char* container;
    AVCodecID video;
    AVCodecID audio;
};

void PrintTo(const RecordingType& type, std::ostream* out) { *out << type.name; }

const RecordingType kTypes[] = {
    {"Avi", 32872, "Kelto.AVI", "avi", AV_CODEC_ID_MJPEG, AV_CODEC_ID_PCM_S16LE},
    {"Mpeg1", 32873, "MPGOne.MPG", "mpeg", AV_CODEC_ID_MPEG1VIDEO, AV_CODEC_ID_MP2},
    {"Mpeg2", 32874, "MPGTwo.MPG", "mpeg", AV_CODEC_ID_MPEG2VIDEO, AV_CODEC_ID_MP2},
};

class RecordingFromViewerTest : public ViewerWindowRig {
protected:
    void SetUp() override {
        ViewerWindowRig::SetUp();
        saveState(7, QRect(40, 40, 484, 424));
        for (const char* setting : {"avidirectory", "mpg1directory", "mpg2directory"})
            store.writeString("user", setting, folder.path().string());
        store.writeString("user", "avifilename", "Kelto");
        store.writeString("user", "mpg1filename", "MPGOne");
        store.writeString("user", "mpg2filename", "MPGTwo");
    }
    // One second at 30 pictures a second, with sound; then Ctrl+R, which returns when it ends.
    void record() {
        viewer->setRecordingSetup({30, 1, 1, 1});
        QTest::keyClick(viewer, Qt::Key_R, Qt::ControlModifier);
    }
    static void expectOneSecond(const MediaProbe& probe) {
        EXPECT_GE(probe.decodedFrames, 30);
        EXPECT_LE(probe.decodedFrames, 31);
    }
    // Whether the context menu shows the picture paused ("Pause/Play" checked).
    bool menuShowsPaused() {
        auto* picture = viewer->findChild<capture::CaptureWindowWidget*>();
        QTest::mousePress(picture, Qt::RightButton, {}, QPoint(50, 50));
        for (QAction* action : viewer->lastContextMenu()->actions())
            if (framework::commandOf(action) == 32784) return action->isChecked();
        ADD_FAILURE() << "no Pause/Play in the context menu";
        return false;
    }

    TemporaryFolder folder{"recordings"};
};

class RecordingTypeTest : public RecordingFromViewerTest, public ::testing::WithParamInterface<RecordingType> {};

TEST_P(RecordingTypeTest, CtrlRRecordsAFileFfmpegDecodes) {
    ASSERT_TRUE(open());
    ASSERT_TRUE(waitForPicture());
    viewer->wiring().sendCommand(GetParam().command);
    record();
    EXPECT_TRUE(boxes.empty());
    EXPECT_FALSE(viewer->recording());
    ASSERT_EQ(fileNames(folder.path()), std::vector<std::string>{GetParam().file});

    const MediaProbe probe = probeMedia(folder.path() / GetParam().file);
    ASSERT_TRUE(probe.opened);
    EXPECT_EQ(probe.container, GetParam().container);
    ASSERT_TRUE(probe.hasVideo);
    EXPECT_EQ(probe.videoCodec, GetParam().video);
    EXPECT_EQ(probe.width, viewer->settings().capStreamWidth);
    EXPECT_EQ(probe.height, viewer->settings().capStreamHeight);
    expectOneSecond(probe);
    ASSERT_TRUE(probe.hasAudio);
    EXPECT_EQ(probe.audioCodec, GetParam().audio);

    // The next recording of the type takes the next number.
    record();
    EXPECT_EQ(fileNames(folder.path()).size(), 2u);
}

INSTANTIATE_TEST_SUITE_P(Types, RecordingTypeTest, ::testing::ValuesIn(kTypes),
                         [](const ::testing::TestParamInfo<RecordingType>& info) { return std::string(info.param.name); });

// A picture paused with Ctrl+Z runs again for the recording, so the file holds live television
// and not one still picture; afterwards the menu no longer shows the pause.
TEST_F(RecordingFromViewerTest, APausedPictureRunsAgainForTheRecording) {
    ASSERT_TRUE(open());
    ASSERT_TRUE(waitForPicture());
    QTest::keyClick(viewer, Qt::Key_Z, Qt::ControlModifier);
    ASSERT_TRUE(cardsim::lockCard()->video().paused());
    ASSERT_TRUE(menuShowsPaused());
    record();
    EXPECT_FALSE(cardsim::lockCard()->video().paused());
    EXPECT_FALSE(menuShowsPaused());
    expectOneSecond(probeMedia(folder.path() / "Kelto.AVI"));
}

// The sound format chosen on the capture sheet is kept in the store; the recording applies it.
TEST_F(RecordingFromViewerTest, TheStoredAudioFormatReachesTheRecording) {
    store.writeInt("user", "nChannel", 1);
    store.writeInt("user", "wSample", 16);
    store.writeInt("user", "dwFrequency", 22050);
    ASSERT_TRUE(open());
    ASSERT_TRUE(waitForPicture());
    record();
    const MediaProbe probe = probeMedia(folder.path() / "Kelto.AVI");
    ASSERT_TRUE(probe.hasAudio);
    EXPECT_EQ(probe.channels, 1);
    EXPECT_EQ(probe.sampleRate, 22050);
}

// Ctrl+X while a recording runs: the six pictures are taken (between the recording's pictures or
// after it, as the worker comes), each whole, and the recording stays whole.
TEST_F(RecordingFromViewerTest, SerialStillsDuringARecordingLeaveItWhole) {
    stillsInto(folder.path() / "stills");
    std::filesystem::create_directory(folder.path() / "stills");
    ASSERT_TRUE(open());
    ASSERT_TRUE(waitForPicture());
    auto* picture = viewer->findChild<capture::CaptureWindowWidget*>();
    QPointer<CTvViewerDlg> target = viewer;
    picture->service().setSequenceObserver([target](std::uint32_t index) {
        if (index == 3 && target) target->wiring().sendCommand(32867);
    });
    record();
    picture->service().setSequenceObserver({});
    ASSERT_TRUE(QTest::qWaitFor([&] { return viewer->serialCapture() && viewer->serialCapture()->runs() == 0; }, 10000));
    const auto stills = fileNames(folder.path() / "stills");
    ASSERT_EQ(stills.size(), 6u);
    for (const auto& name : stills) EXPECT_GT(std::filesystem::file_size(folder.path() / "stills" / name), 1000u);
    expectOneSecond(probeMedia(folder.path() / "Kelto.AVI"));
}

}  // namespace
}  // namespace kelto::test
