#pragma once
// How the viewer window is shown: always on top, the TV frame, the panel strip on or off,
// minimised, full screen (a plain maximise, or after switching the whole display to 640 by 480
// at its depth), and desktop TV (the live picture as the desktop's background, the viewer hidden,
// the on-screen keypad as the control surface). Widget-free: the window does what is asked
// through DisplayModeWindow, and the display and the desktop's background are the platform's.
//
// Every change that hides the window re-establishes the picture afterwards: overlay off, the
// capture window reconnected to its driver with the quality mode, the colour key and the video
// mode handed over again, overlay on.
#include "platform/DesktopBackground.h"
#include "settings/ViewerSettings.h"
#include "viewer/core/ViewerPorts.h"

#include <QRect>
#include <QSize>

#include <cstdint>
#include <string>

namespace kelto::viewer {

// Commands of the display modes.
namespace displaycommand {
inline constexpr int kAlwaysOnTop = 32774;
inline constexpr int kTvFrame = 32777;
inline constexpr int kPanel = 32800;
inline constexpr int kOption640x480 = 32832;
inline constexpr int kMinimise = 32778;
inline constexpr int kFullScreen = 32779;
inline constexpr int kPosition = 32780;
inline constexpr int kDesktopTv = 32790;
// The on-screen keypad's opening command.
inline constexpr int kOpenKeypad = 1052;
}  // namespace displaycommand

inline constexpr int kDesktopTvHideTimer = 30;
inline constexpr std::uint32_t kDesktopTvHideMs = 1000;
inline constexpr int kCaptureQualityMode = 3;
inline constexpr int kCaptureModeNotice = 153;
inline constexpr int kPositionWidth = 484;
inline constexpr int kPositionHeight = 424;
inline constexpr int kPositionHeightWithKeypad = 344;
inline constexpr std::size_t kPatternBytes = 260;

class DisplayModeWindow {
public:
    virtual ~DisplayModeWindow() = default;
    virtual bool maximised() const = 0;
    virtual bool minimised() const = 0;
    // The window's rectangle on the screen, frame included.
    virtual QRect frame() const = 0;
    virtual QSize desktopSize() const = 0;
    virtual CompanionWindows companions() const = 0;
    // Topmost or not, without moving or sizing the window.
    virtual void setTopmost(bool topmost) = 0;
    // Places the window at `frame`, topmost or not, and shows it.
    virtual void placeWindow(const QRect& frame, bool topmost) = 0;
    virtual void resizeWindow(const QSize& size) = 0;
    virtual void hideWindow() = 0;
    virtual void showMaximised() = 0;
    // Back to a normal window (from maximised or minimised) and shown.
    virtual void showNormal() = 0;
    virtual void minimise() = 0;
    virtual void setOverlay(bool on) = 0;
    // Hands the quality mode, the driver connection, the colour key and the video mode to the
    // picture again (the overlay is the caller's).
    virtual void reconnectPicture(int qualityMode) = 0;
    // Moves the picture to where the flags put it and switches its overlay off and on.
    virtual void layoutPicture() = 0;
    virtual void setChildControlsEnabled(bool enabled) = 0;
    // Runs a command of the window now.
    virtual void runCommand(int command) = 0;
    virtual void startTimer(int timerId, std::uint32_t periodMs) = 0;
    // An information box with string `stringId`.
    virtual void showNotice(int stringId) = 0;
    // The picture on the desktop: shown below every other window, covering the desktop (on), or
    // back in the viewer (off).
    virtual void showPictureOnDesktop(bool on) = 0;
    // The cursor shown again (it may have been hidden over the picture in full screen).
    virtual void showCursor() = 0;
};

class ViewerDisplayModes {
public:
    ViewerDisplayModes(ViewerSettings& settings, DisplayModeWindow& window);

    // Runs command `command` (one of displaycommand). False when it is none of them.
    bool runCommand(int command);

    void toggleAlwaysOnTop();
    void toggleTvFrame();
    void togglePanel();
    void toggleOption640x480();
    void minimise();
    void toggleFullScreen();
    void enterFullScreen();
    void leaveFullScreen();
    void resetPosition();
    // Starts desktop TV, or ends it when it is on (the keypad's restore asks so).
    void desktopTv();
    void endDesktopTv();
    // Timer 30 expired: the window hides and the picture stays on the desktop.
    void onHideTimer();
    // Applies always on top at the opening.
    void applyLoaded();
    // At the window's close: the cursor back, the desktop and the display mode restored.
    void restoreAtClose();

    // The quality mode (the colour page sets it; 3 is the capture mode).
    int qualityMode() const { return qualityMode_; }
    void setQualityMode(int mode) { qualityMode_ = mode; }

    bool panelCollapsed() const { return panelCollapsed_; }
    bool panelVisible() const { return panelVisible_; }
    bool programMaximised() const { return programMaximised_; }
    bool displaySwitched() const { return displaySwitched_; }
    bool desktopTvOn() const { return desktopTv_; }
    bool enabled() const { return enabled_; }
    void setEnabled(bool enabled) { enabled_ = enabled; }
    // The rectangle the window had when full screen switched the display.
    const QRect& switchedFrom() const { return switchedFrom_; }
    // What desktop TV keeps to give back.
    platform::PackedColour savedDesktopColour() const { return savedColour_; }
    const std::string& savedPattern() const { return savedPattern_; }

private:
    void reestablishPicture(bool overlayOn);
    void giveBackDesktop();

    ViewerSettings& settings_;
    DisplayModeWindow& window_;
    int qualityMode_ = 2;
    bool panelCollapsed_ = false;
    bool panelVisible_ = true;
    bool programMaximised_ = false;
    bool displaySwitched_ = false;
    bool enabled_ = true;
    QRect switchedFrom_;
    bool desktopTv_ = false;
    platform::PackedColour savedColour_ = 0;
    std::string savedPattern_;
};

}  // namespace kelto::viewer
