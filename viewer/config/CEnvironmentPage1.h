#pragma once
// Page 1 of the configuration sheet (dialog 104), the channel page: the registered channels of the band, fine tuning and the auto scan.
#include "framework/PropertyPage.h"
#include "viewer/config/SheetViewer.h"

#include <functional>

namespace kelto::viewer::config {

class CEnvironmentPage1 : public framework::PropertyPage {
public:
    static constexpr int kResourceId = 104;
    explicit CEnvironmentPage1(SheetViewer& viewer, QWidget* parent = nullptr);
    ~CEnvironmentPage1() override;

    // 1 while the auto scan runs (the sheet refuses to close meanwhile).
    int scanning() const { return scanning_; }
    // How the scan disables and enables the sheet's "Close" button (144).
    void setCloseButtonSwitch(std::function<void(bool enabled)> closeButton) { closeButton_ = std::move(closeButton); }

private:
    SheetViewer& viewer_;
    int scanning_ = 0;
    std::function<void(bool)> closeButton_;
};

}  // namespace kelto::viewer::config
