#include "viewer/freq/UnsignedEdit.h"

#include "framework/MessageBoxes.h"

#include <QLineEdit>

namespace kelto::viewer::freq {

std::optional<std::uint32_t> parseUnsigned(std::string_view text) {
    auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    if (text.empty()) return std::nullopt;
    std::uint64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + std::uint64_t(c - '0');
        if (value > 0xFFFFFFFFull) return std::nullopt;
    }
    return std::uint32_t(value);
}

std::optional<std::uint32_t> readUnsignedEdit(QWidget* parent, QLineEdit* edit) {
    if (!edit) return std::nullopt;
    if (auto value = parseUnsigned(edit->text().toStdString())) return value;
    framework::messageBox(parent, kUnsignedRequest, framework::MessageButtons::Ok, framework::MessageIcon::Warning);
    edit->setFocus();
    edit->selectAll();
    return std::nullopt;
}

}  // namespace kelto::viewer::freq
