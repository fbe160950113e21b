#include "viewer/window/SheetWindowChanges.h"

#include "viewer/panel/PanelLayout.h"

namespace kelto::viewer {

void SheetWindowChanges::sheetOpened() {
    if (side_.alwaysOnTop()) side_.setTopmost(false);
    side_.setSheetOpen(true);
    shrunk_ = !side_.maximised();
    if (shrunk_) side_.growWindow(-kPanelHeight);
}

void SheetWindowChanges::sheetClosed() {
    side_.setSheetOpen(false);
    // Only what opening took: a window opened over in full screen already has its panel's room.
    const int giveBack = shrunk_ ? kPanelHeight : 0;
    shrunk_ = false;
    if (side_.maximised()) side_.leaveMaximised(giveBack);
    else if (giveBack) side_.growWindow(giveBack);
    if (side_.alwaysOnTop()) side_.setTopmost(true);
}

void SheetWindowChanges::sheetDestroyedWithViewer() {
    shrunk_ = false;
    side_.setSheetOpen(false);
}

}  // namespace kelto::viewer
