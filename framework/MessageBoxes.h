#pragma once
// Message boxes the user must answer. Texts come as the string table has them ("\n\r" line
// breaks included). Tests install an answerer instead of showing a window, and see every box.
#include <functional>
#include <string>

class QWidget;

namespace kelto::framework {

enum class MessageIcon { Information, Stop, Question, Warning };
enum class MessageButtons { Ok, OkCancel, YesNo };

// The answers, with the numbers other code may compare against.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

struct MessageBoxRequest {
    std::string text;
    std::string caption;
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::Information;
};

// Shows a modal box and returns the answer.
int messageBox(QWidget* parent, const MessageBoxRequest& request);
// The same with the program's caption (string 157).
int messageBox(QWidget* parent, const std::string& text, MessageButtons buttons, MessageIcon icon);

// Replaces the real box (nullptr restores it).
void setMessageBoxAnswerer(std::function<int(const MessageBoxRequest&)> answerer);
bool messageBoxAnswererInstalled();

// The text as a widget shows it: "\r" dropped, so "\n\r" becomes one line break.
std::string displayText(const std::string& text);

}  // namespace kelto::framework
