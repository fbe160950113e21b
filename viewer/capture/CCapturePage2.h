#pragma once
// Page 2 of the capture sheet (dialog 109), "Save Motion Picture".
#include "framework/PropertyPage.h"
#include "viewer/capture/CaptureSheetViewer.h"

#include <functional>

namespace kelto::viewer::capturesheet {

class CCapturePage2 : public framework::PropertyPage {
public:
    static constexpr int kResourceId = 109;

    explicit CCapturePage2(CaptureSheetViewer& viewer, QWidget* parent = nullptr);
    ~CCapturePage2() override;

    // How "E&xit" closes the sheet (the sheet's close request).
    void setCloseSheet(std::function<void()> closeSheet) { closeSheet_ = std::move(closeSheet); }
    // Whether the still page's serial capture runs: the page cannot be chosen meanwhile.
    void setStillPageBusy(std::function<bool()> busy) { stillPageBusy_ = std::move(busy); }
    // The viewer's recording type changed: location and stem follow it.
    void adoptRecordingType();

    bool onSetActive() override;

private:
    CaptureSheetViewer& viewer_;
    std::function<void()> closeSheet_;
    std::function<bool()> stillPageBusy_;
};

}  // namespace kelto::viewer::capturesheet
