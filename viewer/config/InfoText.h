#pragma once
// The info page's lines: the product's title and rights, what it does, the support promise and
// the maker's address, in English and in the product's three native-language editions. A line
// "BITMAP1^" to "BITMAP4^" stands for a picture; the list ends with an empty entry.
#include "resources/StringTable.h"

#include <string>
#include <string_view>
#include <vector>

namespace kelto::viewer::config {

// The product's name in a language's own edition ("Kelto TV" for English).
std::string_view nativeProductName(UiLanguage language);

// The lines of one language, ended by an empty entry.
std::vector<std::string> infoLines(UiLanguage language);

// The lines for the product name the string table gives (string 157): the native set whose
// product name it equals, the English set otherwise.
std::vector<std::string> infoLinesForProductName(std::string_view productName);

}  // namespace kelto::viewer::config
