#pragma once
// Menus as resources: a tree of pop-ups, items (command identifier and text) and separators,
// kept per language in resources/menus/<language>.menus and built into the program.
//
//   MENU 129
//     POPUP "TRAY"
//       ITEM 57670 "&Help"
//       SEPARATOR
//     END
//   END
//
// Positions count separators, as the code that greys or deletes items "by position" expects.
#include "resources/StringTable.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelto {

struct MenuItem {
    enum class Kind { Item, Separator, Popup };
    Kind kind = Kind::Item;
    int command = 0;  // items only
    std::string text;
    bool enabled = true;
    bool checked = false;
    bool isDefault = false;
    std::vector<MenuItem> children;  // pop-ups only

    // Deletes every item with the command, at any depth; returns how many went.
    int deleteCommand(int command);
    MenuItem* findCommand(int command);
    // The entry at a position of this pop-up, or null.
    MenuItem* at(std::size_t position);
};

// Parses a menus file; the menus it holds by identifier. Lines that do not parse are an error.
std::optional<std::vector<std::pair<int, MenuItem>>> parseMenus(std::string_view text, std::string* error = nullptr);

// A menu resource in the language asked for (English when that language lacks it); its root is
// a pop-up whose children are the menu bar's pop-ups.
std::optional<MenuItem> loadMenu(int menuId, UiLanguage language);
std::optional<MenuItem> loadMenu(int menuId);

}  // namespace kelto
