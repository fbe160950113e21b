#pragma once
// Page 4 of the configuration sheet (dialog 295), the multi-screen page: the layout and the 16 channel slots of each band.
#include "framework/PropertyPage.h"
#include "viewer/config/SheetViewer.h"

namespace kelto::viewer::config {

class CEnvironmentPage4 : public framework::PropertyPage {
public:
    static constexpr int kResourceId = 295;
    explicit CEnvironmentPage4(SheetViewer& viewer, QWidget* parent = nullptr);
    ~CEnvironmentPage4() override;

private:
    SheetViewer& viewer_;
};

}  // namespace kelto::viewer::config
