// The display modes' order of work, on a window that only notes what it is asked: the switched
// full screen hides the window and takes the overlay away before the display changes, and only
// shows the window again once the picture is re-established; leaving undoes it in the same
// order and puts the window back where it was.
#include "viewer/window/DisplayModes.h"
#include "viewer/window/WinModeExports.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kelto::viewer {
namespace {

class NotingWindow final : public DisplayModeWindow {
public:
    std::vector<std::string> log;
    bool isMaximised = false, isMinimised = false;
    QRect rect{40, 40, 484, 424};
    CompanionWindows open;

    bool maximised() const override { return isMaximised; }
    bool minimised() const override { return isMinimised; }
    QRect frame() const override { return rect; }
    QSize desktopSize() const override { return {1024, 768}; }
    CompanionWindows companions() const override { return open; }
    void setTopmost(bool topmost) override { log.push_back(topmost ? "topmost" : "not topmost"); }
    void placeWindow(const QRect& frame, bool topmost) override {
        rect = frame;
        log.push_back(std::string("place") + (topmost ? " topmost" : ""));
    }
    void resizeWindow(const QSize& size) override { rect.setSize(size); }
    void hideWindow() override { log.push_back("hide"); }
    void showMaximised() override {
        isMaximised = true;
        isMinimised = false;
        log.push_back("maximise");
    }
    void showNormal() override {
        isMaximised = isMinimised = false;
        log.push_back("normal");
    }
    void minimise() override {
        isMinimised = true;
        log.push_back("minimise");
    }
    void setOverlay(bool on) override { log.push_back(on ? "overlay on" : "overlay off"); }
    void reconnectPicture(int) override { log.push_back("reconnect"); }
    void layoutPicture() override { log.push_back("layout"); }
    void setChildControlsEnabled(bool) override {}
    void runCommand(int command) override { log.push_back("command " + std::to_string(command)); }
    void startTimer(int timerId, std::uint32_t) override { log.push_back("timer " + std::to_string(timerId)); }
    void showNotice(int stringId) override { log.push_back("notice " + std::to_string(stringId)); }
    void showPictureOnDesktop(bool on) override { log.push_back(on ? "on desktop" : "off desktop"); }
    void showCursor() override { log.push_back("cursor"); }
};

class ViewerDisplayModesTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::setDisplayModes(&display);
        platform::setDesktopBackground(&desktop);
        forgetSavedWinMode();
    }
    void TearDown() override {
        platform::setDisplayModes(nullptr);
        platform::setDesktopBackground(nullptr);
        forgetSavedWinMode();
    }
    platform::InMemoryDisplay display = platform::typicalDisplay(1024, 768, 16);
    platform::RecordingDesktopBackground desktop;
    ViewerSettings settings;
    NotingWindow window;
    ViewerDisplayModes modes{settings, window};
};

TEST_F(ViewerDisplayModesTest, TheSwitchHappensWhileTheWindowIsHiddenAndWithoutOverlay) {
    settings.forceDisplayChange = 1;
    settings.aboveScreen = 1;
    modes.toggleFullScreen();
    EXPECT_EQ(window.log, (std::vector<std::string>{"hide", "overlay off", "overlay off", "reconnect", "maximise"}));
    EXPECT_EQ(display.current()->width, 640);
    EXPECT_EQ(display.current()->bitsPerPixel, 16);
    EXPECT_EQ(modes.switchedFrom(), QRect(40, 40, 484, 424));

    window.rect = QRect(0, 0, 640, 480);
    window.log.clear();
    modes.toggleFullScreen();
    EXPECT_EQ(window.log, (std::vector<std::string>{"hide", "overlay off", "overlay off", "reconnect", "overlay on",
                                                    "normal", "place topmost"}));
    EXPECT_EQ(display.current()->width, 1024);
    EXPECT_EQ(window.rect, QRect(40, 40, 484, 424));
    EXPECT_EQ(settings.fullScreen, 1);
}

TEST_F(ViewerDisplayModesTest, FromMinimisedThePictureIsReestablishedBeforeTheWindowShows) {
    window.isMinimised = true;
    modes.toggleFullScreen();
    EXPECT_EQ(window.log, (std::vector<std::string>{"hide", "overlay off", "reconnect", "overlay on", "maximise"}));
    EXPECT_TRUE(display.switches().empty());
}

TEST_F(ViewerDisplayModesTest, DesktopTvOpensTheKeypadFirstAndHidesAfterItsTimer) {
    settings.colorKey = {1, 2, 3};
    modes.desktopTv();
    EXPECT_EQ(window.log, (std::vector<std::string>{"command 1052", "maximise", "timer 30"}));
    EXPECT_EQ(desktop.colour(), 0x030201u);
    window.log.clear();
    modes.onHideTimer();
    EXPECT_EQ(window.log, (std::vector<std::string>{"on desktop", "hide"}));
    window.log.clear();
    modes.desktopTv();  // the keypad's restore
    EXPECT_EQ(window.log, (std::vector<std::string>{"off desktop", "normal"}));
    EXPECT_EQ(desktop.colour(), 0u);
    // The hide timer running out after the end hides nothing.
    window.log.clear();
    modes.onHideTimer();
    EXPECT_TRUE(window.log.empty());
}

}  // namespace
}  // namespace kelto::viewer
