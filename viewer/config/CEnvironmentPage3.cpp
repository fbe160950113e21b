#include "viewer/config/CEnvironmentPage3.h"

#include "resources/StringTable.h"
#include "viewer/config/InfoText.h"
#include "viewer/config/ScrollingText.h"

namespace kelto::viewer::config {

namespace {
constexpr int kProductNameString = 157;
}

CEnvironmentPage3::CEnvironmentPage3(SheetViewer& viewer, QWidget* parent) : PropertyPage(kResourceId, parent), viewer_(viewer) {
    text_ = ScrollingText::replaceControl(control(kTextControl));
    if (!text_) return;
    // The native edition's lines when the string table names the product in its own language.
    text_->setLines(infoLinesForProductName(LoadMessage(kProductNameString)));
    text_->setSpeed(kSpeed);
    text_->setBackground(kBackgroundBitmap);
    text_->start();
}

CEnvironmentPage3::~CEnvironmentPage3() = default;

}  // namespace kelto::viewer::config
