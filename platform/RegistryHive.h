#pragma once
// One registry hive in memory and its text form, the registry-export format:
//
//   REGEDIT4
//
//   [HKEY_CURRENT_USER\Software\UserVxdKeltoTV\KeltoTV\user]
//   "s_flag"=dword:00000001
//   "bmpdirectory"="/home/me/.local/share/KeltoTV/Capture"
//   @="the key's default value"
//
// Key and value names compare without regard to case and keep the spelling they were created
// with. Strings are UTF-8; '\\', '"', newline and carriage return are escaped with a backslash.
// Values of other types (hex:..., hex(n):...) are kept as they stand so a round trip loses nothing.
//
// Limits, far above what the program stores (a few kilobytes, keys five levels deep), so that a
// damaged or hostile file cannot make loading or saving exhaust memory:
//   - a key lies at most kMaxKeyDepth levels below the root (the depth the original registry allows);
//   - a hive file, and the text a parsed hive would be written as, is at most kMaxHiveBytes.
// A text beyond them does not parse. Key names cannot hold a line break (the key line of the
// text form has no escapes): createKey and setValue refuse such names and change nothing.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelto::platform {

constexpr std::size_t kMaxKeyDepth = 512;
constexpr std::size_t kMaxHiveBytes = 16u << 20;

enum class RegType { String, Dword, Other };

struct RegValue {
    RegType type = RegType::String;
    std::uint32_t dword = 0;
    std::string text;  // String: the text; Other: the right-hand side as written in the file

    static RegValue ofString(std::string_view s) { return {RegType::String, 0, std::string(s)}; }
    static RegValue ofDword(std::uint32_t d) { return {RegType::Dword, d, {}}; }
    bool operator==(const RegValue&) const = default;
};

class RegistryHive {
public:
    // rootName is the hive's name in the file, e.g. "HKEY_CURRENT_USER".
    explicit RegistryHive(std::string rootName);

    const std::string& rootName() const { return root_.name; }

    // Key paths are relative to the hive root, components separated by '\'. Empty components are
    // ignored, so "" names the root itself. False when the path is not a valid key path (too deep,
    // or a name with a line break).
    bool createKey(std::string_view path);
    bool keyExists(std::string_view path) const;
    bool deleteKey(std::string_view path);  // with everything below it; the root cannot be deleted
    std::vector<std::string> subkeyNames(std::string_view path) const;

    // valueName "" is the key's default value.
    std::optional<RegValue> value(std::string_view path, std::string_view valueName) const;
    std::vector<std::string> valueNames(std::string_view path) const;
    // Creates the key when needed. False (nothing changed) when the key path is not valid.
    bool setValue(std::string_view path, std::string_view valueName, RegValue value);
    bool deleteValue(std::string_view path, std::string_view valueName);

    bool empty() const { return root_.values.empty() && root_.subkeys.empty(); }

    std::string serialize() const;
    // Parses the text form; on failure returns nullopt and says which line is wrong.
    static std::optional<RegistryHive> parse(std::string_view text, std::string_view rootName,
                                             std::string* error = nullptr);

    RegistryHive(const RegistryHive& other);
    RegistryHive& operator=(const RegistryHive& other);
    RegistryHive(RegistryHive&&) noexcept = default;
    RegistryHive& operator=(RegistryHive&&) noexcept = default;

private:
    struct Key {
        std::string name;
        std::vector<std::pair<std::string, RegValue>> values;
        std::vector<std::unique_ptr<Key>> subkeys;

        Key* findSubkey(std::string_view name) const;
        std::pair<std::string, RegValue>* findValue(std::string_view name);
        std::unique_ptr<Key> clone() const;
    };

    const Key* find(std::string_view path) const;
    Key* findOrCreate(std::string_view path);
    static bool validKeyPath(std::string_view path);
    static void serializeKey(const Key& key, const std::string& fullName, std::string& out);

    Key root_;
};

}  // namespace kelto::platform
