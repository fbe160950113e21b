// The viewer's display modes on an in-memory display and desktop: full screen with and without
// the 640x480 switch (and the flags each way leaves), the switch failing, position and
// initialisation, the panel and the frame, always on top, desktop TV and its refusals, and the
// display given back at close.
#include "tests/viewer/window/ViewerWindowRig.h"

#include "platform/DesktopBackground.h"
#include "platform/DisplayModes.h"
#include "platform/Registry.h"
#include "viewer/window/DesktopPicture.h"
#include "viewer/window/WinModeExports.h"

#include <QGuiApplication>
#include <QScreen>

namespace kelto {
namespace {

using platform::DisplayMode;
using platform::InMemoryDisplay;
using platform::RecordingDesktopBackground;
using Call = RecordingDesktopBackground::Call;

constexpr QRect kWindow(40, 40, 484, 424);

class DisplayModesTest : public test::ViewerWindowRig {
protected:
    void SetUp() override {
        ViewerWindowRig::SetUp();
        platform::setDisplayModes(&display);
        platform::setDesktopBackground(&desktop);
        viewer::forgetSavedWinMode();
        saveState(7, kWindow);
    }
    void TearDown() override {
        ViewerWindowRig::TearDown();
        platform::setDisplayModes(nullptr);
        platform::setDesktopBackground(nullptr);
        viewer::forgetSavedWinMode();
    }
    void command(int id) { viewer->wiring().sendCommand(id); }
    bool fullScreen() const { return viewer->showState().maximised; }
    QSize screen() const { return QGuiApplication::primaryScreen()->availableGeometry().size(); }
    static DisplayMode mode(int width, int height, std::uint64_t id = 0) { return {24, width, height, 0, id}; }

    InMemoryDisplay display = platform::typicalDisplay(1024, 768, 24);
    RecordingDesktopBackground desktop;
};

TEST_F(DisplayModesTest, WithTheOptionFullScreenSwitchesTo640x480AndBackToTheWindowsRectangle) {
    ASSERT_TRUE(open());
    const DisplayMode before = *display.current();
    command(32832);
    EXPECT_EQ(viewer->settings().forceDisplayChange, 1);
    command(32779);
    EXPECT_TRUE(fullScreen());
    EXPECT_TRUE(viewer->displayModes().displaySwitched());
    // For the session, then as the display's setting, at the depth in use.
    ASSERT_EQ(display.switches().size(), 2u);
    for (const auto& change : display.switches()) {
        EXPECT_EQ(change.mode.bitsPerPixel, 24);
        EXPECT_EQ(QSize(change.mode.width, change.mode.height), QSize(640, 480));
        EXPECT_TRUE(change.applied);
    }
    EXPECT_FALSE(display.switches()[0].remember);
    EXPECT_TRUE(display.switches()[1].remember);
    EXPECT_EQ(QSize(display.current()->width, display.current()->height), QSize(640, 480));
    // No context menu while the switched display fills the screen.
    mouse(picture(), QEvent::MouseButtonPress, {30, 30}, Qt::RightButton, Qt::RightButton);
    EXPECT_EQ(viewer->lastContextMenu(), nullptr);

    command(32779);
    EXPECT_FALSE(fullScreen());
    EXPECT_FALSE(viewer->displayModes().displaySwitched());
    EXPECT_EQ(*display.current(), before);  // the very mode, not one of its size
    ASSERT_EQ(display.switches().size(), 4u);
    EXPECT_EQ(display.switches()[3].mode.id, before.id);
    EXPECT_EQ(viewer->geometry(), kWindow);
    EXPECT_TRUE(viewer->isVisible());
    // Left through the switched path, full screen stays saved as on.
    EXPECT_EQ(viewer->settings().fullScreen, 1);
    close();
    EXPECT_EQ(store.readInt("user", "s_fullscreen", 0), 1);
}

TEST_F(DisplayModesTest, WithoutTheOptionFullScreenIsAPlainMaximiseAndTheModeNeverChanges) {
    ASSERT_TRUE(open());
    command(32779);
    EXPECT_TRUE(fullScreen());
    EXPECT_EQ(viewer->settings().fullScreen, 1);
    EXPECT_TRUE(viewer->displayModes().programMaximised());
    command(32779);
    EXPECT_FALSE(fullScreen());
    EXPECT_EQ(viewer->geometry(), kWindow);
    EXPECT_EQ(viewer->settings().fullScreen, 0);
    EXPECT_FALSE(viewer->displayModes().programMaximised());
    EXPECT_TRUE(display.switches().empty());
    EXPECT_EQ(display.queries(), 0);
    // The option turned off while full screen leaves it at once.
    command(32832);
    command(32779);
    EXPECT_TRUE(fullScreen());
    command(32832);
    EXPECT_FALSE(fullScreen());
}

TEST_F(DisplayModesTest, ADisplayThatCannotSwitchLeavesFullScreenAPlainMaximise) {
    // No mode matches the one in use: the save fails and nothing is switched.
    display = InMemoryDisplay({mode(800, 600, 1)}, -1);
    ASSERT_TRUE(open());
    command(32832);
    command(32779);
    EXPECT_TRUE(fullScreen());
    EXPECT_FALSE(viewer->displayModes().displaySwitched());
    EXPECT_TRUE(display.switches().empty());
    command(32779);
    EXPECT_FALSE(fullScreen());
    EXPECT_EQ(viewer->settings().fullScreen, 0);

    // A refused switch leaves the flag off, so leaving restores nothing.
    display = platform::typicalDisplay(1024, 768, 24);
    display.refuseSwitches(true);
    command(32779);
    EXPECT_TRUE(fullScreen());
    EXPECT_FALSE(viewer->displayModes().displaySwitched());
    ASSERT_EQ(display.switches().size(), 1u);
    command(32779);
    EXPECT_FALSE(fullScreen());
    EXPECT_EQ(display.switches().size(), 1u);
    EXPECT_EQ(viewer->geometry(), kWindow);
}

TEST_F(DisplayModesTest, FullScreenFromMinimisedAndTheMinimisedLeaveKeepTheFlag) {
    ASSERT_TRUE(open());
    command(32778);
    EXPECT_TRUE(viewer->isMinimized());
    command(32778);  // already minimised: nothing
    EXPECT_TRUE(viewer->isMinimized());
    command(32779);
    EXPECT_FALSE(viewer->isMinimized());
    EXPECT_TRUE(fullScreen());
    EXPECT_EQ(viewer->settings().fullScreen, 1);
    // Minimised from full screen and left from there: a normal window, the flag still set.
    command(32778);
    ASSERT_TRUE(viewer->isMinimized());
    viewer->displayModes().leaveFullScreen();
    EXPECT_FALSE(viewer->isMinimized());
    EXPECT_FALSE(fullScreen());
    EXPECT_EQ(viewer->settings().fullScreen, 1);
    // With the enable flag off neither minimise nor full screen acts.
    viewer->displayModes().setEnabled(false);
    command(32778);
    command(32779);
    EXPECT_FALSE(viewer->isMinimized());
    EXPECT_FALSE(fullScreen());
}

TEST_F(DisplayModesTest, PositionAndInitialisationWhileFullScreenEndsAt484By424) {
    ASSERT_TRUE(open());
    command(32832);
    command(32779);
    ASSERT_TRUE(viewer->displayModes().displaySwitched());
    command(32780);
    EXPECT_FALSE(fullScreen());
    EXPECT_FALSE(viewer->displayModes().displaySwitched());
    EXPECT_EQ(QSize(display.current()->width, display.current()->height), QSize(1024, 768));
    EXPECT_EQ(viewer->geometry(), QRect(screen().width() / 4, screen().height() / 4, 484, 424));
    EXPECT_TRUE(viewer->isVisible());
    // From a normal window the same place.
    viewer->move(5, 5);
    command(32780);
    EXPECT_EQ(viewer->geometry(), QRect(screen().width() / 4, screen().height() / 4, 484, 424));
}

TEST_F(DisplayModesTest, ThePanelCollapsesBy60AndNotWhileMaximised) {
    ASSERT_TRUE(open());
    ASSERT_EQ(viewer->size(), QSize(484, 424));
    command(32800);
    EXPECT_EQ(viewer->size(), QSize(484, 364));
    EXPECT_TRUE(viewer->displayModes().panelCollapsed());
    EXPECT_FALSE(viewer->panelShown());
    EXPECT_EQ(viewer->pictureRect(), QRect(0, 0, 484, 364));
    command(32800);
    EXPECT_EQ(viewer->size(), QSize(484, 424));
    EXPECT_TRUE(viewer->panelShown());
    EXPECT_EQ(viewer->pictureRect(), QRect(0, 0, 484, 364));

    command(32779);
    const QSize maximised = viewer->size();
    command(32800);
    EXPECT_FALSE(viewer->displayModes().panelCollapsed());
    EXPECT_EQ(viewer->size(), maximised);
    // Not while a sheet or the keypad is open either.
    command(32779);
    viewer::CompanionWindows open;
    open.captureSheetOpen = true;
    viewer->session()->setCompanions(open);
    command(32800);
    EXPECT_FALSE(viewer->displayModes().panelCollapsed());
}

TEST_F(DisplayModesTest, AlwaysOnTopAndTheTvFrameKeepTheWindowWhereItIs) {
    ASSERT_TRUE(open());
    command(32774);
    EXPECT_EQ(viewer->settings().aboveScreen, 1);
    EXPECT_TRUE(viewer->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(viewer->geometry(), kWindow);
    EXPECT_TRUE(viewer->isVisible());
    command(32774);
    EXPECT_FALSE(viewer->windowFlags().testFlag(Qt::WindowStaysOnTopHint));

    command(32777);
    EXPECT_EQ(viewer->settings().windowTle, 1);
    EXPECT_EQ(viewer->pictureRect(), QRect(10, 10, 464, 344));
    EXPECT_EQ(picture()->geometry(), viewer->pictureRect());
    // Not while maximised.
    command(32779);
    command(32777);
    EXPECT_EQ(viewer->settings().windowTle, 1);
    command(32779);
    close();
    EXPECT_EQ(store.readInt("user", "s_windowtle", 0), 1);
}

TEST_F(DisplayModesTest, DesktopTvIsRefusedInCaptureQualityAndDoesNothingWhileSwitched) {
    ASSERT_TRUE(open());
    viewer->displayModes().setQualityMode(3);
    command(32790);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, LoadMessage(153));
    EXPECT_EQ(boxes[0].icon, framework::MessageIcon::Information);
    EXPECT_FALSE(viewer->displayModes().desktopTvOn());
    EXPECT_TRUE(desktop.calls().empty());

    viewer->displayModes().setQualityMode(2);
    command(32832);
    command(32779);
    ASSERT_TRUE(viewer->displayModes().displaySwitched());
    command(32790);
    EXPECT_FALSE(viewer->displayModes().desktopTvOn());
    EXPECT_TRUE(desktop.calls().empty());
    EXPECT_FALSE(viewer->keypad().isOpen());  // no keypad either
    EXPECT_EQ(boxes.size(), 1u);
}

TEST_F(DisplayModesTest, DesktopTvPutsThePictureOnTheDesktopAndItsEndGivesTheDesktopBack) {
    auto& registry = platform::Registry::instance();
    registry.setString(platform::RegHive::CurrentUser, platform::kDesktopKey, "Pattern", "170 85 170 85");
    registry.setString(platform::RegHive::CurrentUser, platform::kDesktopKey, "Wallpaper", "/home/user/hills.png");
    desktop.setColour(0x336699);
    desktop.clear();
    ASSERT_TRUE(open());
    ASSERT_TRUE(waitForFrame());
    // Lent to the desktop meanwhile, the picture is no child of the viewer then.
    QPointer<QWidget> live = picture();

    command(32790);
    EXPECT_TRUE(viewer->displayModes().desktopTvOn());
    EXPECT_TRUE(viewer->keypad().isOpen());
    EXPECT_TRUE(viewer->session()->companions().keypadOpen);
    EXPECT_TRUE(fullScreen());
    const std::uint32_t colourKey = 0xFF00FF;  // magenta, red in the low byte
    EXPECT_EQ(desktop.calls(), (std::vector<RecordingDesktopBackground::Entry>{
                                   {Call::SetPattern, "", 0}, {Call::SetColour, {}, colourKey}, {Call::SetWallpaper, "", 0}}));
    // The remote's full-screen key does nothing meanwhile.
    viewer->wiring().dispatch({viewer->windowHandle(), 0x43E, 0, 0, 0, {}, false});
    EXPECT_TRUE(viewer->isVisible());
    // A second later the viewer hides; the picture stays, on a window below all others.
    scheduler.advanceMs(999);
    EXPECT_TRUE(viewer->isVisible());
    scheduler.advanceMs(1);
    EXPECT_FALSE(viewer->isVisible());
    auto* onDesktop = dynamic_cast<viewer::DesktopPicture*>(live->window());
    ASSERT_NE(onDesktop, nullptr);
    EXPECT_TRUE(onDesktop->isVisible());
    EXPECT_TRUE(onDesktop->windowFlags().testFlag(Qt::WindowStaysOnBottomHint));
    EXPECT_TRUE(onDesktop->testAttribute(Qt::WA_X11NetWmWindowTypeDesktop));
    EXPECT_EQ(live->size(), onDesktop->size());
    // Live: frames keep coming while the viewer is hidden.
    const QImage shown = static_cast<capture::CaptureWindowWidget*>(live.data())->currentPicture();
    EXPECT_FALSE(shown.isNull());

    // The keypad's restore ends it: colour, wallpaper and pattern come back, the viewer shows.
    desktop.clear();
    viewer->keypad().window()->close();
    ASSERT_TRUE(deliverPostedUntil([&] { return !viewer->keypad().isOpen(); }));
    EXPECT_FALSE(viewer->displayModes().desktopTvOn());
    EXPECT_EQ(desktop.calls(), (std::vector<RecordingDesktopBackground::Entry>{
                                   {Call::SetColour, {}, 0x336699},
                                   {Call::SetWallpaper, "/home/user/hills.png", 0},
                                   {Call::SetPattern, "170 85 170 85", 0}}));
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_FALSE(fullScreen());
    // A normal window again: the 4:3 sizing holds again.
    EXPECT_FALSE(viewer->displayModes().programMaximised());
    EXPECT_EQ(live->window(), viewer.data());
    EXPECT_EQ(live->geometry(), viewer->pictureRect());
    registry.deleteKey(platform::RegHive::CurrentUser, platform::kDesktopKey);
}

TEST_F(DisplayModesTest, CloseGivesBackTheSwitchedDisplayAndTheDesktop) {
    ASSERT_TRUE(open());
    command(32832);
    command(32779);
    ASSERT_EQ(QSize(display.current()->width, display.current()->height), QSize(640, 480));
    close();
    EXPECT_EQ(QSize(display.current()->width, display.current()->height), QSize(1024, 768));
    EXPECT_EQ(store.readInt("user", "s_forcedisplaychange", 0), 1);

    // Closed in desktop TV: the desktop's colour comes back too.
    desktop.setColour(0x112233);
    store.writeInt("user", "s_fullscreen", 0);
    ASSERT_TRUE(open());
    command(32790);
    ASSERT_TRUE(viewer->displayModes().desktopTvOn());
    close();
    EXPECT_EQ(desktop.colour(), 0x112233u);
}

TEST_F(DisplayModesTest, SavedFullScreenOpensInFullScreen) {
    store.writeInt("user", "s_fullscreen", 1);
    ASSERT_TRUE(open());
    EXPECT_TRUE(deliverPostedUntil([&] { return fullScreen(); }));
    EXPECT_EQ(viewer->settings().fullScreen, 1);
}

}  // namespace
}  // namespace kelto
