#pragma once
// Text conversions for data that comes from files and other processes.
#include <string>
#include <string_view>

namespace kelto {

// UTF-16 little-endian code units (2 bytes each; a trailing odd byte is ignored) to UTF-8.
// Unpaired surrogates become U+FFFD.
std::string utf16LeToUtf8(std::string_view bytes);

// The text with every byte sequence that is not valid UTF-8 replaced by U+FFFD.
std::string sanitizeUtf8(std::string_view text);

}  // namespace kelto
