#include "platform/RegistryHive.h"

#include "platform/Text.h"

#include <algorithm>
#include <cstdio>

namespace kelto::platform {

namespace {

std::vector<std::string_view> splitPath(std::string_view path) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        const auto end = path.find('\\', start);
        const auto part = path.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
        if (!part.empty()) parts.push_back(part);
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    return parts;
}

std::string quote(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '"': out += "\\\""; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        default: out.push_back(c);
        }
    }
    out.push_back('"');
    return out;
}

// Reads a quoted string starting at text[pos] == '"'; pos ends after the closing quote.
std::optional<std::string> unquote(std::string_view text, std::size_t& pos) {
    if (pos >= text.size() || text[pos] != '"') return std::nullopt;
    std::string out;
    for (++pos; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (c == '"') {
            ++pos;
            return out;
        }
        if (c == '\\') {
            if (++pos >= text.size()) return std::nullopt;
            switch (text[pos]) {
            case '\\': out.push_back('\\'); break;
            case '"': out.push_back('"'); break;
            case 'n': out.push_back('\n'); break;
            case 'r': out.push_back('\r'); break;
            default: return std::nullopt;
            }
        } else {
            out.push_back(c);
        }
    }
    return std::nullopt;
}

bool parseDword(std::string_view hex, std::uint32_t& out) {
    if (hex.empty() || hex.size() > 8) return false;
    std::uint32_t v = 0;
    for (char c : hex) {
        int d;
        if (c >= '0' && c <= '9') d = c - '0';
        else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
        else return false;
        v = v * 16 + std::uint32_t(d);
    }
    out = v;
    return true;
}

bool isHexData(std::string_view rhs) {
    // hex:01,02,... or hex(7):...
    std::size_t pos;
    if (rhs.starts_with("hex:")) pos = 4;
    else if (rhs.starts_with("hex(")) {
        const auto close = rhs.find("):");
        if (close == std::string_view::npos || close == 4) return false;
        for (std::size_t i = 4; i < close; ++i)
            if (!std::isxdigit(static_cast<unsigned char>(rhs[i]))) return false;
        pos = close + 2;
    } else return false;
    for (; pos < rhs.size(); ++pos) {
        const char c = rhs[pos];
        if (!std::isxdigit(static_cast<unsigned char>(c)) && c != ',' && c != ' ') return false;
    }
    return true;
}

}  // namespace

RegistryHive::RegistryHive(std::string rootName) { root_.name = std::move(rootName); }

RegistryHive::RegistryHive(const RegistryHive& other) {
    auto copy = other.root_.clone();
    root_ = std::move(*copy);
}

RegistryHive& RegistryHive::operator=(const RegistryHive& other) {
    if (this != &other) {
        auto copy = other.root_.clone();
        root_ = std::move(*copy);
    }
    return *this;
}

RegistryHive::Key* RegistryHive::Key::findSubkey(std::string_view wanted) const {
    for (const auto& key : subkeys)
        if (equalsIgnoreCase(key->name, wanted)) return key.get();
    return nullptr;
}

std::pair<std::string, RegValue>* RegistryHive::Key::findValue(std::string_view wanted) {
    for (auto& entry : values)
        if (equalsIgnoreCase(entry.first, wanted)) return &entry;
    return nullptr;
}

std::unique_ptr<RegistryHive::Key> RegistryHive::Key::clone() const {
    auto copy = std::make_unique<Key>();
    copy->name = name;
    copy->values = values;
    for (const auto& key : subkeys) copy->subkeys.push_back(key->clone());
    return copy;
}

const RegistryHive::Key* RegistryHive::find(std::string_view path) const {
    const Key* key = &root_;
    for (auto part : splitPath(path)) {
        key = key->findSubkey(part);
        if (!key) return nullptr;
    }
    return key;
}

RegistryHive::Key* RegistryHive::findOrCreate(std::string_view path) {
    Key* key = &root_;
    for (auto part : splitPath(path)) {
        Key* next = key->findSubkey(part);
        if (!next) {
            key->subkeys.push_back(std::make_unique<Key>());
            next = key->subkeys.back().get();
            next->name = std::string(part);
        }
        key = next;
    }
    return key;
}

bool RegistryHive::validKeyPath(std::string_view path) {
    if (path.find_first_of("\r\n") != std::string_view::npos) return false;
    return splitPath(path).size() <= kMaxKeyDepth;
}

bool RegistryHive::createKey(std::string_view path) {
    if (!validKeyPath(path)) return false;
    findOrCreate(path);
    return true;
}

bool RegistryHive::keyExists(std::string_view path) const { return find(path) != nullptr; }

bool RegistryHive::deleteKey(std::string_view path) {
    auto parts = splitPath(path);
    if (parts.empty()) return false;
    Key* parent = &root_;
    for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
        parent = parent->findSubkey(parts[i]);
        if (!parent) return false;
    }
    auto& list = parent->subkeys;
    const auto it = std::find_if(list.begin(), list.end(),
                                 [&](const auto& k) { return equalsIgnoreCase(k->name, parts.back()); });
    if (it == list.end()) return false;
    list.erase(it);
    return true;
}

std::vector<std::string> RegistryHive::subkeyNames(std::string_view path) const {
    std::vector<std::string> names;
    if (const Key* key = find(path))
        for (const auto& sub : key->subkeys) names.push_back(sub->name);
    return names;
}

std::optional<RegValue> RegistryHive::value(std::string_view path, std::string_view valueName) const {
    const Key* key = find(path);
    if (!key) return std::nullopt;
    for (const auto& entry : key->values)
        if (equalsIgnoreCase(entry.first, valueName)) return entry.second;
    return std::nullopt;
}

std::vector<std::string> RegistryHive::valueNames(std::string_view path) const {
    std::vector<std::string> names;
    if (const Key* key = find(path))
        for (const auto& entry : key->values) names.push_back(entry.first);
    return names;
}

bool RegistryHive::setValue(std::string_view path, std::string_view valueName, RegValue value) {
    if (!validKeyPath(path)) return false;
    Key* key = findOrCreate(path);
    if (auto* entry = key->findValue(valueName)) entry->second = std::move(value);
    else key->values.emplace_back(std::string(valueName), std::move(value));
    return true;
}

bool RegistryHive::deleteValue(std::string_view path, std::string_view valueName) {
    const Key* found = find(path);
    if (!found) return false;
    Key* key = const_cast<Key*>(found);
    const auto it = std::find_if(key->values.begin(), key->values.end(),
                                 [&](const auto& e) { return equalsIgnoreCase(e.first, valueName); });
    if (it == key->values.end()) return false;
    key->values.erase(it);
    return true;
}

void RegistryHive::serializeKey(const Key& key, const std::string& fullName, std::string& out) {
    out += "[" + fullName + "]\n";
    for (const auto& [name, value] : key.values) {
        out += name.empty() ? std::string("@") : quote(name);
        out += '=';
        switch (value.type) {
        case RegType::String: out += quote(value.text); break;
        case RegType::Dword: {
            char hex[16];
            std::snprintf(hex, sizeof hex, "dword:%08x", value.dword);
            out += hex;
            break;
        }
        case RegType::Other: out += value.text; break;
        }
        out += '\n';
    }
    out += '\n';
    for (const auto& sub : key.subkeys) serializeKey(*sub, fullName + "\\" + sub->name, out);
}

std::string RegistryHive::serialize() const {
    std::string out = "REGEDIT4\n\n";
    serializeKey(root_, root_.name, out);
    return out;
}

std::optional<RegistryHive> RegistryHive::parse(std::string_view text, std::string_view rootName,
                                                std::string* error) {
    RegistryHive hive{std::string(rootName)};
    auto fail = [&](int lineNo, const std::string& why) -> std::optional<RegistryHive> {
        if (error) *error = "line " + std::to_string(lineNo) + ": " + why;
        return std::nullopt;
    };
    if (text.size() > kMaxHiveBytes) return fail(1, "the file is larger than " + std::to_string(kMaxHiveBytes) + " bytes");
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);

    // Join continuation lines (a hex list may end a line with '\').
    std::vector<std::pair<int, std::string>> lines;
    int lineNo = 0;
    std::size_t pos = 0;
    bool continuing = false;
    while (pos < text.size()) {
        auto end = text.find('\n', pos);
        std::string_view line = text.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos);
        pos = end == std::string_view::npos ? text.size() : end + 1;
        ++lineNo;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (continuing) lines.back().second += std::string(trimBlanks(line));
        else lines.emplace_back(lineNo, std::string(line));
        continuing = !lines.back().second.empty() && lines.back().second.back() == '\\' &&
                     lines.back().second.find("=hex") != std::string::npos;
        if (continuing) lines.back().second.pop_back();
    }

    bool sawHeader = false;
    Key* current = nullptr;
    // What the hive will take when written again: a key line for every key (including those a
    // deep key line creates on its way), and the value lines. Deep paths multiply it.
    std::size_t writtenBytes = 0;
    const auto tooLarge = [&] { return writtenBytes > kMaxHiveBytes; };
    for (const auto& [number, raw] : lines) {
        const std::string_view line = trimBlanks(raw);
        if (line.empty() || line.front() == ';') continue;
        if (!sawHeader) {
            if (line != "REGEDIT4") return fail(number, "the file does not start with REGEDIT4");
            sawHeader = true;
            continue;
        }
        if (line.front() == '[') {
            if (line.back() != ']') return fail(number, "unterminated key name");
            const std::string_view name = line.substr(1, line.size() - 2);
            const auto slash = name.find('\\');
            const std::string_view head = name.substr(0, slash);
            if (!equalsIgnoreCase(head, rootName)) return fail(number, "key outside " + std::string(rootName));
            const std::string_view path = slash == std::string_view::npos ? std::string_view{} : name.substr(slash + 1);
            current = &hive.root_;
            std::size_t fullNameBytes = rootName.size();
            std::size_t depth = 0;
            for (auto part : splitPath(path)) {
                if (++depth > kMaxKeyDepth)
                    return fail(number, "key nested deeper than " + std::to_string(kMaxKeyDepth) + " levels");
                fullNameBytes += 1 + part.size();
                Key* next = current->findSubkey(part);
                if (!next) {
                    current->subkeys.push_back(std::make_unique<Key>());
                    next = current->subkeys.back().get();
                    next->name = std::string(part);
                    writtenBytes += fullNameBytes + 4;  // "[", "]\n" and the blank line after the key
                    if (tooLarge()) return fail(number, "the hive would be written larger than " +
                                                            std::to_string(kMaxHiveBytes) + " bytes");
                }
                current = next;
            }
            continue;
        }
        if (!current) return fail(number, "value outside a key");
        std::string name;
        std::size_t at = 0;
        if (line.front() == '@') {
            at = 1;
        } else {
            auto quoted = unquote(line, at);
            if (!quoted) return fail(number, "bad value name");
            name = std::move(*quoted);
        }
        if (at >= line.size() || line[at] != '=') return fail(number, "missing '='");
        ++at;
        const std::string_view rhs = line.substr(at);
        RegValue value;
        if (!rhs.empty() && rhs.front() == '"') {
            std::size_t p = 0;
            auto str = unquote(rhs, p);
            if (!str || p != rhs.size()) return fail(number, "bad string value");
            value = RegValue::ofString(*str);
        } else if (rhs.starts_with("dword:")) {
            std::uint32_t d;
            if (!parseDword(rhs.substr(6), d)) return fail(number, "bad dword value");
            value = RegValue::ofDword(d);
        } else if (isHexData(rhs)) {
            value = RegValue{RegType::Other, 0, std::string(rhs)};
        } else {
            return fail(number, "unknown value type");
        }
        writtenBytes += line.size() + 8;  // a short dword is written with all its eight digits
        if (tooLarge())
            return fail(number, "the hive would be written larger than " + std::to_string(kMaxHiveBytes) + " bytes");
        if (auto* entry = current->findValue(name)) entry->second = std::move(value);
        else current->values.emplace_back(std::move(name), std::move(value));
    }
    if (!sawHeader && !lines.empty()) {
        bool allBlank = true;
        for (const auto& l : lines) allBlank = allBlank && trimBlanks(l.second).empty();
        if (!allBlank) return fail(1, "the file does not start with REGEDIT4");
    }
    return hive;
}

}  // namespace kelto::platform
