// What the viewer window shows besides the picture and the panel, through the real window in
// virtual time: the on-screen display over the live picture and when it goes away (timer 24),
// the captured-image window after a still capture, and the desktop told that the display is in
// use (timer 287) from the opening to the close.
#include "tests/support/TestRoot.h"
#include "tests/viewer/window/ViewerWindowRig.h"

#include "platform/ScreenSaverInhibit.h"
#include "platform/SystemInfo.h"
#include "viewer/osd/CImageWindow.h"
#include "viewer/osd/OsdLayout.h"
#include "viewer/osd/OsdWindow.h"

#include <filesystem>

namespace kelto::test {
namespace {

using platform::ScreenSaverCall;

class ViewerDisplayTest : public ViewerWindowRig {
protected:
    void SetUp() override {
        ViewerWindowRig::SetUp();
        platform::recordingScreenSaverInhibitor().clear();
    }
    // The still pictures go to a folder of the test's own.
    void stillsInto(const std::filesystem::path& folder) {
        store.writeInt("user", "s_flag", 1);
        store.writeString("user", "bmpdirectory", folder.string());
        store.writeString("user", "bmpfilename", "Kelto");
    }
    static std::vector<std::filesystem::path> filesIn(const std::filesystem::path& folder) {
        std::vector<std::filesystem::path> files;
        for (const auto& entry : std::filesystem::directory_iterator(folder)) files.push_back(entry.path());
        return files;
    }
    QImage pictureOnScreen() { return picture()->grab().toImage().convertToFormat(QImage::Format_RGB32); }
};

// The display is the real one, over the picture, sized by the picture's width.
TEST_F(ViewerDisplayTest, TheDisplayLiesOverThePictureAndTheLettersLetThePictureThrough) {
    saveState(7, QRect(40, 40, 484, 424));
    ASSERT_TRUE(open());
    viewer::OsdWindow* display = viewer->onScreenDisplay();
    ASSERT_NE(display, nullptr);
    EXPECT_EQ(display->parentWidget(), picture());
    EXPECT_TRUE(display->isHidden()) << "nothing to show at the opening";
    ASSERT_TRUE(waitForFrame());

    QTest::keyClick(viewer, Qt::Key_Up);  // channel 9
    EXPECT_EQ(viewer->onScreenText(), "CH   9");
    const viewer::OsdSize size = viewer::osdSizeForPictureWidth(picture()->width());
    EXPECT_EQ(display->geometry(), QRect(0, 0, picture()->width(), size.heightPx));
    EXPECT_EQ(display->layout().fontPx, size.fontPx);

    QTest::keyClick(viewer, Qt::Key_Left);  // volume 15, at the picture's bottom
    EXPECT_EQ(viewer->onScreenText(), "VOL 15 : IIIIIIIIIIIIIII");
    EXPECT_EQ(display->geometry().bottom(), picture()->height() - 1);

    // The letters and their blue shadow change few pixels of the strip; the rest is the picture.
    const QRect strip = display->geometry();
    const QImage with = pictureOnScreen();
    display->hideText();
    const QImage without = pictureOnScreen();
    int changed = 0, letters = 0, shadow = 0;
    for (int y = strip.top(); y <= strip.bottom(); ++y)
        for (int x = strip.left(); x <= strip.right(); ++x) {
            const QColor c = with.pixelColor(x, y);
            if (c != without.pixelColor(x, y)) ++changed;
            if (c == QColor(255, 255, 0)) ++letters;  // the factory display colour
            if (c == QColor(0, 0, 255)) ++shadow;
        }
    EXPECT_GT(letters, 100);
    EXPECT_GT(shadow, 20);
    EXPECT_LT(changed, strip.width() * strip.height() / 4) << "the display covers the picture";
}

// One path hides the display: the window's timer 24, restarted by every new text, stopped by a
// text that stays; every size change of the window hides the display at once.
TEST_F(ViewerDisplayTest, TheDisplayHidesTwoSecondsAfterItsLastTextATextThatStaysStaysAResizeHidesIt) {
    test::TemporaryFolder folder;
    stillsInto(folder.path());
    saveState(7, QRect(40, 40, 484, 424));
    ASSERT_TRUE(open());
    ASSERT_TRUE(waitForFrame());

    QTest::keyClick(viewer, Qt::Key_Up);
    scheduler.advanceMs(1500);
    QTest::keyClick(viewer, Qt::Key_Left);  // a new text starts the 2 s again
    scheduler.advanceMs(1999);
    EXPECT_EQ(viewer->onScreenText(), "VOL 15 : IIIIIIIIIIIIIII");
    scheduler.advanceMs(1);
    EXPECT_EQ(viewer->onScreenText(), "");

    // The capture's announcement stays, though a volume text was counting down under it.
    QTest::keyClick(viewer, Qt::Key_Right);
    scheduler.advanceMs(1000);
    QTest::keyClick(viewer, Qt::Key_C, Qt::ControlModifier);
    scheduler.advanceMs(1);
    const auto files = filesIn(folder.path());
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(viewer->onScreenText(), QString::fromStdString("CAPTURE : " + files[0].string()));
    scheduler.advanceMs(10000);
    EXPECT_EQ(viewer->onScreenText(), QString::fromStdString("CAPTURE : " + files[0].string()));
    // ...until a text that hides itself replaces it.
    QTest::keyClick(viewer, Qt::Key_Down);
    EXPECT_EQ(viewer->onScreenText(), "CH   7");
    scheduler.advanceMs(2000);
    EXPECT_EQ(viewer->onScreenText(), "");

    QTest::keyClick(viewer, Qt::Key_Up);
    viewer->resize(400, 360);
    QApplication::processEvents();
    EXPECT_EQ(viewer->onScreenText(), "");
    // At the new size the next text is laid out for the new picture width.
    QTest::keyClick(viewer, Qt::Key_Down);
    EXPECT_EQ(viewer->onScreenDisplay()->width(), picture()->width());
    EXPECT_EQ(viewer->onScreenDisplay()->height(), viewer::osdSizeForPictureWidth(picture()->width()).heightPx);
}

// The image window exists from the opening, hidden, sized for the card's picture; a capture shows
// the saved picture in it without taking the focus from the viewer; it goes with the viewer.
TEST_F(ViewerDisplayTest, ACaptureShowsThePictureInTheImageWindowWithoutTakingTheFocus) {
    test::TemporaryFolder folder;
    stillsInto(folder.path());
    ASSERT_TRUE(open());
    QPointer<viewer::CImageWindow> image = viewer->imageWindow();
    ASSERT_TRUE(image);
    EXPECT_TRUE(image->isHidden());
    const auto status = capture::CCaptureWindow::Status();
    const QSize card(int(status.imageWidth), int(status.imageHeight));
    ASSERT_FALSE(card.isEmpty());
    EXPECT_EQ(image->size(), card + QSize(30, 50));
    ASSERT_TRUE(waitForFrame());

    QTest::keyClick(viewer, Qt::Key_C, Qt::ControlModifier);
    scheduler.advanceMs(1);
    auto files = filesIn(folder.path());
    ASSERT_EQ(files.size(), 1u);
    EXPECT_FALSE(image->isHidden());
    EXPECT_EQ(image->windowTitle(),
              QString("(%1 * %2) ").arg(card.width()).arg(card.height()) + QString::fromStdString(files[0].string()));
    EXPECT_EQ(image->picture().size(), card);
    // Shown without activation (the off-screen platform activates every window it shows, so the
    // request is what can be checked here).
    EXPECT_TRUE(image->testAttribute(Qt::WA_ShowWithoutActivating));

    // Closing it only hides it; the remote's capture message (0x444) shows the next picture.
    image->close();
    EXPECT_TRUE(image->isHidden());
    viewer->wiring().dispatch({viewer->windowHandle(), 0x444, 0, 0, 0, {}, false});
    files = filesIn(folder.path());
    ASSERT_EQ(files.size(), 2u);
    EXPECT_FALSE(image->isHidden());
    EXPECT_TRUE(image->windowTitle().endsWith("Kelto1.BMP")) << image->windowTitle().toStdString();

    close();
    EXPECT_FALSE(image) << "the image window outlives the viewer";
}

TEST_F(ViewerDisplayTest, WithImageShowOffACaptureNeverShowsTheImageWindow) {
    test::TemporaryFolder folder;
    stillsInto(folder.path());
    store.writeInt("user", "imageshow", 0);
    ASSERT_TRUE(open());
    ASSERT_TRUE(waitForFrame());
    QTest::keyClick(viewer, Qt::Key_C, Qt::ControlModifier);
    scheduler.advanceMs(1);
    viewer->wiring().dispatch({viewer->windowHandle(), 0x444, 0, 0, 0, {}, false});
    EXPECT_EQ(filesIn(folder.path()).size(), 2u);
    ASSERT_NE(viewer->imageWindow(), nullptr);
    EXPECT_TRUE(viewer->imageWindow()->isHidden());
    EXPECT_TRUE(viewer->imageWindow()->picture().isNull());
}

// Timer 287: the desktop hears that the display is in use from the opening on and every 50 s,
// and that it may blank again at the close, or when the viewer goes without a close.
TEST_F(ViewerDisplayTest, TheDisplayIsKeptOnFromTheOpeningToTheClose) {
    auto& desktop = platform::recordingScreenSaverInhibitor();
    ASSERT_TRUE(open());
    EXPECT_EQ(desktop.calls(), std::vector<ScreenSaverCall>{ScreenSaverCall::Inhibit});
    EXPECT_EQ(desktop.keepAliveCount(), 1u);
    scheduler.advanceMs(49999);
    EXPECT_EQ(desktop.keepAliveCount(), 1u);
    scheduler.advanceMs(1);
    EXPECT_EQ(desktop.keepAliveCount(), 2u);
    scheduler.advanceMs(50000);
    EXPECT_EQ(desktop.keepAliveCount(), 3u);
    EXPECT_TRUE(desktop.inhibiting());

    viewer->close();
    EXPECT_EQ(desktop.calls(), (std::vector<ScreenSaverCall>{ScreenSaverCall::Inhibit, ScreenSaverCall::UnInhibit}));
    EXPECT_FALSE(desktop.inhibiting());
    close();
    scheduler.advanceMs(100000);
    EXPECT_EQ(desktop.keepAliveCount(), 3u) << "the timer outlived the viewer";

    desktop.clear();
    ASSERT_TRUE(open());
    EXPECT_TRUE(desktop.inhibiting());
    delete viewer.data();  // destroyed without a close
    EXPECT_FALSE(desktop.inhibiting());
    EXPECT_EQ(desktop.calls(), (std::vector<ScreenSaverCall>{ScreenSaverCall::Inhibit, ScreenSaverCall::UnInhibit}));
}

// A start refused before the viewer began to keep the display on gives nothing back; one refused
// after it gives the display back through the close path.
TEST_F(ViewerDisplayTest, ARefusedStartLeavesTheScreenSaverAsItWas) {
    auto& desktop = platform::recordingScreenSaverInhibitor();
    platform::setOsVersionAnswer(platform::OsVersionAnswer::NtFamily);
    ASSERT_TRUE(open());
    platform::setOsVersionAnswer(std::nullopt);
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(viewer);
    EXPECT_TRUE(desktop.calls().empty());

    cardsim::test::buildCard({}, {});
    drivers::CaptureDriverList::clear();  // no capture driver: refused after the settings
    ASSERT_TRUE(open());
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(viewer);
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(desktop.calls(), (std::vector<ScreenSaverCall>{ScreenSaverCall::Inhibit, ScreenSaverCall::UnInhibit}));
}

}  // namespace
}  // namespace kelto::test
