#include "viewer/window/ViewerConfigSheet.h"

#include "platform/Trace.h"
#include "viewer/panel/PanelLayout.h"

#include <QWidget>

namespace kelto::viewer {

ViewerConfigSheet::ViewerConfigSheet(ViewerSide side) : side_(std::move(side)) {}

ViewerConfigSheet::~ViewerConfigSheet() { destroy(); }

void ViewerConfigSheet::open(bool atMultiScreen) {
    if (sheet_) {
        sheet_->raise();
        sheet_->activateWindow();
        return;
    }
    config::SheetViewer* viewer = side_.viewer();
    if (!viewer) return;
    auto* sheet = new config::CEnvironmentSheet(*viewer, atMultiScreen, side_.window);
    sheet_ = sheet;
    // The window's own changes wait until the sheet is wholly gone: its destruction is still
    // running when the signal comes.
    destroyed_ = QObject::connect(sheet, &QObject::destroyed, side_.window, [this] { sheetDestroyed(); },
                                  Qt::QueuedConnection);

    // The sheet stays above the viewer, which gives up being topmost and its panel meanwhile.
    if (side_.alwaysOnTop()) side_.setTopmost(false);
    side_.setSheetOpen(true);
    shrunk_ = !side_.maximised();
    if (shrunk_) side_.growWindow(-kPanelHeight);
    sheet->placeAndShow(side_.desktop());
    platform::tracef("Viewer: configuration sheet opened%s", atMultiScreen ? " at its multi-screen page" : "");
}

void ViewerConfigSheet::sheetDestroyed() {
    QObject::disconnect(destroyed_);
    side_.setSheetOpen(false);
    // Only what opening took: a window opened over in full screen already has its panel's room.
    const int giveBack = shrunk_ ? kPanelHeight : 0;
    shrunk_ = false;
    if (side_.maximised()) side_.leaveMaximised(giveBack);
    else if (giveBack) side_.growWindow(giveBack);
    if (side_.alwaysOnTop()) side_.setTopmost(true);
    platform::tracef("Viewer: configuration sheet closed");
}

void ViewerConfigSheet::destroy() {
    if (!sheet_) return;
    QObject::disconnect(destroyed_);
    delete sheet_.data();
    side_.setSheetOpen(false);
}

}  // namespace kelto::viewer
