#include "viewer/capture/CCaptureFileNameDlg.h"

#include "framework/MessageBoxes.h"
#include "resources/StringTable.h"

#include <QLineEdit>

namespace kelto::viewer::capturesheet {

CCaptureFileNameDlg::CCaptureFileNameDlg(const std::string& initialStem, QWidget* parent) : Dialog(kResourceId, parent) {
    if (auto* edit = control<QLineEdit>(kNameEdit)) {
        edit->setText(QString::fromStdString(initialStem));
        edit->selectAll();
    }
    messageMap().onCommand(IDOK, [this] {
        // A stem is a name in the chosen folder, never a path leading out of it.
        const std::string entered = stem();
        if (entered.empty() || entered.find('/') != std::string::npos) {
            framework::messageBox(this, LoadMessage(kEmptyNameString), framework::MessageButtons::Ok,
                                  framework::MessageIcon::Stop);
            if (auto* edit = control<QLineEdit>(kNameEdit)) edit->setFocus();
            return;
        }
        accept();
    });
}

std::string CCaptureFileNameDlg::stem() const {
    const auto* edit = control<QLineEdit>(kNameEdit);
    return edit ? edit->text().toStdString() : std::string();
}

}  // namespace kelto::viewer::capturesheet
