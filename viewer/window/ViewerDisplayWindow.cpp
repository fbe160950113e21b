#include "viewer/window/ViewerDisplayWindow.h"

#include "capture/CaptureWindowWidget.h"
#include "framework/ControlIds.h"
#include "framework/MessageBoxes.h"
#include "resources/ArtResource.h"
#include "resources/StringTable.h"
#include "viewer/window/CTvViewerDlg.h"
#include "viewer/window/DesktopPicture.h"

#include <QGuiApplication>
#include <QScreen>

namespace kelto::viewer {

ViewerDisplayWindow::ViewerDisplayWindow(CTvViewerDlg& viewer) : viewer_(viewer) {}

ViewerDisplayWindow::~ViewerDisplayWindow() {
    // The picture goes back to the viewer, which owns it.
    if (desktop_ && desktop_->picture()) desktop_->giveBack(viewer_);
}

template <typename Change>
void ViewerDisplayWindow::ownStateChange(Change change) {
    const bool nested = viewer_.inSystemCommand_;
    viewer_.inSystemCommand_ = true;
    change();
    viewer_.inSystemCommand_ = nested;
}

bool ViewerDisplayWindow::pictureOnDesktop() const { return desktop_ && desktop_->picture(); }

bool ViewerDisplayWindow::maximised() const { return viewer_.showState().maximised; }
bool ViewerDisplayWindow::minimised() const { return viewer_.isMinimized(); }
QRect ViewerDisplayWindow::frame() const { return viewer_.geometry(); }

QSize ViewerDisplayWindow::desktopSize() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry().size() : QSize(1024, 768);
}

CompanionWindows ViewerDisplayWindow::companions() const {
    return viewer_.session_ ? viewer_.session_->companions() : CompanionWindows{};
}

void ViewerDisplayWindow::setTopmost(bool topmost) {
    if (viewer_.windowFlags().testFlag(Qt::WindowStaysOnTopHint) == topmost) return;
    // Changing a window's flags takes it off the screen; it comes back where it was.
    const bool visible = viewer_.isVisible();
    const QRect frame = viewer_.geometry();
    ownStateChange([&] {
        viewer_.setWindowFlag(Qt::WindowStaysOnTopHint, topmost);
        viewer_.setGeometry(frame);
        if (visible) viewer_.show();
    });
}

void ViewerDisplayWindow::placeWindow(const QRect& frame, bool topmost) {
    setTopmost(topmost);
    ownStateChange([&] {
        viewer_.setGeometry(frame);
        viewer_.show();
    });
}

void ViewerDisplayWindow::resizeWindow(const QSize& size) {
    ownStateChange([&] { viewer_.resize(size); });
}

void ViewerDisplayWindow::hideWindow() {
    ownStateChange([&] { viewer_.hide(); });
}

void ViewerDisplayWindow::showMaximised() {
    // Full screen covers the whole screen, panels and all, as the mode it may have switched to.
    ownStateChange([&] { viewer_.showFullScreen(); });
}

void ViewerDisplayWindow::showNormal() {
    ownStateChange([&] { viewer_.showNormal(); });
}

void ViewerDisplayWindow::minimise() {
    ownStateChange([&] { viewer_.showMinimized(); });
}

void ViewerDisplayWindow::setOverlay(bool on) {
    if (viewer_.hardware_) viewer_.hardware_->captureWindow().SetOverlay(on);
}

void ViewerDisplayWindow::reconnectPicture(int) {
    // The quality mode and the colour key have no setting of their own in the card's library:
    // the picture is made again from the driver connection and the video mode.
    if (!viewer_.hardware_) return;
    viewer_.hardware_->captureWindow().Connect();
    if (viewer_.session_) viewer_.session_->applyLoadedMode();
}

void ViewerDisplayWindow::layoutPicture() {
    viewer_.layoutChildren();
    setOverlay(false);
    setOverlay(true);
    viewer_.update();
}

void ViewerDisplayWindow::setChildControlsEnabled(bool enabled) {
    for (QWidget* child : viewer_.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (framework::controlIdOf(child) != 0) child->setEnabled(enabled);
    viewer_.update();
}

void ViewerDisplayWindow::runCommand(int command) { viewer_.wiring().sendCommand(command); }

void ViewerDisplayWindow::startTimer(int timerId, std::uint32_t periodMs) {
    viewer_.timers().set(timerId, periodMs, framework::WindowTimers::Mode::OneShot);
}

void ViewerDisplayWindow::showNotice(int stringId) {
    framework::messageBox(&viewer_, LoadMessage(stringId), framework::MessageButtons::Ok,
                          framework::MessageIcon::Information);
}

void ViewerDisplayWindow::showPictureOnDesktop(bool on) {
    auto* picture = viewer_.hardware_ ? viewer_.hardware_->captureWindow().GetWindow() : nullptr;
    if (on) {
        if (!picture || pictureOnDesktop()) return;
        if (!desktop_) desktop_ = std::make_unique<DesktopPicture>();
        desktop_->take(*picture);
        return;
    }
    if (!pictureOnDesktop()) return;
    desktop_->giveBack(viewer_);
    viewer_.layoutChildren();
}

void ViewerDisplayWindow::showCursor() {
    if (viewer_.hardware_)
        if (auto* picture = viewer_.hardware_->captureWindow().GetWindow())
            picture->setCursor(cursorResource(PictureMouse::kPictureCursor));
}

}  // namespace kelto::viewer
