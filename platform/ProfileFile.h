#pragma once
// Reading initialization files ("[section]" headers and "key=value" lines), with the rules the
// program's configuration reader was written against:
// - section and key names compare without regard to case; the first match wins;
// - blanks around names and values are dropped, and one pair of matching quotes around a value;
// - a text value is cut to 255 bytes (at a character boundary);
// - an integer is read as leading blanks, an optional sign and decimal digits up to the first
//   other character; a value without digits, or an absent key, gives the default;
// - lines starting with ';' are comments;
// - a file name without a folder names a file in the Windows folder.
// Nothing is ever written. Parsed files are cached until the file changes on disk.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kelto::platform {

constexpr std::size_t kProfileValueMaxBytes = 255;

std::filesystem::path resolveProfilePath(std::string_view fileName);

std::string getPrivateProfileString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue, std::string_view fileName);
int getPrivateProfileInt(std::string_view section, std::string_view key, int defaultValue,
                         std::string_view fileName);
std::vector<std::string> getPrivateProfileSectionNames(std::string_view fileName);
std::vector<std::string> getPrivateProfileKeyNames(std::string_view section, std::string_view fileName);

// The integer rule above applied to a text.
int parseProfileInt(std::string_view text, int defaultValue);

}  // namespace kelto::platform
