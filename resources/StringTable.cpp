#include "resources/StringTable.h"

#include "platform/EmbeddedFile.h"
#include "platform/Text.h"

#include <cstdlib>
#include <mutex>

namespace kelto::strings {
extern const kelto::EmbeddedFile kEmbedded[];
extern const std::size_t kEmbeddedCount;
}  // namespace kelto::strings

namespace kelto {

namespace {

const std::map<int, std::string>& table(UiLanguage language) {
    static std::map<int, std::string> tables[4];
    static std::once_flag once;
    std::call_once(once, [] {
        for (UiLanguage l : {UiLanguage::EnglishUS, UiLanguage::Japanese, UiLanguage::Korean,
                             UiLanguage::ChineseSimplified})
            for (std::size_t i = 0; i < strings::kEmbeddedCount; ++i)
                if (std::string_view(strings::kEmbedded[i].name) == resourceFileName(l, "strings"))
                    tables[static_cast<int>(l)] = parseStringTable(strings::kEmbedded[i].text());
    });
    return tables[static_cast<int>(language)];
}

std::mutex languageMutex;
std::optional<UiLanguage> fixedLanguage;

}  // namespace

std::string resourceFileName(UiLanguage language, std::string_view extension) {
    const char* tag = "en-US";
    switch (language) {
    case UiLanguage::Japanese: tag = "ja-JP"; break;
    case UiLanguage::Korean: tag = "ko-KR"; break;
    case UiLanguage::ChineseSimplified: tag = "zh-CN"; break;
    case UiLanguage::EnglishUS: break;
    }
    return std::string(tag) + "." + std::string(extension);
}

std::optional<UiLanguage> languageFromLocaleName(std::string_view name) {
    const std::string lower = platform::toLowerAscii(name);
    auto language = std::string_view(lower).substr(0, lower.find_first_of("_.@-"));
    if (language == "en") return UiLanguage::EnglishUS;
    if (language == "ja") return UiLanguage::Japanese;
    if (language == "ko") return UiLanguage::Korean;
    if (language == "zh") return UiLanguage::ChineseSimplified;
    return std::nullopt;
}

UiLanguage languageFromEnvironment() {
    if (const char* list = std::getenv("LANGUAGE"); list && *list) {
        std::string_view rest = list;
        while (!rest.empty()) {
            const auto colon = rest.find(':');
            if (auto l = languageFromLocaleName(rest.substr(0, colon))) return *l;
            if (colon == std::string_view::npos) break;
            rest.remove_prefix(colon + 1);
        }
    }
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value && *value) return languageFromLocaleName(value).value_or(UiLanguage::EnglishUS);
    }
    return UiLanguage::EnglishUS;
}

UiLanguage currentUiLanguage() {
    std::lock_guard lock(languageMutex);
    return fixedLanguage ? *fixedLanguage : languageFromEnvironment();
}

void setUiLanguage(std::optional<UiLanguage> language) {
    std::lock_guard lock(languageMutex);
    fixedLanguage = language;
}

std::map<int, std::string> parseStringTable(std::string_view text) {
    std::map<int, std::string> entries;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const auto end = text.find('\n', pos);
        std::string_view line = text.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos);
        pos = end == std::string_view::npos ? text.size() : end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty() || line.front() == '#') continue;
        const auto tab = line.find('\t');
        if (tab == std::string_view::npos || tab == 0) continue;
        int id = 0;
        bool ok = true;
        for (char c : line.substr(0, tab)) {
            if (c < '0' || c > '9') ok = false;
            else id = id * 10 + (c - '0');
        }
        if (!ok) continue;
        std::string value;
        const std::string_view raw = line.substr(tab + 1);
        for (std::size_t i = 0; i < raw.size(); ++i) {
            if (raw[i] != '\\' || i + 1 == raw.size()) {
                value.push_back(raw[i]);
                continue;
            }
            switch (raw[++i]) {
            case 'n': value.push_back('\n'); break;
            case 'r': value.push_back('\r'); break;
            case 't': value.push_back('\t'); break;
            case '\\': value.push_back('\\'); break;
            default: value.push_back('\\'); value.push_back(raw[i]);
            }
        }
        entries[id] = std::move(value);
    }
    return entries;
}

std::optional<std::string> findString(UiLanguage language, int id) {
    const auto& chosen = table(language);
    if (auto it = chosen.find(id); it != chosen.end()) return it->second;
    const auto& english = table(UiLanguage::EnglishUS);
    if (auto it = english.find(id); it != english.end()) return it->second;
    return std::nullopt;
}

std::string LoadMessage(int id) {
    if (auto text = findString(currentUiLanguage(), id)) return *text;
    return platform::formatText("Found not Message!=%d", id);
}

}  // namespace kelto
