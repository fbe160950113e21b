#pragma once
// The display-mode functions the program exports (visible to other programs that load it; the
// program is linked with its symbols exported). Each takes the window that asks (kept for the
// callers' sake: the depth is the screen's, which every window on it shares) and answers 1 on
// success, 0 on failure. They share one process-wide record of the mode found at the save.
//
// SaveWinMode: note the depth and size in use, then walk the display's modes 0, 1, 2, ... until
//   one has that depth and size and keep it; a mode that cannot be read is asked again, and
//   the third failure ends the walk with 0.
// SetWin640x480Mode: switch to 640 by 480 at the depth in use, first for the session and, when
//   that took, again as the display's setting; 1 when both took. Needs a save before.
// RestoreWinMode: the same back to the saved depth and size (the very mode that was in use).
#include "platform/DisplayModes.h"

#include <optional>

extern "C" {
int SaveWinMode(void* window);
int SetWin640x480Mode(void* window);
int RestoreWinMode(void* window);
}

namespace kelto::viewer {

// The record the three share (for tests): the depth and size noted at the save, and the mode
// description kept (nullopt before a save found one).
struct SavedWinMode {
    int bitsPerPixel = 0;
    int width = 0;
    int height = 0;
    std::optional<platform::DisplayMode> description;
};
const SavedWinMode& savedWinMode();
void forgetSavedWinMode();

}  // namespace kelto::viewer
