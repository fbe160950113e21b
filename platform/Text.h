#pragma once
// Small text helpers shared by the platform layer: ASCII case folding (registry, profile and
// library names compare without regard to case) and trimming.
#include <string>
#include <string_view>

namespace kelto::platform {

inline char asciiLower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }
inline char asciiUpper(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }

std::string toLowerAscii(std::string_view text);
std::string toUpperAscii(std::string_view text);
bool equalsIgnoreCase(std::string_view a, std::string_view b);
// Orders as the upper-cased texts would order; for sorted listings that ignore case.
bool lessIgnoreCase(std::string_view a, std::string_view b);

// Removes blanks (space, tab, CR, LF, vertical tab, form feed) from both ends.
std::string_view trimBlanks(std::string_view text);

// Cuts UTF-8 text to at most maxBytes bytes without splitting a character.
std::string_view cutUtf8(std::string_view text, std::size_t maxBytes);

// printf-style formatting into a std::string.
std::string formatText(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace kelto::platform
