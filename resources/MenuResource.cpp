#include "resources/MenuResource.h"

#include "platform/EmbeddedFile.h"
#include "platform/Text.h"
#include "resources/ResourceLines.h"

#include <algorithm>
#include <map>
#include <mutex>

namespace kelto::menus {
extern const kelto::EmbeddedFile kEmbedded[];
extern const std::size_t kEmbeddedCount;
}  // namespace kelto::menus

namespace kelto {

int MenuItem::deleteCommand(int id) {
    int removed = 0;
    for (auto& child : children) removed += child.deleteCommand(id);
    const auto before = children.size();
    std::erase_if(children, [&](const MenuItem& m) { return m.kind == Kind::Item && m.command == id; });
    return removed + int(before - children.size());
}

MenuItem* MenuItem::findCommand(int id) {
    for (auto& child : children) {
        if (child.kind == Kind::Item && child.command == id) return &child;
        if (auto* found = child.findCommand(id)) return found;
    }
    return nullptr;
}

MenuItem* MenuItem::at(std::size_t position) { return position < children.size() ? &children[position] : nullptr; }

namespace {

// Reads a quoted text with \t, \n, \\ and \" escapes.
std::optional<std::string> quoted(std::string_view text) {
    if (text.size() < 2 || text.front() != '"' || text.back() != '"') return std::nullopt;
    std::string out;
    for (std::size_t i = 1; i + 1 < text.size(); ++i) {
        if (text[i] != '\\') {
            out.push_back(text[i]);
            continue;
        }
        if (++i + 1 > text.size() - 1) return std::nullopt;
        switch (text[i]) {
        case 't': out.push_back('\t'); break;
        case 'n': out.push_back('\n'); break;
        case '\\': out.push_back('\\'); break;
        case '"': out.push_back('"'); break;
        default: return std::nullopt;
        }
    }
    return out;
}

}  // namespace

std::optional<std::vector<std::pair<int, MenuItem>>> parseMenus(std::string_view text, std::string* error) {
    std::vector<std::pair<int, MenuItem>> menus;
    std::vector<MenuItem*> stack;
    ResourceLines lines(text);
    auto fail = [&](const char* why) {
        if (error) *error = "line " + std::to_string(lines.lineNo()) + ": " + why;
        return std::nullopt;
    };
    std::string_view line;
    while (lines.next(line)) {
        if (line.starts_with("MENU ")) {
            if (!stack.empty()) return fail("MENU inside a menu");
            MenuItem root;
            root.kind = MenuItem::Kind::Popup;
            menus.emplace_back(std::atoi(std::string(line.substr(5)).c_str()), std::move(root));
            stack.push_back(&menus.back().second);
        } else if (line == "END") {
            if (stack.empty()) return fail("END without MENU or POPUP");
            stack.pop_back();
        } else if (line == "SEPARATOR") {
            if (stack.empty()) return fail("SEPARATOR outside a menu");
            MenuItem separator;
            separator.kind = MenuItem::Kind::Separator;
            stack.back()->children.push_back(std::move(separator));
        } else if (line.starts_with("POPUP ")) {
            if (stack.empty()) return fail("POPUP outside a menu");
            auto caption = quoted(platform::trimBlanks(line.substr(6)));
            if (!caption) return fail("bad POPUP text");
            MenuItem popup;
            popup.kind = MenuItem::Kind::Popup;
            popup.text = *caption;
            stack.back()->children.push_back(std::move(popup));
            stack.push_back(&stack.back()->children.back());
        } else if (line.starts_with("ITEM ")) {
            if (stack.empty()) return fail("ITEM outside a menu");
            const std::string_view rest = platform::trimBlanks(line.substr(5));
            const auto space = rest.find(' ');
            if (space == std::string_view::npos) return fail("ITEM without text");
            auto caption = quoted(platform::trimBlanks(rest.substr(space + 1)));
            if (!caption) return fail("bad ITEM text");
            MenuItem item;
            item.command = std::atoi(std::string(rest.substr(0, space)).c_str());
            item.text = *caption;
            stack.back()->children.push_back(std::move(item));
        } else {
            return fail("unknown line");
        }
    }
    if (!stack.empty()) return fail("missing END");
    return menus;
}

std::optional<MenuItem> loadMenu(int menuId, UiLanguage language) {
    static std::map<std::string, std::vector<std::pair<int, MenuItem>>> files;
    static std::once_flag once;
    std::call_once(once, [] {
        for (std::size_t i = 0; i < menus::kEmbeddedCount; ++i)
            if (auto parsed = parseMenus(menus::kEmbedded[i].text())) files[menus::kEmbedded[i].name] = std::move(*parsed);
    });
    for (const std::string& name : {resourceFileName(language, "menus"), resourceFileName(UiLanguage::EnglishUS, "menus")}) {
        auto it = files.find(name);
        if (it == files.end()) continue;
        for (const auto& [id, menu] : it->second)
            if (id == menuId) return menu;
    }
    return std::nullopt;
}

std::optional<MenuItem> loadMenu(int menuId) { return loadMenu(menuId, currentUiLanguage()); }

}  // namespace kelto
