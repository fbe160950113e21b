#pragma once
// What keltoctl can send: the remote controller's buttons by name, numbers as the command line
// writes them, and local times for reservations.
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelto::ctl {

// A remote button: a private message, a character, or command 101.
struct RemoteKey {
    enum class Kind { Message, Character, Command };
    Kind kind;
    std::uint32_t value;
};

std::optional<RemoteKey> remoteKeyByName(std::string_view name);
std::vector<std::string> remoteKeyNames();

// Decimal or 0x-hexadecimal, optionally negative; nullopt for anything else.
std::optional<std::int64_t> parseNumber(std::string_view text);

// "YYYY-MM-DD HH:MM" or "HH:MM" (today), in local time; seconds since 1970.
std::optional<std::time_t> parseLocalTime(std::string_view text, std::time_t now);

}  // namespace kelto::ctl
