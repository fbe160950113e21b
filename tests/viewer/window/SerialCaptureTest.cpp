// Ctrl+X in the viewer window: six numbered pictures from a worker thread, the 100 ms waits of
// closed captions in virtual time, captures at the same moment that never write over each other,
// and a viewer that closes or goes away in the middle of a run.
#include "tests/viewer/window/ViewerWindowRig.h"

#include "tests/support/TestRoot.h"
#include "viewer/window/SerialStillCapture.h"

#include <chrono>
#include <thread>

namespace kelto::test {
namespace {

using viewer::SerialStillCapture;

class SerialCaptureTest : public ViewerWindowRig {
protected:
    void SetUp() override {
        ViewerWindowRig::SetUp();
        stillsInto(folder.path());
        ASSERT_TRUE(open());
        ASSERT_TRUE(waitForPicture());
    }
    // Runs the event loop until every Ctrl+X run has ended.
    bool runsEnded() {
        return QTest::qWaitFor([&] {
            return viewer->serialCapture() && viewer->serialCapture()->runs() == 0;
        }, 10000);
    }
    void expectCompletePictures(std::size_t count) {
        const auto names = fileNames(folder.path());
        EXPECT_EQ(names.size(), count);
        for (const auto& name : names) EXPECT_GT(std::filesystem::file_size(folder.path() / name), 1000u) << name;
    }
    // Spins, without running the event loop, until the run has queued its first picture.
    bool firstPictureQueued() {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!viewer->serialCapture() || viewer->serialCapture()->picturesQueued() == 0) {
            if (std::chrono::steady_clock::now() > end) return false;
            std::this_thread::yield();
        }
        return true;
    }

    TemporaryFolder folder{"serial"};
};

TEST_F(SerialCaptureTest, CtrlXTakesSixNumberedPictures) {
    const std::uint32_t start = clock.tickCountMs();
    QTest::keyClick(viewer, Qt::Key_X, Qt::ControlModifier);
    ASSERT_TRUE(runsEnded());
    EXPECT_EQ(fileNames(folder.path()), (std::vector<std::string>{"Kelto.BMP", "Kelto1.BMP", "Kelto2.BMP", "Kelto3.BMP",
                                                                  "Kelto4.BMP", "Kelto5.BMP"}));
    expectCompletePictures(6);
    EXPECT_EQ(viewer->onScreenText(), QString::fromStdString("CAPTURE : " + (folder.path() / "Kelto5.BMP").string()));
    EXPECT_EQ(clock.tickCountMs(), start);  // no waits without closed captions
    EXPECT_EQ(SerialStillCapture::liveWorkers(), 0);

    // The menu command does the same: six more.
    viewer->wiring().sendCommand(32867);
    ASSERT_TRUE(runsEnded());
    expectCompletePictures(12);
    EXPECT_TRUE(std::filesystem::exists(folder.path() / "Kelto11.BMP"));
}

TEST_F(SerialCaptureTest, WithClosedCaptionsEachPictureWaits100MsOfVirtualTime) {
    QTest::keyClick(viewer, Qt::Key_C, Qt::AltModifier);  // closed captions on
    ASSERT_TRUE(viewer->settings().closedCaptions);
    const std::uint32_t start = clock.tickCountMs();
    QTest::keyClick(viewer, Qt::Key_X, Qt::ControlModifier);
    ASSERT_TRUE(runsEnded());
    expectCompletePictures(6);
    EXPECT_EQ(clock.tickCountMs() - start, 600u);
}

// Two Ctrl+X runs, Ctrl+C (timer 41) and the remote's capture message 0x444 at the same moment:
// every capture gets a picture of its own.
TEST_F(SerialCaptureTest, CapturesAtTheSameMomentNeverWriteOverEachOther) {
    QTest::keyClick(viewer, Qt::Key_X, Qt::ControlModifier);
    QTest::keyClick(viewer, Qt::Key_X, Qt::ControlModifier);
    QTest::keyClick(viewer, Qt::Key_C, Qt::ControlModifier);
    viewer->wiring().dispatch({viewer->windowHandle(), 0x444, 0, 0, 0, {}, false});
    scheduler.advanceMs(1);  // timer 41
    ASSERT_TRUE(runsEnded());
    expectCompletePictures(6 + 6 + 1 + 1);
}

// The viewer closes while the run waits for its first picture: the close neither waits for a
// picture the closing window would have to take, nor takes one afterwards, and leaves no thread.
TEST_F(SerialCaptureTest, ClosingInTheMiddleOfARunEndsItAtOnce) {
    QTest::keyClick(viewer, Qt::Key_X, Qt::ControlModifier);
    ASSERT_TRUE(firstPictureQueued());
    const auto before = std::chrono::steady_clock::now();
    viewer->close();
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(2));
    EXPECT_EQ(SerialStillCapture::liveWorkers(), 0);
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(viewer);
    EXPECT_EQ(closedCount, 1);
    EXPECT_TRUE(fileNames(folder.path()).empty());
}

TEST_F(SerialCaptureTest, DestroyingTheViewerInTheMiddleOfARunEndsIt) {
    QTest::keyClick(viewer, Qt::Key_X, Qt::ControlModifier);
    QTest::keyClick(viewer, Qt::Key_X, Qt::ControlModifier);
    ASSERT_TRUE(firstPictureQueued());
    delete viewer.data();
    EXPECT_EQ(SerialStillCapture::liveWorkers(), 0);
    QApplication::processEvents();
    EXPECT_TRUE(fileNames(folder.path()).empty());
}

}  // namespace
}  // namespace kelto::test
