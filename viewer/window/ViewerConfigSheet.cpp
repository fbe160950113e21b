#include "viewer/window/ViewerConfigSheet.h"

#include "platform/Trace.h"

#include <QWidget>

namespace kelto::viewer {

ViewerConfigSheet::ViewerConfigSheet(ViewerSide side) : viewer_(std::move(side.viewer)), window_(std::move(side.window)) {}

ViewerConfigSheet::~ViewerConfigSheet() { destroy(); }

void ViewerConfigSheet::open(bool atMultiScreen) {
    if (sheet_) {
        sheet_->raise();
        sheet_->activateWindow();
        return;
    }
    config::SheetViewer* viewer = viewer_();
    if (!viewer) return;
    auto* sheet = new config::CEnvironmentSheet(*viewer, atMultiScreen, window_.side().window);
    sheet_ = sheet;
    // The window's own changes wait until the sheet is wholly gone: its destruction is still
    // running when the signal comes.
    destroyed_ = QObject::connect(sheet, &QObject::destroyed, window_.side().window, [this] { sheetDestroyed(); },
                                  Qt::QueuedConnection);

    // The sheet stays above the viewer, which gives up being topmost and its panel meanwhile.
    window_.sheetOpened();
    sheet->placeAndShow(window_.side().desktop());
    platform::tracef("Viewer: configuration sheet opened%s", atMultiScreen ? " at its multi-screen page" : "");
}

void ViewerConfigSheet::sheetDestroyed() {
    QObject::disconnect(destroyed_);
    window_.sheetClosed();
    platform::tracef("Viewer: configuration sheet closed");
}

void ViewerConfigSheet::destroy() {
    if (!sheet_) return;
    QObject::disconnect(destroyed_);
    delete sheet_.data();
    window_.sheetDestroyedWithViewer();
}

}  // namespace kelto::viewer
