// The on-screen keypad with the viewer window: command 1052 opens it in the desktop's corner in
// place of the panel, its keys act through the viewer on release, its tooltips, the keyboard
// (Esc stays, the rest goes to the viewer), what it shows as the viewer changes, and its restore.
#include "tests/viewer/window/ViewerWindowRig.h"

#include "framework/ControlIds.h"
#include "platform/WindowMessageIds.h"
#include "viewer/keypad/CRemoteKeypadDlg.h"

#include <QAbstractButton>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QScreen>
#include <QToolTip>

namespace kelto::test {
namespace {

using viewer::CRemoteKeypadDlg;
using viewer::KeypadRegion;

class KeypadWindowTest : public ViewerWindowRig {
protected:
    void TearDown() override {
        QToolTip::hideText();
        setUiLanguage(std::nullopt);
        ViewerWindowRig::TearDown();
    }
    CRemoteKeypadDlg* openKeypad() {
        viewer->wiring().sendCommand(1052);
        return viewer->keypad().window();
    }
    static QPoint centreOf(KeypadRegion region) { return viewer::keypadRegionRect(region).center(); }
    void click(CRemoteKeypadDlg* keypad, KeypadRegion region) {
        mouse(keypad, QEvent::MouseButtonPress, centreOf(region), Qt::LeftButton, Qt::LeftButton);
        mouse(keypad, QEvent::MouseButtonRelease, centreOf(region), Qt::LeftButton, Qt::NoButton);
    }
    // Runs what was posted (keys for the viewer, commands) and lets a closed keypad go.
    void deliverPosted() {
        for (int i = 0; i < 3; ++i) {
            platform::WindowSystem::instance().dispatchPending();
            QApplication::processEvents();
            QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
    }
    // The tooltip shown with the pointer resting at `at`; "" for none. A tip that is up goes
    // first (a click anywhere takes it away at once).
    QString tipAt(CRemoteKeypadDlg* keypad, QPoint at) {
        QWidget elsewhere;
        mouse(&elsewhere, QEvent::MouseButtonPress, {1, 1}, Qt::LeftButton, Qt::LeftButton);
        EXPECT_FALSE(QToolTip::isVisible());
        QHelpEvent help(QEvent::ToolTip, at, keypad->mapToGlobal(at));
        QApplication::sendEvent(keypad, &help);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    }
};

TEST_F(KeypadWindowTest, OpensInTheDesktopsCornerInPlaceOfThePanel) {
    saveState(7, QRect(40, 40, 484, 424));
    ASSERT_TRUE(open());
    ASSERT_EQ(viewer->size(), QSize(484, 424));
    CRemoteKeypadDlg* keypad = openKeypad();
    ASSERT_TRUE(keypad);
    EXPECT_EQ(framework::resourceIdOf(keypad), 141);
    EXPECT_EQ(keypad->windowTitle(), "Kelto Remote TV ");
    EXPECT_TRUE(keypad->isVisible());
    EXPECT_EQ(keypad->size(), QSize(120, 180));
    // A window of its own (its own task-bar entry), without a caption.
    EXPECT_EQ(keypad->parentWidget(), nullptr);
    EXPECT_TRUE(keypad->windowFlags() & Qt::FramelessWindowHint);
    const QRect desktop = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(keypad->geometry().topLeft(), desktop.bottomRight() + QPoint(1, 1) - QPoint(30 + 120, 80 + 180));

    // The viewer is shorter by the panel, whose place the picture takes; the panel takes no presses.
    EXPECT_TRUE(viewer->session()->companions().keypadOpen);
    EXPECT_EQ(viewer->size(), QSize(484, 364));
    EXPECT_EQ(viewer->pictureRect(), QRect(0, 0, 484, 364));
    EXPECT_TRUE(viewer->panelRect().isEmpty());

    // The command again brings the same keypad forward.
    EXPECT_EQ(openKeypad(), keypad);
    EXPECT_EQ(viewer->size(), QSize(484, 364));

    // Its restore gives the panel back.
    click(keypad, KeypadRegion::Restore);
    deliverPosted();
    EXPECT_FALSE(viewer->keypad().isOpen());
    EXPECT_FALSE(viewer->session()->companions().keypadOpen);
    EXPECT_EQ(viewer->size(), QSize(484, 424));
    EXPECT_EQ(viewer->panelRect(), QRect(0, 364, 484, 60));
    EXPECT_FALSE(viewer->showState().maximised);  // not maximised: full screen is left alone
}

TEST_F(KeypadWindowTest, KeysActOnReleaseInsideAndShowTheirTips) {
    setUiLanguage(UiLanguage::EnglishUS);
    saveState(7, QRect(40, 40, 484, 424));
    ASSERT_TRUE(open());
    CRemoteKeypadDlg* keypad = openKeypad();
    ASSERT_TRUE(keypad);
    EXPECT_EQ(tipAt(keypad, centreOf(KeypadRegion::Digit4)), "Channel Input");
    EXPECT_EQ(tipAt(keypad, centreOf(KeypadRegion::Save)), "Save Channel");
    EXPECT_EQ(tipAt(keypad, centreOf(KeypadRegion::Restore)), "Restore");
    EXPECT_EQ(tipAt(keypad, centreOf(KeypadRegion::Minimise)), "Minimize");
    EXPECT_EQ(tipAt(keypad, QPoint(40, 30)), "");  // the display

    // Pressed, moved off the key and released there: nothing; the release takes the tip away.
    const QPoint one = centreOf(KeypadRegion::Digit1);
    mouse(keypad, QEvent::MouseButtonPress, one, Qt::LeftButton, Qt::LeftButton);
    EXPECT_TRUE(keypad->keypad().view().isDrawnPressed(KeypadRegion::Digit1));
    mouse(keypad, QEvent::MouseMove, one + QPoint(0, 40), Qt::NoButton, Qt::LeftButton);
    EXPECT_FALSE(keypad->keypad().view().isDrawnPressed(KeypadRegion::Digit1));
    ASSERT_FALSE(tipAt(keypad, one).isEmpty());
    mouse(keypad, QEvent::MouseButtonRelease, one + QPoint(0, 40), Qt::LeftButton, Qt::NoButton);
    EXPECT_FALSE(QToolTip::isVisible());
    EXPECT_FALSE(viewer->session()->numericEntryActive());

    // "1" "2" on the broadcast band tunes 12 at once; the keypad shows it.
    click(keypad, KeypadRegion::Digit1);
    click(keypad, KeypadRegion::Digit2);
    EXPECT_EQ(viewer->currentChannel(), 12);
    EXPECT_EQ(keypad->keypad().view().channelNumber, 12);
    // The list keys step through the registered list (6, 7, 9, 11, 12) by the viewer's arrow keys.
    click(keypad, KeypadRegion::ListDown);
    deliverPosted();
    EXPECT_EQ(viewer->currentChannel(), 11);
    click(keypad, KeypadRegion::ListUp);
    deliverPosted();
    EXPECT_EQ(viewer->currentChannel(), 12);
    // The hidden buttons carry the same commands.
    keypad->control<QAbstractButton>(1063)->click();  // "<"
    EXPECT_EQ(viewer->currentChannel(), 11);
}

TEST_F(KeypadWindowTest, EscStaysOnTheKeypadAndOtherKeysGoToTheViewer) {
    saveState(7, QRect(40, 40, 484, 424));
    ASSERT_TRUE(open());
    QPointer<CRemoteKeypadDlg> keypad = openKeypad();
    ASSERT_TRUE(keypad);
    QTest::keyClick(keypad, Qt::Key_Escape);
    QTest::keyClick(keypad, Qt::Key_F10);
    deliverPosted();
    ASSERT_TRUE(keypad);
    EXPECT_TRUE(viewer->keypad().isOpen());
    EXPECT_TRUE(keypad->isVisible());
    EXPECT_EQ(viewer->currentChannel(), 7);

    // The arrow keys become the viewer's channel and volume commands, digits its channel entry.
    QTest::keyClick(keypad, Qt::Key_Up);
    deliverPosted();
    EXPECT_EQ(viewer->currentChannel(), 9);
    QTest::keyClick(keypad, Qt::Key_Left);
    deliverPosted();
    EXPECT_EQ(viewer->session()->volumeStep(), 15);
    EXPECT_EQ(keypad->keypad().view().volumeStep, 15);
    QTest::keyClick(keypad, Qt::Key_1);
    QTest::keyClick(keypad, Qt::Key_1);
    deliverPosted();
    EXPECT_EQ(viewer->currentChannel(), 11);

    // The desktop's close request is the restore.
    keypad->close();
    deliverPosted();
    EXPECT_FALSE(viewer->keypad().isOpen());
    EXPECT_EQ(viewer->size(), QSize(484, 424));
}

TEST_F(KeypadWindowTest, WhileTheViewerIsHiddenTheKeypadRunsItsAccelerators) {
    saveState(7, QRect(40, 40, 484, 424));
    ASSERT_TRUE(open());
    CRemoteKeypadDlg* keypad = openKeypad();
    ASSERT_TRUE(keypad);
    viewer->hide();  // as in desktop TV
    QTest::keyClick(keypad, Qt::Key_Up);  // the command runs at once, nothing waits in the queue
    EXPECT_EQ(viewer->currentChannel(), 9);
    deliverPosted();
    EXPECT_EQ(viewer->currentChannel(), 9);
    // Keys that are no accelerator still go to the viewer: a typed channel number.
    QTest::keyClick(keypad, Qt::Key_6);
    deliverPosted();
    EXPECT_TRUE(viewer->session()->numericEntryActive());
    QTest::keyClick(keypad, Qt::Key_Escape);
    deliverPosted();
    EXPECT_TRUE(viewer->keypad().isOpen());
}

TEST_F(KeypadWindowTest, APressBesideTheKeysMovesTheKeypadAndMinimiseMinimisesIt) {
    saveState(7, QRect(40, 40, 484, 424));
    ASSERT_TRUE(open());
    CRemoteKeypadDlg* keypad = openKeypad();
    ASSERT_TRUE(keypad);
    const QPoint before = keypad->pos();
    const QPoint grip = keypad->mapToGlobal(QPoint(40, 30));  // on the display
    mouseAt(keypad, QEvent::MouseButtonPress, grip, Qt::LeftButton, Qt::LeftButton);
    mouseAt(keypad, QEvent::MouseMove, grip - QPoint(200, 100), Qt::NoButton, Qt::LeftButton);
    mouseAt(keypad, QEvent::MouseButtonRelease, grip - QPoint(200, 100), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(keypad->pos(), before - QPoint(200, 100));
    EXPECT_EQ(viewer->currentChannel(), 7);

    click(keypad, KeypadRegion::Minimise);
    EXPECT_TRUE(keypad->isMinimized());
    EXPECT_TRUE(viewer->keypad().isOpen());
    openKeypad();  // the panel's keypad button brings it back
    EXPECT_FALSE(keypad->isMinimized());
}

TEST_F(KeypadWindowTest, ShowsTheViewersModeMuteAndVolumeAsTheyChange) {
    saveState(7, QRect(40, 40, 484, 424));
    ASSERT_TRUE(open());
    CRemoteKeypadDlg* keypad = openKeypad();
    ASSERT_TRUE(keypad);
    const viewer::KeypadView& shown = keypad->keypad().view();
    EXPECT_EQ(shown.channelNumber, 7);
    EXPECT_EQ(shown.videoMode, VideoMode::TV);
    viewer->wiring().sendCommand(32908);  // CATV
    EXPECT_EQ(shown.videoMode, VideoMode::CATV);
    viewer->wiring().sendCommand(32892);  // mute
    EXPECT_TRUE(shown.muted);
    viewer->wiring().sendCommand(32897);  // volume down (unmutes)
    EXPECT_FALSE(shown.muted);
    EXPECT_EQ(shown.volumeStep, 15);
    // The remote's mute and previous-channel messages reach the keypad and change nothing.
    platform::WindowSystem::instance().sendMessage(viewer->windowHandle(), 0x440, 0, 0);
    platform::WindowSystem::instance().sendMessage(viewer->windowHandle(), 0x442, 0, 0);
    EXPECT_FALSE(shown.muted);
    EXPECT_EQ(keypad->keypad().passedOn().size(), 2u);
}

TEST_F(KeypadWindowTest, WithListNumberingNextStepsThroughTheRegisteredList) {
    saveState(7, QRect(40, 40, 484, 424));
    store.writeInt("user", "CountryCode", 86);
    ASSERT_TRUE(open());
    ASSERT_EQ(viewer->countryCode(), 86);
    CRemoteKeypadDlg* keypad = openKeypad();
    ASSERT_TRUE(keypad);
    click(keypad, KeypadRegion::Next);
    deliverPosted();
    EXPECT_EQ(viewer->currentChannel(), 9);
    EXPECT_EQ(keypad->keypad().view().channelNumber, 3);  // the third registered channel
    click(keypad, KeypadRegion::Previous);
    click(keypad, KeypadRegion::Previous);
    deliverPosted();
    EXPECT_EQ(viewer->currentChannel(), 6);
    EXPECT_EQ(keypad->keypad().view().channelNumber, 1);
}

TEST_F(KeypadWindowTest, RestoreWhileFullScreenLeavesFullScreen) {
    saveState(7, QRect(40, 40, 484, 424));
    ASSERT_TRUE(open());
    CRemoteKeypadDlg* keypad = openKeypad();
    ASSERT_TRUE(keypad);
    viewer->showMaximized();
    QApplication::processEvents();
    ASSERT_TRUE(viewer->showState().maximised);
    keypad->control<QAbstractButton>(1102)->click();  // the hidden restore button
    deliverPosted();
    EXPECT_FALSE(viewer->keypad().isOpen());
    EXPECT_FALSE(viewer->showState().maximised);
    EXPECT_FALSE(viewer->displayModes().desktopTvOn());
}

}  // namespace
}  // namespace kelto::test

namespace kelto::test {
namespace {

// Without a sound card the viewer still keeps its mute state and shows it everywhere.
class KeypadWithoutMixerTest : public KeypadWindowTest {
protected:
    void SetUp() override {
        withSoundCard = false;
        KeypadWindowTest::SetUp();
    }
};

TEST_F(KeypadWithoutMixerTest, ShowsTheMuteStateTheViewerKeeps) {
    saveState(7, QRect(40, 40, 484, 424));
    ASSERT_TRUE(open());
    CRemoteKeypadDlg* keypad = openKeypad();
    ASSERT_TRUE(keypad);
    viewer->wiring().sendCommand(32892);  // mute
    ASSERT_TRUE(viewer->session()->muted());
    EXPECT_TRUE(viewer->panelState().muted);
    EXPECT_TRUE(keypad->keypad().view().muted);
    viewer->wiring().sendCommand(32892);
    EXPECT_FALSE(keypad->keypad().view().muted);
}

}  // namespace
}  // namespace kelto::test
