#include "framework/MessageBoxes.h"

#include "resources/StringTable.h"

#include <QMessageBox>
#include <QString>

namespace kelto::framework {

namespace {
std::function<int(const MessageBoxRequest&)>& answerer() {
    static std::function<int(const MessageBoxRequest&)> instance;
    return instance;
}
}  // namespace

std::string displayText(const std::string& text) {
    std::string out;
    for (char c : text)
        if (c != '\r') out.push_back(c);
    return out;
}

int messageBox(QWidget* parent, const MessageBoxRequest& request) {
    if (answerer()) return answerer()(request);
    QMessageBox box(parent);
    box.setWindowTitle(QString::fromStdString(displayText(request.caption)));
    box.setText(QString::fromStdString(displayText(request.text)));
    switch (request.icon) {
    case MessageIcon::Information: box.setIcon(QMessageBox::Information); break;
    case MessageIcon::Stop: box.setIcon(QMessageBox::Critical); break;
    case MessageIcon::Question: box.setIcon(QMessageBox::Question); break;
    case MessageIcon::Warning: box.setIcon(QMessageBox::Warning); break;
    }
    switch (request.buttons) {
    case MessageButtons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case MessageButtons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case MessageButtons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    }
    switch (box.exec()) {
    case QMessageBox::Yes: return IDYES;
    case QMessageBox::No: return IDNO;
    case QMessageBox::Cancel: return IDCANCEL;
    default: return IDOK;
    }
}

int messageBox(QWidget* parent, const std::string& text, MessageButtons buttons, MessageIcon icon) {
    return messageBox(parent, MessageBoxRequest{text, LoadMessage(157), buttons, icon});
}

bool messageBoxAnswererInstalled() { return bool(answerer()); }

void setMessageBoxAnswerer(std::function<int(const MessageBoxRequest&)> replacement) {
    answerer() = std::move(replacement);
}

}  // namespace kelto::framework
