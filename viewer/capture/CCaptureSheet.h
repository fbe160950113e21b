#pragma once
// The viewer's capture window: a modeless sheet of two pages, still pictures (108) and motion
// pictures (109), without OK, Cancel or Apply. It sits near the desktop's bottom-right corner,
// has no close box (its pages' "Exit" buttons and a close request close it), and refuses to
// close while the still page's serial capture or a recording runs; meanwhile the motion page
// cannot be chosen either. Closing destroys it; its owner learns that from the object's
// destruction.
#include "framework/PropertySheet.h"
#include "viewer/capture/CaptureSheetViewer.h"

namespace kelto::viewer::capturesheet {

class CCapturePage1;
class CCapturePage2;

class CCaptureSheet : public framework::PropertySheet {
public:
    static constexpr int kCaptionString = 188;
    static constexpr int kTabImages = 241;
    static constexpr int kTabImageSize = 15;
    // Distance of the sheet from the desktop's right and bottom edges.
    static constexpr int kRightMargin = 30;
    static constexpr int kBottomMargin = 80;

    CCaptureSheet(CaptureSheetViewer& viewer, QWidget* owner);
    ~CCaptureSheet() override;

    // Places the sheet near the bottom-right corner of `desktop` and shows it.
    void placeAndShow(const QRect& desktop);
    // Where a sheet whose frame has `size` goes on `desktop`.
    static QPoint placement(const QRect& desktop, const QSize& size);

    // A close request: refused (false) while a serial capture or a recording runs, otherwise
    // the sheet goes.
    bool requestClose();
    // Whether the sheet must stay: the still page's serial capture or a recording runs.
    bool busy() const;

    // What the viewer tells the sheet: its still file type or recording type changed, or a
    // still picture was saved (the next file name moved on).
    void stillTypeChanged();
    void recordingTypeChanged();
    void stillCaptured();

    CCapturePage1* stillPage() const { return stillPage_; }
    CCapturePage2* motionPage() const { return motionPage_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;
    std::int64_t defaultHandling(const platform::WindowMessage& message) override;

private:
    void setTabImages();

    CaptureSheetViewer& viewer_;
    CCapturePage1* stillPage_ = nullptr;
    CCapturePage2* motionPage_ = nullptr;
    bool closing_ = false;
};

}  // namespace kelto::viewer::capturesheet
