#include "platform/DeviceIo.h"

#include "platform/DynamicLibrary.h"
#include "platform/Text.h"
#include "platform/Trace.h"

#include <map>
#include <mutex>

namespace kelto::platform {

struct OpenDevice {
    std::unique_ptr<DeviceSession> session;
};

namespace {

struct NameLess {
    bool operator()(const std::string& a, const std::string& b) const { return lessIgnoreCase(a, b); }
};

std::recursive_mutex deviceMutex;
std::map<std::string, DeviceProvider*, NameLess>& providers() {
    static std::map<std::string, DeviceProvider*, NameLess> table;
    return table;
}
std::map<std::string, std::string, NameLess>& libraries() {
    // The simulated card's library holds both card devices.
    static std::map<std::string, std::string, NameLess> table{
        {"\\\\.\\BT848", "kelto_cardsim.dll"},
        {"\\\\.\\BtPCIAud.vxd", "kelto_cardsim.dll"},
    };
    return table;
}
// Libraries loaded on behalf of a device name; kept for the life of the process (the table is
// never destroyed, so they stay reachable to the end).
std::map<std::string, ModuleHandle, NameLess>& loadedLibraries() {
    static auto& table = *new std::map<std::string, ModuleHandle, NameLess>;
    return table;
}

DeviceProvider* findProvider(const std::string& name) {
    const auto found = providers().find(name);
    return found == providers().end() ? nullptr : found->second;
}

}  // namespace

void registerDeviceProvider(std::string_view deviceName, DeviceProvider* provider) {
    std::lock_guard lock(deviceMutex);
    providers()[std::string(deviceName)] = provider;
}

void unregisterDeviceProvider(std::string_view deviceName, DeviceProvider* provider) {
    std::lock_guard lock(deviceMutex);
    const auto found = providers().find(std::string(deviceName));
    if (found != providers().end() && found->second == provider) providers().erase(found);
}

void registerDeviceLibrary(std::string_view deviceName, std::string_view libraryName) {
    std::lock_guard lock(deviceMutex);
    libraries()[std::string(deviceName)] = std::string(libraryName);
}

DeviceHandle openDevice(std::string_view deviceName) {
    std::lock_guard lock(deviceMutex);
    const std::string name(deviceName);
    DeviceProvider* provider = findProvider(name);
    if (!provider) {
        const auto library = libraries().find(name);
        if (library == libraries().end()) return nullptr;
        const std::string& libraryName = library->second;
        if (!loadedLibraries().contains(libraryName)) {
            ModuleHandle module = loadLibrary(libraryName);
            if (!module) {
                tracef("openDevice %s: %s", name.c_str(), lastLoadError().c_str());
                return nullptr;
            }
            loadedLibraries()[libraryName] = module;
        }
        provider = findProvider(name);
        if (!provider) return nullptr;
    }
    std::unique_ptr<DeviceSession> session = provider->open();
    if (!session) return nullptr;
    return new OpenDevice{std::move(session)};
}

bool deviceIoControl(DeviceHandle device, std::uint32_t code, const void* input, std::size_t inputSize,
                     void* output, std::size_t outputSize, std::size_t& bytesReturned) {
    bytesReturned = 0;
    if (!device) return false;
    std::lock_guard lock(deviceMutex);
    std::size_t written = 0;
    if (!device->session->control(code, input, inputSize, output, outputSize, written)) return false;
    bytesReturned = written > outputSize ? outputSize : written;
    return true;
}

bool closeDevice(DeviceHandle device) {
    if (!device) return false;
    std::lock_guard lock(deviceMutex);
    delete device;
    return true;
}

}  // namespace kelto::platform
