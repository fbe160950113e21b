#include "framework/ModelessSheet.h"

#include <QCloseEvent>

namespace kelto::framework {

ModelessSheet::ModelessSheet(const QString& caption, QWidget* owner, Stacking stacking)
    : PropertySheet(caption, owner, Buttons::None) {
    // A window of its own, owned by `owner`, without a close box.
    Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (stacking == Stacking::StaysOnTop) flags |= Qt::WindowStaysOnTopHint;
    setWindowFlags(flags);
    setAttribute(Qt::WA_DeleteOnClose, false);
    // Escape asks to close; the sheet has nothing to cancel, and Enter nothing to confirm.
    messageMap().onCommand(IDCANCEL, [this] { requestClose(); });
    messageMap().onCommand(IDOK, [] {});
}

bool ModelessSheet::requestClose() {
    if (!mayClose()) return false;
    if (!closing_) {
        closing_ = true;
        hide();
        deleteLater();
    }
    return true;
}

std::int64_t ModelessSheet::defaultHandling(const platform::WindowMessage& message) {
    if (message.message == platform::WM_CLOSE) {
        requestClose();
        return 0;
    }
    return PropertySheet::defaultHandling(message);
}

void ModelessSheet::closeEvent(QCloseEvent* event) {
    if (requestClose()) event->accept();
    else event->ignore();
}

void ModelessSheet::reject() { requestClose(); }

}  // namespace kelto::framework
