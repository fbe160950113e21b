#pragma once
// The viewer's context menu (pop-up "CONTEXT" of menu 129) prepared for the window's state:
// check and radio marks, greyed items and the items that do not apply now taken out. Works on
// the menu resource's tree, so the preparation is checked without widgets.
#include "resources/MenuResource.h"

namespace kelto::viewer {

inline constexpr int kContextMenuId = 129;
inline constexpr const char* kContextPopup = "CONTEXT";

struct ContextMenuState {
    bool alwaysOnTop = false;
    bool tvFrame = false;
    bool panelCollapsed = false;
    bool frozen = false;
    bool option640x480 = false;
    bool closedCaptions = false;
    bool maximised = false;
    int stillType = 0;      // 0 BMP, 1 JPG
    int recordingType = 0;  // 0 AVI, 1 MPEG1, 2 MPEG2
    int videoMode = 0;      // 0 TV, 1 CATV, 2 VIDEO, 3 SVHS
    bool enableSvhs = false;
    int countryCode = 0;
    bool keypadOpen = false;
    bool configSheetOpen = false;
    bool captureSheetOpen = false;
};

// The pop-up as it is shown. The recording-type items stay in the "Save Stream Image" pop-up:
// they are the only place the user can choose AVI, MPEG-1 or MPEG-2.
MenuItem prepareContextMenu(MenuItem popup, const ContextMenuState& state);

}  // namespace kelto::viewer
