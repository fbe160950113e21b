#pragma once
// The viewer's side of the capture sheet: opens it (the panel's capture button, command 1005),
// passes on what the sheet follows (the still file type, the recording type, a saved still), and
// gives the viewer window back what it lent the sheet once the sheet is gone.
#include "viewer/capture/CCaptureSheet.h"
#include "viewer/window/SheetWindowChanges.h"

#include <QMetaObject>
#include <QPointer>

#include <functional>

namespace kelto::viewer {

class ViewerCaptureSheet {
public:
    struct ViewerSide {
        SheetWindowChanges::ViewerSide window;
        std::function<capturesheet::CaptureSheetViewer*()> viewer;
    };
    explicit ViewerCaptureSheet(ViewerSide side);
    ~ViewerCaptureSheet();

    // Opens the sheet; when it is open already it is only brought forward.
    void open();
    bool isOpen() const { return !sheet_.isNull(); }
    capturesheet::CCaptureSheet* sheet() const { return sheet_; }
    // The viewer is closing: the sheet goes now, without the steps that give the window back.
    void destroy();

    void stillTypeChanged();
    void recordingTypeChanged();
    void stillCaptured();

private:
    void sheetDestroyed();

    std::function<capturesheet::CaptureSheetViewer*()> viewer_;
    SheetWindowChanges window_;
    QPointer<capturesheet::CCaptureSheet> sheet_;
    QMetaObject::Connection destroyed_;
};

}  // namespace kelto::viewer
