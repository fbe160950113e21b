#include "viewer/window/DisplayModes.h"

#include "platform/Registry.h"
#include "platform/Trace.h"
#include "viewer/panel/PanelLayout.h"
#include "viewer/window/WinModeExports.h"

namespace kelto::viewer {

using namespace displaycommand;

ViewerDisplayModes::ViewerDisplayModes(ViewerSettings& settings, DisplayModeWindow& window)
    : settings_(settings), window_(window) {}

bool ViewerDisplayModes::runCommand(int command) {
    switch (command) {
    case kAlwaysOnTop: toggleAlwaysOnTop(); return true;
    case kTvFrame: toggleTvFrame(); return true;
    case kPanel: togglePanel(); return true;
    case kOption640x480: toggleOption640x480(); return true;
    case kMinimise: minimise(); return true;
    case kFullScreen: toggleFullScreen(); return true;
    case kPosition: resetPosition(); return true;
    case kDesktopTv: desktopTv(); return true;
    default: return false;
    }
}

void ViewerDisplayModes::applyLoaded() {
    window_.setTopmost(settings_.aboveScreen != 0);
}

void ViewerDisplayModes::reestablishPicture(bool overlayOn) {
    window_.setOverlay(false);
    window_.reconnectPicture(qualityMode_);
    if (overlayOn) window_.setOverlay(true);
}

void ViewerDisplayModes::toggleAlwaysOnTop() {
    settings_.aboveScreen = settings_.aboveScreen ? 0 : 1;
    window_.setTopmost(settings_.aboveScreen != 0);
}

void ViewerDisplayModes::toggleTvFrame() {
    if (window_.maximised()) return;
    settings_.windowTle = settings_.windowTle ? 0 : 1;
    window_.layoutPicture();
}

void ViewerDisplayModes::togglePanel() {
    const CompanionWindows open = window_.companions();
    if (open.keypadOpen || open.configSheetOpen || open.captureSheetOpen || window_.maximised()) return;
    panelCollapsed_ = !panelCollapsed_;
    const QSize size = window_.frame().size();
    if (panelCollapsed_) {
        panelVisible_ = false;
        window_.resizeWindow(QSize(size.width(), size.height() - kPanelHeight));
        window_.setChildControlsEnabled(false);
    } else {
        panelVisible_ = true;
        window_.resizeWindow(QSize(size.width(), size.height() + kPanelHeight));
        window_.setChildControlsEnabled(true);
    }
}

void ViewerDisplayModes::toggleOption640x480() {
    settings_.forceDisplayChange = settings_.forceDisplayChange ? 0 : 1;
    if (!settings_.forceDisplayChange && window_.maximised()) leaveFullScreen();
}

void ViewerDisplayModes::minimise() {
    if (enabled_ && !window_.minimised()) window_.minimise();
}

void ViewerDisplayModes::toggleFullScreen() {
    if (!window_.maximised()) enterFullScreen();
    else leaveFullScreen();
}

void ViewerDisplayModes::enterFullScreen() {
    if (!enabled_) return;
    settings_.fullScreen = 1;
    if (window_.maximised()) return;
    programMaximised_ = true;
    if (window_.minimised()) {
        window_.hideWindow();
        reestablishPicture(true);
        window_.showMaximised();
    } else if (settings_.forceDisplayChange) {
        switchedFrom_ = window_.frame();
        if (SaveWinMode(nullptr)) {
            window_.hideWindow();
            window_.setOverlay(false);
            displaySwitched_ = SetWin640x480Mode(nullptr) != 0;
            // The overlay comes back with the maximised window's new size.
            reestablishPicture(false);
        }
        window_.showMaximised();
    } else {
        window_.showMaximised();
    }
}

void ViewerDisplayModes::leaveFullScreen() {
    if (!enabled_ || !(window_.maximised() || window_.minimised())) return;
    programMaximised_ = false;
    if (window_.minimised()) {
        window_.hideWindow();
        reestablishPicture(true);
        window_.showNormal();
    } else if (displaySwitched_) {
        window_.hideWindow();
        window_.setOverlay(false);
        if (!RestoreWinMode(nullptr)) platform::tracef("Viewer: the display mode could not be restored");
        reestablishPicture(true);
        window_.showNormal();
        displaySwitched_ = false;
        window_.placeWindow(switchedFrom_, settings_.aboveScreen != 0);
    } else {
        settings_.fullScreen = 0;
        window_.showNormal();
    }
}

void ViewerDisplayModes::resetPosition() {
    // Full screen is left first, at once, so that the placement lands on a normal window.
    if (window_.maximised()) window_.runCommand(kFullScreen);
    const QSize desktop = window_.desktopSize();
    const int height = window_.companions().keypadOpen ? kPositionHeightWithKeypad : kPositionHeight;
    window_.placeWindow(QRect(desktop.width() / 4, desktop.height() / 4, kPositionWidth, height),
                        settings_.aboveScreen != 0);
}

void ViewerDisplayModes::desktopTv() {
    if (desktopTv_) return endDesktopTv();
    if (qualityMode_ == kCaptureQualityMode) return window_.showNotice(kCaptureModeNotice);
    if (displaySwitched_) return;
    window_.runCommand(kOpenKeypad);
    desktopTv_ = true;
    programMaximised_ = true;
    window_.showMaximised();

    platform::DesktopBackground& desktop = platform::desktopBackground();
    savedPattern_ = platform::Registry::instance()
                        .queryString(platform::RegHive::CurrentUser, platform::kDesktopKey, "Pattern")
                        .value_or("");
    if (savedPattern_.size() >= kPatternBytes) savedPattern_.resize(kPatternBytes - 1);
    desktop.setPattern("");
    savedColour_ = desktop.colour();
    desktop.setColour(settings_.colorKey.packed());
    desktop.setWallpaper("");
    window_.startTimer(kDesktopTvHideTimer, kDesktopTvHideMs);
}

void ViewerDisplayModes::onHideTimer() {
    if (!desktopTv_) return;
    window_.showPictureOnDesktop(true);
    window_.hideWindow();
}

void ViewerDisplayModes::endDesktopTv() {
    if (!desktopTv_) return;
    giveBackDesktop();
    window_.showPictureOnDesktop(false);
    window_.showNormal();
}

// The desktop's colour, wallpaper and pattern as they were before desktop TV; the wallpaper is
// the user's as the registry names it.
void ViewerDisplayModes::giveBackDesktop() {
    platform::DesktopBackground& desktop = platform::desktopBackground();
    desktop.setColour(savedColour_);
    if (const auto wallpaper =
            platform::Registry::instance().queryString(platform::RegHive::CurrentUser, platform::kDesktopKey, "Wallpaper"))
        desktop.setWallpaper(*wallpaper);
    desktop.setPattern(savedPattern_);
    desktopTv_ = false;
    programMaximised_ = false;
}

void ViewerDisplayModes::restoreAtClose() {
    if (settings_.fullScreen) window_.showCursor();
    if (desktopTv_) giveBackDesktop();
    if (displaySwitched_) {
        window_.setOverlay(false);
        if (RestoreWinMode(nullptr)) displaySwitched_ = false;
    }
}

}  // namespace kelto::viewer
