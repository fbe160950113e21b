#include "viewer/window/ViewerCaptureSheet.h"

#include "platform/Trace.h"

#include <QWidget>

namespace kelto::viewer {

ViewerCaptureSheet::ViewerCaptureSheet(ViewerSide side)
    : viewer_(std::move(side.viewer)), window_(std::move(side.window)) {}

ViewerCaptureSheet::~ViewerCaptureSheet() { destroy(); }

void ViewerCaptureSheet::open() {
    if (sheet_) {
        sheet_->raise();
        sheet_->activateWindow();
        return;
    }
    capturesheet::CaptureSheetViewer* viewer = viewer_();
    if (!viewer) return;
    auto* sheet = new capturesheet::CCaptureSheet(*viewer, window_.side().window);
    sheet_ = sheet;
    // The window's own changes wait until the sheet is wholly gone.
    destroyed_ = QObject::connect(sheet, &QObject::destroyed, window_.side().window, [this] { sheetDestroyed(); },
                                  Qt::QueuedConnection);
    window_.sheetOpened();
    sheet->placeAndShow(window_.side().desktop());
    platform::tracef("Viewer: capture sheet opened");
}

void ViewerCaptureSheet::sheetDestroyed() {
    QObject::disconnect(destroyed_);
    window_.sheetClosed();
    platform::tracef("Viewer: capture sheet closed");
}

void ViewerCaptureSheet::destroy() {
    if (!sheet_) return;
    QObject::disconnect(destroyed_);
    delete sheet_.data();
    window_.sheetDestroyedWithViewer();
}

void ViewerCaptureSheet::stillTypeChanged() {
    if (sheet_) sheet_->stillTypeChanged();
}
void ViewerCaptureSheet::recordingTypeChanged() {
    if (sheet_) sheet_->recordingTypeChanged();
}
void ViewerCaptureSheet::stillCaptured() {
    if (sheet_) sheet_->stillCaptured();
}

}  // namespace kelto::viewer
