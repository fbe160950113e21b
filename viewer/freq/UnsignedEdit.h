#pragma once
// Reading an edit that holds an unsigned integer, with the standard refusal: text that is not an
// unsigned decimal number gets the request for a positive integer, the edit takes the focus with
// its text selected, and the reader gets nothing.
#include <cstdint>
#include <optional>
#include <string_view>

class QLineEdit;
class QWidget;

namespace kelto::viewer::freq {

// Blanks around the digits are allowed; a sign, other characters or a value above 2^32-1 are not.
std::optional<std::uint32_t> parseUnsigned(std::string_view text);
// The edit's value, or nothing after the refusal (also when there is no edit).
std::optional<std::uint32_t> readUnsignedEdit(QWidget* parent, QLineEdit* edit);

constexpr const char* kUnsignedRequest = "Please enter a positive integer.";

}  // namespace kelto::viewer::freq
