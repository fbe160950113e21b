#include "viewer/window/PictureMouse.h"

#include "resources/ArtResource.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

namespace kelto::viewer {

namespace {

bool startWindowManagerMove(QWidget& window) {
    QWindow* handle = window.windowHandle();
    return handle && handle->startSystemMove();
}

}  // namespace

PictureMouse::PictureMouse(QWidget& picture, QWidget& viewer, framework::WindowTimers& timers, ViewerSide side)
    : QObject(&picture), picture_(picture), viewer_(viewer), timers_(timers), side_(std::move(side)),
      systemMove_(startWindowManagerMove) {
    picture_.setMouseTracking(true);
    picture_.installEventFilter(this);
    applyCursor();
}

bool PictureMouse::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &picture_) return false;
    // The picture's mouse ends here: what it does not use must not reach the viewer behind it,
    // whose own press (on its frame) would start a drag of the window.
    switch (event->type()) {
    case QEvent::MouseButtonPress: pressed(*static_cast<QMouseEvent*>(event)); return true;
    case QEvent::MouseButtonRelease: released(*static_cast<QMouseEvent*>(event)); return true;
    case QEvent::MouseMove: moved(*static_cast<QMouseEvent*>(event)); return true;
    case QEvent::MouseButtonDblClick:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) side_.postFullScreenToggle();
        return true;
    default: return false;
    }
}

void PictureMouse::pressed(const QMouseEvent& event) {
    // A press is the user at work: the cursor does not vanish under it.
    timers_.kill(kHoverTimer);
    if (event.button() == Qt::RightButton) {
        showCursor();
        side_.showContextMenu(event.globalPosition().toPoint());
        return;
    }
    if (event.button() != Qt::LeftButton) return;
    if (side_.multiScreenOpen()) return side_.pressOnMultiScreen(event.position().toPoint());
    if (side_.maximised()) return;
    // The move itself starts with the first movement, so a click (or the first click of a
    // double click) stays a click and never goes to the window manager.
    drag_ = Drag{event.globalPosition().toPoint(), viewer_.pos(), false};
    applyCursor();
}

void PictureMouse::released(const QMouseEvent& event) {
    if (event.button() == Qt::RightButton && side_.minimised()) hideCursor();
    if (event.button() == Qt::LeftButton && drag_) {
        drag_.reset();
        applyCursor();
    }
}

void PictureMouse::moved(const QMouseEvent& event) {
    if (drag_ && (event.buttons() & Qt::LeftButton)) {
        const QPoint travelled = event.globalPosition().toPoint() - drag_->pressGlobal;
        if (!drag_->byHand) {
            if (travelled.manhattanLength() < QApplication::startDragDistance()) return;
            if (systemMove_(viewer_)) {
                // The window manager moves the window from here on and keeps the button.
                drag_.reset();
                applyCursor();
                return;
            }
            drag_->byHand = true;
        }
        viewer_.move(drag_->windowStart + travelled);
        return;
    }
    if (drag_) {
        // The release went elsewhere (the window manager took it): the drag is over.
        drag_.reset();
        applyCursor();
    }
    if (side_.maximised()) {
        showCursor();
        timers_.set(kHoverTimer, kHoverPeriodMs, framework::WindowTimers::Mode::OneShot);
    }
}

void PictureMouse::hoverExpired() {
    timers_.kill(kHoverTimer);
    // The viewer may have left full screen while the mouse rested.
    if (side_.maximised()) hideCursor();
}

void PictureMouse::afterSizeChange() {
    if (side_.maximised()) return;
    timers_.kill(kHoverTimer);
    showCursor();
}

void PictureMouse::showCursor() {
    if (!hidden_) return;
    hidden_ = false;
    applyCursor();
}

void PictureMouse::hideCursor() {
    if (hidden_) return;
    hidden_ = true;
    applyCursor();
}

void PictureMouse::applyCursor() {
    if (hidden_) picture_.setCursor(Qt::BlankCursor);
    else picture_.setCursor(cursorResource(drag_ ? kDragCursor : kPictureCursor));
}

}  // namespace kelto::viewer
