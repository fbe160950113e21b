#pragma once
// Accelerator tables as resources: keys that become commands, kept per language in
// resources/accelerators/<language>.accelerators and built into the program.
//
//   ACCELERATORS 390
//     KEY 32774 "Ctrl+A"
//     KEY 32895 "Up"
//   END
//
// A key is written as Qt writes key sequences in portable text ("Ctrl+Shift+C", "F1", "Alt+F4");
// the window framework turns it into a key. The table keeps the file's order: where two
// entries share a key, the first wins.
#include "resources/StringTable.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kelto {

struct AcceleratorEntry {
    std::string key;  // portable key-sequence text
    int command = 0;
};

using AcceleratorTable = std::vector<AcceleratorEntry>;

// Parses an accelerators file; the tables it holds by identifier. Lines that do not parse are an error.
std::optional<std::vector<std::pair<int, AcceleratorTable>>> parseAccelerators(std::string_view text,
                                                                              std::string* error = nullptr);

// A table in the language asked for (English when that language lacks it).
std::optional<AcceleratorTable> loadAccelerators(int tableId, UiLanguage language);
std::optional<AcceleratorTable> loadAccelerators(int tableId);

}  // namespace kelto
