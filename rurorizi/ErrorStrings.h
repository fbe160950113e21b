#pragma once
// The library's own messages, by identifier: 65281 to 65284, the low 16 bits of the codes -255 to
// -252. The texts come from the program's string tables in the user's language (English when a
// language lacks one); other identifiers name no message of the library.
#include <optional>
#include <string>

namespace kelto::rurorizi {

constexpr unsigned kFirstMessageId = 65281;
constexpr unsigned kLastMessageId = 65284;

std::optional<std::string> libraryMessage(unsigned id);

}  // namespace kelto::rurorizi
