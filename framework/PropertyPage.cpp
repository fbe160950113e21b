#include "framework/PropertyPage.h"

#include "framework/PropertySheet.h"

namespace kelto::framework {

PropertyPage::PropertyPage(int resourceId, QWidget* parent) : Dialog(resourceId, parent) {
    // A page is a child of its sheet, not a window of its own.
    setWindowFlags(Qt::Widget);
}

void PropertyPage::setModified(bool modified) {
    modified_ = modified;
    if (sheet_) sheet_->pageModifiedChanged();
}

}  // namespace kelto::framework
