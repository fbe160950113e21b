#include "tools/keltoctl/RemoteCommands.h"

#include "viewer/RemoteButtons.h"
#include "platform/Text.h"
#include "platform/WindowMessageIds.h"

#include <cstdio>

namespace kelto::ctl {

namespace {

struct NamedKey {
    const char* name;
    RemoteKey key;
};

constexpr NamedKey kKeys[] = {
    {"fullscreen", {RemoteKey::Kind::Message, remote::kFullScreen}}, {"mute", {RemoteKey::Kind::Message, remote::kMute}},
    {"source", {RemoteKey::Kind::Message, remote::kSource}},     {"previous", {RemoteKey::Kind::Message, remote::kPrevious}},
    {"adjust", {RemoteKey::Kind::Message, remote::kAdjust}},     {"capture", {RemoteKey::Kind::Message, remote::kCapture}},
    {"left", {RemoteKey::Kind::Character, 37}},        {"up", {RemoteKey::Kind::Character, 38}},
    {"right", {RemoteKey::Kind::Character, 39}},       {"down", {RemoteKey::Kind::Character, 40}},
    {"close", {RemoteKey::Kind::Command, remote::kCloseCommand}},
};

}  // namespace

std::optional<RemoteKey> remoteKeyByName(std::string_view name) {
    if (name.size() == 1 && name[0] >= '0' && name[0] <= '9') return RemoteKey{RemoteKey::Kind::Character, std::uint32_t(name[0])};
    for (const auto& k : kKeys)
        if (platform::equalsIgnoreCase(name, k.name)) return k.key;
    return std::nullopt;
}

std::vector<std::string> remoteKeyNames() {
    std::vector<std::string> names;
    for (const auto& k : kKeys) names.emplace_back(k.name);
    names.emplace_back("0..9");
    return names;
}

std::optional<std::int64_t> parseNumber(std::string_view text) {
    bool negative = false;
    if (!text.empty() && text.front() == '-') {
        negative = true;
        text.remove_prefix(1);
    }
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty() || text.size() > 16) return std::nullopt;
    std::int64_t value = 0;
    for (char c : text) {
        int digit;
        if (c >= '0' && c <= '9') digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        else return std::nullopt;
        value = value * base + digit;
    }
    return negative ? -value : value;
}

std::optional<std::time_t> parseLocalTime(std::string_view text, std::time_t now) {
    std::tm tm{};
    localtime_r(&now, &tm);
    int year, month, day, hour, minute;
    char tail;
    const std::string s(text);
    if (std::sscanf(s.c_str(), "%d-%d-%d %d:%d%c", &year, &month, &day, &hour, &minute, &tail) == 5) {
        tm.tm_year = year - 1900;
        tm.tm_mon = month - 1;
        tm.tm_mday = day;
    } else if (std::sscanf(s.c_str(), "%d:%d%c", &hour, &minute, &tail) != 2) {
        return std::nullopt;
    }
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59) return std::nullopt;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    tm.tm_sec = 0;
    tm.tm_isdst = -1;
    const std::time_t result = std::mktime(&tm);
    if (result == std::time_t(-1)) return std::nullopt;
    return result;
}

}  // namespace kelto::ctl
