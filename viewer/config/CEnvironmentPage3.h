#pragma once
// Page 3 of the configuration sheet (dialog 106), the info page: the product's lines scrolling over their background.
#include "framework/PropertyPage.h"
#include "viewer/config/SheetViewer.h"

namespace kelto::viewer::config {

class CEnvironmentPage3 : public framework::PropertyPage {
public:
    static constexpr int kResourceId = 106;
    explicit CEnvironmentPage3(SheetViewer& viewer, QWidget* parent = nullptr);
    ~CEnvironmentPage3() override;

private:
    SheetViewer& viewer_;
};

}  // namespace kelto::viewer::config
