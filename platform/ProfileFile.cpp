#include "platform/ProfileFile.h"

#include "platform/AtomicFile.h"
#include "platform/Paths.h"
#include "platform/Text.h"

#include <climits>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace kelto::platform {

namespace {

struct Section {
    std::string name;
    std::vector<std::pair<std::string, std::string>> entries;
};

struct ParsedFile {
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};
    std::vector<Section> sections;
};

std::string unquoteValue(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return std::string(value);
}

std::vector<Section> parse(std::string_view text) {
    std::vector<Section> sections;
    Section* current = nullptr;
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    std::size_t pos = 0;
    while (pos < text.size()) {
        const auto end = text.find('\n', pos);
        std::string_view line = text.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos);
        pos = end == std::string_view::npos ? text.size() : end + 1;
        line = trimBlanks(line);
        if (line.empty() || line.front() == ';') continue;
        if (line.front() == '[') {
            const auto close = line.find(']');
            const auto name = trimBlanks(line.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
            sections.push_back({std::string(name), {}});
            current = &sections.back();
            continue;
        }
        if (!current) continue;
        const auto eq = line.find('=');
        if (eq == std::string_view::npos) {
            current->entries.emplace_back(std::string(line), std::string());
        } else {
            current->entries.emplace_back(std::string(trimBlanks(line.substr(0, eq))),
                                          unquoteValue(trimBlanks(line.substr(eq + 1))));
        }
    }
    return sections;
}

std::mutex cacheMutex;
std::map<std::string, std::shared_ptr<const ParsedFile>> cache;

std::shared_ptr<const ParsedFile> load(std::string_view fileName) {
    const fs::path path = resolveProfilePath(fileName);
    struct stat st{};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return nullptr;
    std::lock_guard lock(cacheMutex);
    auto& slot = cache[path.string()];
    if (slot && slot->inode == st.st_ino && slot->size == st.st_size &&
        slot->modified.tv_sec == st.st_mtim.tv_sec && slot->modified.tv_nsec == st.st_mtim.tv_nsec)
        return slot;
    std::string text;
    if (!readWholeFile(path, text)) return nullptr;
    auto parsed = std::make_shared<ParsedFile>();
    parsed->inode = st.st_ino;
    parsed->size = st.st_size;
    parsed->modified = st.st_mtim;
    parsed->sections = parse(text);
    slot = parsed;
    return slot;
}

const Section* findSection(const ParsedFile& file, std::string_view name) {
    for (const auto& section : file.sections)
        if (equalsIgnoreCase(section.name, name)) return &section;
    return nullptr;
}

std::optional<std::string> lookup(std::string_view sectionName, std::string_view key, std::string_view fileName) {
    const auto file = load(fileName);
    if (!file) return std::nullopt;
    const Section* section = findSection(*file, sectionName);
    if (!section) return std::nullopt;
    for (const auto& [name, value] : section->entries)
        if (equalsIgnoreCase(name, key)) return value;
    return std::nullopt;
}

}  // namespace

fs::path resolveProfilePath(std::string_view fileName) {
    if (fileName.find('/') == std::string_view::npos) return windowsFolder() / std::string(fileName);
    return fs::path(std::string(fileName));
}

std::string getPrivateProfileString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue, std::string_view fileName) {
    const auto value = lookup(section, key, fileName);
    const std::string_view text = value ? std::string_view(*value) : trimBlanks(defaultValue);
    return std::string(cutUtf8(text, kProfileValueMaxBytes));
}

int parseProfileInt(std::string_view text, int defaultValue) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long value = 0;
    bool digits = false;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        digits = true;
        if (value <= INT_MAX) value = value * 10 + (text[i] - '0');
    }
    if (!digits) return defaultValue;
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

int getPrivateProfileInt(std::string_view section, std::string_view key, int defaultValue,
                         std::string_view fileName) {
    const auto value = lookup(section, key, fileName);
    if (!value) return defaultValue;
    return parseProfileInt(cutUtf8(*value, kProfileValueMaxBytes), defaultValue);
}

std::vector<std::string> getPrivateProfileSectionNames(std::string_view fileName) {
    std::vector<std::string> names;
    if (const auto file = load(fileName))
        for (const auto& section : file->sections) names.push_back(section.name);
    return names;
}

std::vector<std::string> getPrivateProfileKeyNames(std::string_view sectionName, std::string_view fileName) {
    std::vector<std::string> names;
    if (const auto file = load(fileName))
        if (const Section* section = findSection(*file, sectionName))
            for (const auto& entry : section->entries) names.push_back(entry.first);
    return names;
}

}  // namespace kelto::platform
