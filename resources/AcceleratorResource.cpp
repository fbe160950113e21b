#include "resources/AcceleratorResource.h"

#include "platform/EmbeddedFile.h"
#include "platform/Text.h"
#include "resources/ResourceLines.h"

#include <charconv>
#include <map>
#include <mutex>

namespace kelto::accelerators {
extern const kelto::EmbeddedFile kEmbedded[];
extern const std::size_t kEmbeddedCount;
}  // namespace kelto::accelerators

namespace kelto {

namespace {

std::optional<int> number(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

}  // namespace

std::optional<std::vector<std::pair<int, AcceleratorTable>>> parseAccelerators(std::string_view text, std::string* error) {
    std::vector<std::pair<int, AcceleratorTable>> tables;
    AcceleratorTable* open = nullptr;
    ResourceLines lines(text);
    auto fail = [&](const char* why) {
        if (error) *error = "line " + std::to_string(lines.lineNo()) + ": " + why;
        return std::nullopt;
    };
    std::string_view line;
    while (lines.next(line)) {
        if (line.starts_with("ACCELERATORS ")) {
            if (open) return fail("ACCELERATORS inside a table");
            const auto id = number(platform::trimBlanks(line.substr(13)));
            if (!id) return fail("bad table identifier");
            tables.emplace_back(*id, AcceleratorTable{});
            open = &tables.back().second;
        } else if (line == "END") {
            if (!open) return fail("END without ACCELERATORS");
            open = nullptr;
        } else if (line.starts_with("KEY ")) {
            if (!open) return fail("KEY outside a table");
            const std::string_view rest = platform::trimBlanks(line.substr(4));
            const auto space = rest.find(' ');
            if (space == std::string_view::npos) return fail("KEY without a key");
            const auto command = number(rest.substr(0, space));
            const std::string_view key = platform::trimBlanks(rest.substr(space + 1));
            if (!command) return fail("bad command");
            if (key.size() < 3 || key.front() != '"' || key.back() != '"') return fail("bad key text");
            open->push_back({std::string(key.substr(1, key.size() - 2)), *command});
        } else {
            return fail("unknown line");
        }
    }
    if (open) return fail("missing END");
    return tables;
}

std::optional<AcceleratorTable> loadAccelerators(int tableId, UiLanguage language) {
    static std::map<std::string, std::vector<std::pair<int, AcceleratorTable>>> files;
    static std::once_flag once;
    std::call_once(once, [] {
        for (std::size_t i = 0; i < accelerators::kEmbeddedCount; ++i)
            if (auto parsed = parseAccelerators(accelerators::kEmbedded[i].text()))
                files[accelerators::kEmbedded[i].name] = std::move(*parsed);
    });
    for (const std::string& name : {resourceFileName(language, "accelerators"), resourceFileName(UiLanguage::EnglishUS, "accelerators")}) {
        auto it = files.find(name);
        if (it == files.end()) continue;
        for (const auto& [id, table] : it->second)
            if (id == tableId) return table;
    }
    return std::nullopt;
}

std::optional<AcceleratorTable> loadAccelerators(int tableId) { return loadAccelerators(tableId, currentUiLanguage()); }

}  // namespace kelto
