#include "viewer/window/ViewerKeypad.h"

#include "viewer/keypad/CRemoteKeypadDlg.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

namespace kelto::viewer {

ViewerKeypad::ViewerKeypad(ViewerSide side) : side_(std::move(side)) {}

ViewerKeypad::~ViewerKeypad() { destroy(); }

void ViewerKeypad::open() {
    if (dialog_) {
        dialog_->showNormal();
        dialog_->raise();
        dialog_->activateWindow();
        return;
    }
    ViewerSession* session = side_.session ? side_.session() : nullptr;
    if (!session) return;
    side_.setKeypadOpen(true);
    side_.fitPanelToKeypad(true);
    dialog_ = new CRemoteKeypadDlg(*session, *this, side_.tooltipsOn);
    dialog_->show();
    dialog_->raise();
    dialog_->activateWindow();
}

void ViewerKeypad::destroy() {
    if (!dialog_) return;
    CRemoteKeypadDlg* dialog = dialog_;
    dialog_.clear();
    delete dialog;
}

void ViewerKeypad::showChannelNumber(int number) {
    if (dialog_) dialog_->showChannelNumber(number);
}
void ViewerKeypad::refresh() {
    if (dialog_) dialog_->refresh();
}
void ViewerKeypad::passOn(std::uint32_t message, std::uint64_t wParam) {
    if (dialog_) dialog_->passOn(message, wParam);
}

// --- what the keypad asks of the viewer

void ViewerKeypad::postKeyToViewer(bool down, Qt::Key key, Qt::KeyboardModifiers modifiers) {
    // Through the event loop, as if typed into the viewer: its accelerators see it first.
    QCoreApplication::postEvent(side_.window, new QKeyEvent(down ? QEvent::KeyPress : QEvent::KeyRelease, key, modifiers));
}

void ViewerKeypad::sendCommandToViewer(int commandId, bool fromAccelerator) { side_.sendCommand(commandId, fromAccelerator); }

void ViewerKeypad::postCommandToViewer(int commandId) { side_.postCommand(commandId); }

bool ViewerKeypad::desktopTvOn() const { return side_.desktopTvOn && side_.desktopTvOn(); }

bool ViewerKeypad::viewerHidden() const { return !side_.window->isVisible(); }

bool ViewerKeypad::viewerMaximised() const { return side_.maximised(); }

void ViewerKeypad::keypadClosing() { side_.setKeypadOpen(false); }

void ViewerKeypad::keypadClosed() {
    CRemoteKeypadDlg* dialog = dialog_;
    dialog_.clear();
    side_.fitPanelToKeypad(false);
    // The restore runs inside the keypad's own handlers: it goes once they have returned.
    if (dialog) {
        dialog->hide();
        dialog->deleteLater();
    }
}

void ViewerKeypad::minimiseKeypad() {
    if (dialog_) dialog_->showMinimized();
}

}  // namespace kelto::viewer
