#include "resources/DialogResource.h"

#include "platform/EmbeddedFile.h"

#include <map>
#include <mutex>

namespace kelto::dialogs {
extern const kelto::EmbeddedFile kEmbedded[];
extern const std::size_t kEmbeddedCount;
}  // namespace kelto::dialogs

namespace kelto {

namespace {

std::string unescape(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char next = text[++i];
        out += next == 'n' ? '\n' : next == 't' ? '\t' : next;
    }
    return out;
}

// "<id>/<object>" -> text, for one language file.
std::map<std::string, std::string, std::less<>> parseTexts(std::string_view text) {
    std::map<std::string, std::string, std::less<>> texts;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const auto end = text.find('\n', pos);
        std::string_view line = text.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos);
        pos = end == std::string_view::npos ? text.size() : end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty() || line.front() == '#') continue;
        const auto tab = line.find('\t');
        if (tab == std::string_view::npos) continue;
        texts[std::string(line.substr(0, tab))] = unescape(line.substr(tab + 1));
    }
    return texts;
}

const EmbeddedFile* embedded(std::string_view name) {
    for (std::size_t i = 0; i < dialogs::kEmbeddedCount; ++i)
        if (dialogs::kEmbedded[i].name == name) return &dialogs::kEmbedded[i];
    return nullptr;
}

}  // namespace

std::optional<std::string_view> dialogTemplate(int dialogId) {
    const EmbeddedFile* file = embedded(std::to_string(dialogId) + ".ui");
    if (!file) return std::nullopt;
    return file->text();
}

std::optional<std::string> dialogText(UiLanguage language, int dialogId, std::string_view objectName) {
    static std::map<std::string, std::map<std::string, std::string, std::less<>>> files;
    static std::once_flag once;
    std::call_once(once, [] {
        for (std::size_t i = 0; i < dialogs::kEmbeddedCount; ++i) {
            const std::string_view name = dialogs::kEmbedded[i].name;
            if (name.ends_with(".dialogtexts")) files[std::string(name)] = parseTexts(dialogs::kEmbedded[i].text());
        }
    });
    if (language == UiLanguage::EnglishUS) return std::nullopt;  // English stands in the templates
    auto file = files.find(resourceFileName(language, "dialogtexts"));
    if (file == files.end()) return std::nullopt;
    auto text = file->second.find(std::to_string(dialogId) + "/" + std::string(objectName));
    if (text == file->second.end()) return std::nullopt;
    return text->second;
}

}  // namespace kelto
