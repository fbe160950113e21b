#pragma once
// What the capture sheet and its pages reach of the viewer window that opened them. The viewer
// implements it; tests may stand in for it. Every call comes from the user-interface thread: the
// still page's serial worker reaches the viewer only through calls it queues there.
#include "settings/SettingsStore.h"
#include "settings/ViewerSettings.h"

#include <string>

class QWidget;

namespace kelto::capture {
class CCaptureWindow;
}

namespace kelto::viewer::capturesheet {

class CaptureSheetViewer {
public:
    virtual ~CaptureSheetViewer() = default;

    // The viewer window (the sheet's owner and the parent of the pages' boxes and dialogs).
    virtual QWidget* viewerWidget() = 0;

    // The viewer's copy of the settings: the still and recording folders and stems, the still
    // file type ("imageformat"), "imageshow", the recording type ("streamformat") and the
    // recording frame size. The pages change folders, stems and "imageshow" here directly.
    virtual ViewerSettings& viewerSettings() = 0;
    // The store the audio format and the recording set-up live in.
    virtual SettingsStore& settingsStore() = 0;

    // The capture window, or null when the viewer has none.
    virtual kelto::capture::CCaptureWindow* captureWindowOrNull() = 0;

    // The still file type (0 BMP, 1 JPG): stored and announced on the display, and adopted by
    // the still page, as the viewer's own menu does it. Nothing happens when it is the current one.
    virtual void setStillFileType(int type) = 0;
    // Saves the current picture to `path` (with its announcement and the image window); true when written.
    virtual bool CaptureStill(const std::string& path) = 0;
    // Records into `file` with the current recording type; blocks (a nested event loop) until
    // the recording ends. A failure shows the viewer's "Exception Error!" box; true on success.
    virtual bool RecordStream(const std::string& file) = 0;
    // Whether a recording runs now.
    virtual bool recording() const = 0;
    // Whether the viewer's volume control has a mixer (the audio format button needs one).
    virtual bool volumeControlHasMixer() const = 0;
};

}  // namespace kelto::viewer::capturesheet
