// The viewer window on the simulated card, driven by key, click and message: the context menu
// and where it does not appear, sizing at 4:3 with the panel, placement, the video-mode cycle,
// the panel's press and release, settings that come back at the next start, the tuned station's
// picture on screen, and a refused start closing through the close path.
#include "tests/viewer/window/ViewerWindowRig.h"

#include "capture/CaptureWindowWidget.h"
#include "cardsim/BrooktreeCaptureDriver.h"
#include "cardsim/CardTestHook.h"
#include "framework/MessageBoxes.h"
#include "framework/QtMenus.h"
#include "framework/VirtualTimerScheduler.h"
#include "platform/Clock.h"
#include "platform/Paths.h"
#include "platform/SystemInfo.h"
#include "platform/qt/WindowPump.h"
#include "resources/StringTable.h"
#include "settings/ViewerSettings.h"
#include "tests/mixer/MixerRig.h"
#include "tests/support/TestRoot.h"
#include "viewer/window/ViewerHost.h"

#include <QApplication>

#include <filesystem>

#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QTest>
#include <gtest/gtest.h>

namespace kelto {
namespace {

using viewer::PanelRegion;

class ViewerWindowTest : public test::ViewerWindowRig {
protected:
    void mouse(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
        ViewerWindowRig::mouse(viewer, type, at, button, held);
    }
    QPoint panelCentre(PanelRegion region) const {
        const viewer::PanelLayout layout(viewer->width());
        return layout.regionRect(region).center() + viewer->panelRect().topLeft();
    }
};

TEST_F(ViewerWindowTest, RightClickOnThePanelShowsNoMenuOnThePictureTheContextMenu) {
    ASSERT_TRUE(open());
    mouse(QEvent::MouseButtonPress, viewer->panelRect().center(), Qt::RightButton, Qt::RightButton);
    EXPECT_EQ(viewer->lastContextMenu(), nullptr);

    auto* picture = viewer->findChild<capture::CaptureWindowWidget*>();
    ASSERT_NE(picture, nullptr);
    QTest::mousePress(picture, Qt::RightButton, {}, QPoint(50, 50));
    QMenu* menu = viewer->lastContextMenu();
    ASSERT_NE(menu, nullptr);
    std::vector<int> commands;
    for (QAction* action : menu->actions()) commands.push_back(framework::commandOf(action));
    EXPECT_NE(std::find(commands.begin(), commands.end(), 32880), commands.end());
    EXPECT_EQ(std::find(commands.begin(), commands.end(), 32834), commands.end());

    // In VIDEO mode the channel items are gone.
    QTest::keyClick(viewer, Qt::Key_3, Qt::ControlModifier);
    QTest::mousePress(picture, Qt::RightButton, {}, QPoint(50, 50));
    commands.clear();
    for (QAction* action : viewer->lastContextMenu()->actions()) commands.push_back(framework::commandOf(action));
    EXPECT_EQ(std::find(commands.begin(), commands.end(), 32880), commands.end());
    EXPECT_EQ(std::find(commands.begin(), commands.end(), 32881), commands.end());
}

TEST_F(ViewerWindowTest, DraggingTheRightEdgeFrom400To480GivesHeight420) {
    saveState(7, QRect(40, 40, 400, 360));
    ASSERT_TRUE(open());
    ASSERT_EQ(viewer->size(), QSize(400, 360));
    const QPoint edge(399, 100);
    mouse(QEvent::MouseButtonPress, edge, Qt::LeftButton, Qt::LeftButton);
    mouse(QEvent::MouseMove, edge + QPoint(80, 0), Qt::NoButton, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, edge + QPoint(80, 0), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(viewer->size(), QSize(480, 420));
    EXPECT_EQ(viewer->pos(), QPoint(40, 40));
    // The picture fills the area above the panel.
    auto* picture = viewer->findChild<capture::CaptureWindowWidget*>();
    EXPECT_EQ(picture->geometry(), QRect(0, 0, 480, 360));
}

TEST_F(ViewerWindowTest, ASavedRectangleAtTheRightEdgeGivesTheDefaultPlacement) {
    const QSize screen = QGuiApplication::primaryScreen()->availableGeometry().size();
    saveState(7, QRect(screen.width() - 5, 40, 484, 424));
    ASSERT_TRUE(open());
    EXPECT_EQ(viewer->geometry(), QRect(screen.width() / 4, screen.height() / 4, 484, 364));
}

TEST_F(ViewerWindowTest, CtrlSCyclesTheVideoModesWithSvhsOnlyWhenEnabled) {
    ASSERT_TRUE(open());
    std::vector<VideoMode> seen;
    for (int i = 0; i < 4; ++i) {
        QTest::keyClick(viewer, Qt::Key_S, Qt::ControlModifier);
        seen.push_back(viewer->videoMode());
    }
    EXPECT_EQ(seen, (std::vector<VideoMode>{VideoMode::CATV, VideoMode::VIDEO, VideoMode::TV, VideoMode::CATV}));
    close();

    store.writeInt("user", "ENABLESVHS", 1);
    store.writeInt("user", "s_vmode", 0);
    ASSERT_TRUE(open());
    seen.clear();
    for (int i = 0; i < 4; ++i) {
        QTest::keyClick(viewer, Qt::Key_S, Qt::ControlModifier);
        seen.push_back(viewer->videoMode());
    }
    EXPECT_EQ(seen, (std::vector<VideoMode>{VideoMode::CATV, VideoMode::VIDEO, VideoMode::SVHS, VideoMode::TV}));
}

TEST_F(ViewerWindowTest, PanelButtonsActOnReleaseInsideAndTheVolumeRepeats) {
    saveState(7, QRect(40, 40, 484, 424));
    ASSERT_TRUE(open());
    ASSERT_EQ(viewer->currentChannel(), 7);
    // Channel up: pressed image while held, the step on release inside the same region.
    const QPoint up = panelCentre(PanelRegion::ChannelUp);
    mouse(QEvent::MouseButtonPress, up, Qt::LeftButton, Qt::LeftButton);
    EXPECT_TRUE(viewer->panelState().isPressed(PanelRegion::ChannelUp));
    EXPECT_EQ(viewer->currentChannel(), 7);
    mouse(QEvent::MouseButtonRelease, up, Qt::LeftButton, Qt::NoButton);
    EXPECT_FALSE(viewer->panelState().isPressed(PanelRegion::ChannelUp));
    EXPECT_EQ(viewer->currentChannel(), 9);
    // Released outside: nothing.
    mouse(QEvent::MouseButtonPress, up, Qt::LeftButton, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, QPoint(200, 10), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(viewer->currentChannel(), 9);

    // Volume down held: one step at 500 ms, then one every 200 ms; the release adds none.
    ASSERT_EQ(viewer->session()->volumeStep(), 16);
    const QPoint down = panelCentre(PanelRegion::VolumeDown);
    mouse(QEvent::MouseButtonPress, down, Qt::LeftButton, Qt::LeftButton);
    scheduler.advanceMs(499);
    EXPECT_EQ(viewer->session()->volumeStep(), 16);
    scheduler.advanceMs(1);
    EXPECT_EQ(viewer->session()->volumeStep(), 15);
    scheduler.advanceMs(400);
    EXPECT_EQ(viewer->session()->volumeStep(), 13);
    mouse(QEvent::MouseButtonRelease, down, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(viewer->session()->volumeStep(), 13);
    scheduler.advanceMs(1000);
    EXPECT_EQ(viewer->session()->volumeStep(), 13);
    // A short click: one step on release.
    mouse(QEvent::MouseButtonPress, down, Qt::LeftButton, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, down, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(viewer->session()->volumeStep(), 12);
    EXPECT_EQ(viewer->onScreenText(), "VOL 12 : IIIIIIIIIIII");
}

TEST_F(ViewerWindowTest, SettingsSavedAtCloseComeBackAtTheNextStart) {
    saveState(7, QRect(60, 50, 484, 424));
    ASSERT_TRUE(open());
    QTest::keyClick(viewer, Qt::Key_Up);      // 9
    QTest::keyClick(viewer, Qt::Key_S);       // already registered: nothing changes
    QTest::keyClick(viewer, Qt::Key_1);
    QTest::keyClick(viewer, Qt::Key_3);       // 13, tuned at once in TV mode
    QTest::keyClick(viewer, Qt::Key_S);       // registered
    QTest::keyClick(viewer, Qt::Key_2, Qt::ControlModifier);  // CATV
    viewer->move(70, 55);
    close();
    EXPECT_EQ(closedCount, 1);

    ASSERT_TRUE(open());
    EXPECT_EQ(viewer->videoMode(), VideoMode::CATV);
    EXPECT_EQ(viewer->settings().tvChannel, 13);
    EXPECT_EQ(viewer->pos(), QPoint(70, 55));
    EXPECT_GE(viewer->registeredList(VideoMode::TV).indexOf(13), 0);
}

// The card shows the station's test card (colour bars under its name) on channel 7 and snow on
// channel 9; the window's picture is what the tuner receives. The check advances the virtual time
// frame by frame until the picture shows the bars (or, on channel 9, stops showing them).
TEST_F(ViewerWindowTest, TheTunedStationIsWhatIsOnScreen) {
    saveState(7, QRect(40, 40, 484, 424));
    ASSERT_TRUE(open());
    auto* picture = viewer->findChild<capture::CaptureWindowWidget*>();
    ASSERT_NE(picture, nullptr);
    // The yellow bar at an eighth of the width and the green one at 7/16, a quarter down.
    auto showsBars = [&] {
        scheduler.advanceMs(34);  // the next frame's time on the card's clock
        const QImage image = picture->currentPicture();
        if (image.isNull()) return false;
        const QColor yellow = image.pixelColor(image.width() * 3 / 16, image.height() / 4);
        const QColor green = image.pixelColor(image.width() * 7 / 16, image.height() / 4);
        return yellow.red() > 150 && yellow.green() > 150 && yellow.blue() < 80 && green.green() > 150 &&
               green.red() < 80 && green.blue() < 80;
    };
    EXPECT_TRUE(QTest::qWaitFor(showsBars, 5000)) << "channel 7 does not show its station";
    QTest::keyClick(viewer, Qt::Key_Up);  // channel 9: nothing on air
    ASSERT_EQ(viewer->currentChannel(), 9);
    int withoutBars = 0;
    EXPECT_TRUE(QTest::qWaitFor([&] { return showsBars() ? (withoutBars = 0, false) : ++withoutBars >= 5; }, 5000))
        << "channel 9 still shows a station";
}

// Ctrl+C takes the next still picture on timer 41 and announces it until another text comes;
// a folder that takes no file gives a failure text, not a claim of success.
TEST_F(ViewerWindowTest, CtrlCCapturesAStillAndAFailureIsNotAnnouncedAsACapture) {
    test::TemporaryFolder folder;
    store.writeInt("user", "s_flag", 1);
    store.writeString("user", "bmpdirectory", folder.path().string());
    store.writeString("user", "bmpfilename", "Kelto");
    ASSERT_TRUE(open());
    auto* picture = viewer->findChild<capture::CaptureWindowWidget*>();
    ASSERT_TRUE(QTest::qWaitFor([&] {
        scheduler.advanceMs(34);
        return !picture->currentPicture().isNull();
    }, 5000));
    QTest::keyClick(viewer, Qt::Key_C, Qt::ControlModifier);
    scheduler.advanceMs(1);
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path())) files.push_back(entry.path());
    ASSERT_EQ(files.size(), 1u);
    EXPECT_GT(std::filesystem::file_size(files[0]), 1000u);
    EXPECT_EQ(viewer->onScreenText(), QString::fromStdString("CAPTURE : " + files[0].string()));
    scheduler.advanceMs(5000);  // no auto-hide
    EXPECT_EQ(viewer->onScreenText(), QString::fromStdString("CAPTURE : " + files[0].string()));
    close();

    store.writeString("user", "bmpdirectory", (folder.path() / "gone").string());
    ASSERT_TRUE(open());
    QTest::keyClick(viewer, Qt::Key_C, Qt::ControlModifier);
    scheduler.advanceMs(1);
    EXPECT_EQ(viewer->onScreenText(), "CAPTURE FAILED");
}

// Ctrl+R records into the next numbered file; a recording that cannot be made says so (32878).
TEST_F(ViewerWindowTest, ARecordingThatCannotBeMadeIsReported) {
    store.writeInt("user", "s_flag", 1);
    store.writeString("user", "avidirectory", "/nonexistent/kelto/folder");
    ASSERT_TRUE(open());
    QTest::keyClick(viewer, Qt::Key_R, Qt::ControlModifier);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, LoadMessage(32878));
    EXPECT_EQ(boxes[0].icon, framework::MessageIcon::Stop);
    EXPECT_FALSE(viewer->recording());
}

// Messages 0x5C9 and 0x466 carry addresses; inside the program they place the window and trace
// the texts, from another program (whose addresses mean nothing here) they are ignored.
TEST_F(ViewerWindowTest, AddressesInMessagesAreTakenOnlyFromThisProgram) {
    ASSERT_TRUE(open());
    const int rect[4] = {30, 20, 400, 361};
    viewer->wiring().dispatch({viewer->windowHandle(), 0x5C9, 0, std::int64_t(reinterpret_cast<std::intptr_t>(rect))});
    EXPECT_EQ(viewer->geometry(), QRect(30, 20, 400, 360));
    const char* texts[] = {"one", "two"};
    viewer->wiring().dispatch({viewer->windowHandle(), 0x466, 2, std::int64_t(reinterpret_cast<std::intptr_t>(texts))});

    platform::WindowMessage foreign{viewer->windowHandle(), 0x5C9, 0, 0x1234, 0, {}, true};
    viewer->wiring().dispatch(foreign);  // an address of another process: not read
    foreign.message = 0x466;
    foreign.wParam = 3;
    viewer->wiring().dispatch(foreign);
    EXPECT_EQ(viewer->geometry(), QRect(30, 20, 400, 360));
}

TEST_F(ViewerWindowTest, ARefusedStartClosesThroughTheClosePathWithoutLosingTheSavedState) {
    saveState(11, QRect(40, 40, 484, 424));
    platform::setOsVersionAnswer(platform::OsVersionAnswer::NtFamily);
    ASSERT_TRUE(open());
    platform::setOsVersionAnswer(std::nullopt);
    EXPECT_TRUE(viewer->refused());
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(viewer);
    EXPECT_EQ(closedCount, 1);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, LoadMessage(140));
    // The settings were never read, so nothing was written over them.
    EXPECT_EQ(store.readInt("user", "s_channel", 0), 11);
}

}  // namespace
}  // namespace kelto
