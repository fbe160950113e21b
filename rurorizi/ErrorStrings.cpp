#include "rurorizi/ErrorStrings.h"

#include "resources/StringTable.h"

namespace kelto::rurorizi {

std::optional<std::string> libraryMessage(unsigned id) {
    if (id < kFirstMessageId || id > kLastMessageId) return std::nullopt;
    return findString(currentUiLanguage(), static_cast<int>(id));
}

}  // namespace kelto::rurorizi
