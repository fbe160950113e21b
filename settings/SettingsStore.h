#pragma once
// The per-user settings: named integers and strings below
// HKEY_CURRENT_USER\Software\<registry key>\<application name>\<section>.
// Reads name a default returned when the value is absent (or of the other type); writes that
// fail are ignored. Nothing is cached here: each call reaches the registry.
#include "platform/Registry.h"

#include <string>
#include <string_view>

namespace kelto {

class SettingsStore {
public:
    static constexpr const char* kRegistryKey = "UserVxdKeltoTV";
    static constexpr const char* kApplicationName = "KeltoTV";

    explicit SettingsStore(platform::Registry& registry = platform::Registry::instance());

    // Set once at process start, before the first access.
    void setRegistryKey(std::string_view key) { registryKey_ = key; }
    const std::string& registryKey() const { return registryKey_; }

    int readInt(std::string_view section, std::string_view name, int defaultValue) const;
    std::string readString(std::string_view section, std::string_view name, std::string_view defaultValue) const;
    void writeInt(std::string_view section, std::string_view name, int value);
    void writeString(std::string_view section, std::string_view name, std::string_view value);

    // The registry path of a section, relative to HKEY_CURRENT_USER.
    std::string sectionPath(std::string_view section) const;
    platform::Registry& registry() const { return registry_; }

    // Saves the writes made while it lives in one go (the hive is written once, not per value).
    class WriteGroup {
    public:
        explicit WriteGroup(SettingsStore& store) : batch_(store.registry_, platform::RegHive::CurrentUser) {}

    private:
        platform::Registry::Batch batch_;
    };

private:
    platform::Registry& registry_;
    std::string registryKey_ = kRegistryKey;
};

}  // namespace kelto
