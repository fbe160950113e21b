// KeltoTV program entry. For now it lays out the install root, checks the system version and
// writes the factory defaults into the settings store, then says where they went.
#include "app/SettingsStore.h"
#include "app/ViewerSettings.h"
#include "platform/Paths.h"
#include "platform/Registry.h"
#include "platform/SystemInfo.h"
#include "platform/Trace.h"

#include <cstdio>

int main() {
    using namespace kelto;
    platform::prepareInstallRoot();

    // The version record: extended first, then the basic one; neither means no start at all.
    platform::OsVersionInfo version;
    version.sizeField = platform::kOsVersionInfoExSize;
    if (!platform::getVersionEx(version)) {
        version = {};
        version.sizeField = platform::kOsVersionInfoSize;
        if (!platform::getVersionEx(version)) return 1;
    }

    SettingsStore store;
    store.setRegistryKey(SettingsStore::kRegistryKey);
    const std::string captureFolder = writeFactoryDefaults(store, platform::programPath().string());

    const auto hive = store.registry().hivePath(platform::RegHive::CurrentUser);
    std::printf("KeltoTV: factory defaults written to %s\n", hive.c_str());
    std::printf("         under [HKEY_CURRENT_USER\\Software\\%s\\%s]\n", store.registryKey().c_str(),
                SettingsStore::kApplicationName);
    std::printf("         capture folder: %s\n", captureFolder.c_str());
    platform::tracef("KeltoTV started; factory defaults in %s", hive.c_str());
    return 0;
}
