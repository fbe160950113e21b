#pragma once
// Page 3 of the configuration sheet (dialog 106), the info page: the product's lines scrolling over their background.
#include "framework/PropertyPage.h"
#include "viewer/config/SheetViewer.h"

namespace kelto::viewer::config {

class ScrollingText;

class CEnvironmentPage3 : public framework::PropertyPage {
public:
    static constexpr int kResourceId = 106;
    static constexpr int kTextControl = 1047;
    static constexpr int kBackgroundBitmap = 135;
    static constexpr int kSpeed = 2;

    explicit CEnvironmentPage3(SheetViewer& viewer, QWidget* parent = nullptr);
    ~CEnvironmentPage3() override;

    ScrollingText* scrollingText() const { return text_; }

private:
    SheetViewer& viewer_;
    ScrollingText* text_ = nullptr;
};

}  // namespace kelto::viewer::config
