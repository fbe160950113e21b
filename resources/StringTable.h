#pragma once
// The program's string table: user-visible texts by identifier, in four languages that share
// the identifiers (English (United States), Japanese, Korean, Chinese (Simplified)). The tables
// are data files under resources/strings, built into the program.
#include <optional>
#include <string>
#include <string_view>
#include <map>

namespace kelto {

enum class UiLanguage { EnglishUS, Japanese, Korean, ChineseSimplified };

// The language the user's locale asks for: the first of LANGUAGE (a ':'-separated list),
// LC_ALL, LC_MESSAGES and LANG that names one of the four; English otherwise. Every Chinese
// locale gets the Simplified table, the only Chinese one.
// The name of a language's resource file with the given extension: "ja-JP.menus".
std::string resourceFileName(UiLanguage language, std::string_view extension);
UiLanguage languageFromEnvironment();
// Maps one locale or language name ("ja_JP.UTF-8", "ko", "zh_CN") to a language, if it is one of ours.
std::optional<UiLanguage> languageFromLocaleName(std::string_view name);

// The language LoadMessage uses: the environment's, unless a test or the user fixed another.
UiLanguage currentUiLanguage();
void setUiLanguage(std::optional<UiLanguage> language);

// A parsed table: identifier to text with escapes resolved. Lines that do not parse are skipped.
std::map<int, std::string> parseStringTable(std::string_view text);

// The text with the identifier in the given language (English when that language lacks it).
std::optional<std::string> findString(UiLanguage language, int id);

// The text with the identifier in the current language; "Found not Message!=<id>" when the
// table holds no such string.
std::string LoadMessage(int id);

}  // namespace kelto
