#pragma once
// Page 2 of the configuration sheet (dialog 105), the colour page: picture levels, display colour, tooltips and the mixer line.
#include "framework/PropertyPage.h"
#include "viewer/config/SheetViewer.h"

namespace kelto::viewer::config {

class CEnvironmentPage2 : public framework::PropertyPage {
public:
    static constexpr int kResourceId = 105;
    explicit CEnvironmentPage2(SheetViewer& viewer, QWidget* parent = nullptr);
    ~CEnvironmentPage2() override;

private:
    SheetViewer& viewer_;
};

}  // namespace kelto::viewer::config
