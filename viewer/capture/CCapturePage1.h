#pragma once
// Page 1 of the capture sheet (dialog 108), "Save Still Image".
#include "framework/PropertyPage.h"
#include "viewer/capture/CaptureSheetViewer.h"

#include <functional>

namespace kelto::viewer::capturesheet {

class CCapturePage1 : public framework::PropertyPage {
public:
    static constexpr int kResourceId = 108;

    explicit CCapturePage1(CaptureSheetViewer& viewer, QWidget* parent = nullptr);
    ~CCapturePage1() override;

    // How "&Exit" closes the sheet (the sheet's close request).
    void setCloseSheet(std::function<void()> closeSheet) { closeSheet_ = std::move(closeSheet); }
    // Whether the serial capture runs.
    bool serialRunning() const { return serialRunning_; }
    // The viewer's still file type changed: location, stem and radios follow it.
    void adoptFileType();
    // The next file's name moved on (a picture was saved).
    void refreshLocation();

private:
    CaptureSheetViewer& viewer_;
    std::function<void()> closeSheet_;
    bool serialRunning_ = false;
};

}  // namespace kelto::viewer::capturesheet
