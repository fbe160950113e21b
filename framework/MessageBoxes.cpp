#include "framework/MessageBoxes.h"

#include "resources/StringTable.h"

#include <QMessageBox>
#include <QPointer>
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

namespace {

// The answer of a box that went away without being answered (its owner was destroyed while it
// was open): the refusing one, as if the user had pressed Escape.
int answerOfAVanishedBox(MessageButtons buttons) {
    switch (buttons) {
    case MessageButtons::OkCancel: return IDCANCEL;
    case MessageButtons::YesNo: return IDNO;
    case MessageButtons::Ok: break;
    }
    return IDOK;
}

}  // namespace

int messageBox(QWidget* parent, const MessageBoxRequest& request) {
    if (answerer()) return answerer()(request);
    // On the heap and watched: an owner destroyed while the box is open takes the box with it,
    // which a box on the stack would not survive.
    QPointer<QMessageBox> box = new QMessageBox(parent);
    box->setWindowTitle(QString::fromStdString(displayText(request.caption)));
    box->setText(QString::fromStdString(displayText(request.text)));
    switch (request.icon) {
    case MessageIcon::Information: box->setIcon(QMessageBox::Information); break;
    case MessageIcon::Stop: box->setIcon(QMessageBox::Critical); break;
    case MessageIcon::Question: box->setIcon(QMessageBox::Question); break;
    case MessageIcon::Warning: box->setIcon(QMessageBox::Warning); break;
    }
    switch (request.buttons) {
    case MessageButtons::Ok: box->setStandardButtons(QMessageBox::Ok); break;
    case MessageButtons::OkCancel: box->setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case MessageButtons::YesNo: box->setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    }
    const int pressed = box->exec();
    if (!box) return answerOfAVanishedBox(request.buttons);
    delete box.data();
    switch (pressed) {
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
