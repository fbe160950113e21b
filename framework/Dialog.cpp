#include "framework/Dialog.h"

#include "framework/ControlIds.h"
#include "framework/DialogTemplate.h"

namespace kelto::framework {

Dialog::Dialog(int resourceId, QWidget* parent)
    : QDialog(parent),
      resourceId_(resourceId),
      wiring_(*this, [this](const platform::WindowMessage& m) { return defaultHandling(m); }) {
    if (resourceId != 0) form_ = loadDialogTemplate(resourceId, *this);
    stampResourceId(this, resourceId);
    wiring_.bindButtons();
}

Dialog::~Dialog() = default;

QWidget* Dialog::control(int controlId) const { return findControl(this, controlId); }

std::int64_t Dialog::defaultHandling(const platform::WindowMessage& message) {
    if (message.message == platform::WM_COMMAND) {
        const int command = int(message.wParam & 0xFFFF);
        if (command == IDOK) accept();
        else if (command == IDCANCEL) QDialog::reject();
    } else if (message.message == platform::WM_CLOSE) {
        QDialog::reject();
    }
    return 0;
}

void Dialog::reject() { wiring_.sendCommand(IDCANCEL); }

}  // namespace kelto::framework
