#include "settings/SettingsStore.h"

namespace kelto {

using platform::RegHive;

SettingsStore::SettingsStore(platform::Registry& registry) : registry_(registry) {}

std::string SettingsStore::sectionPath(std::string_view section) const {
    return "Software\\" + registryKey_ + "\\" + kApplicationName + "\\" + std::string(section);
}

int SettingsStore::readInt(std::string_view section, std::string_view name, int defaultValue) const {
    const auto value = registry_.queryDword(RegHive::CurrentUser, sectionPath(section), name);
    return value ? static_cast<int>(*value) : defaultValue;
}

std::string SettingsStore::readString(std::string_view section, std::string_view name,
                                      std::string_view defaultValue) const {
    const auto value = registry_.queryString(RegHive::CurrentUser, sectionPath(section), name);
    return value ? *value : std::string(defaultValue);
}

void SettingsStore::writeInt(std::string_view section, std::string_view name, int value) {
    registry_.setDword(RegHive::CurrentUser, sectionPath(section), name, static_cast<std::uint32_t>(value));
}

void SettingsStore::writeString(std::string_view section, std::string_view name, std::string_view value) {
    registry_.setString(RegHive::CurrentUser, sectionPath(section), name, value);
}

}  // namespace kelto
