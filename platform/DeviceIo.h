#pragma once
// Devices opened by name ("\\.\BT848") and driven by numbered control requests with an input and
// an output buffer, as the card's driver pieces expect of the system.
//
// A provider serves one device name. Providers register themselves (usually from the shared
// library that holds the device). When a name without a provider is opened, the layer loads the
// library mapped to that name (registerDeviceLibrary; the card devices map to the simulated card
// library) once and looks again, so the device's library need not be loaded by the caller.
// Names compare without regard to case. All functions are safe to call from any thread; a
// provider's calls are serialised by the layer.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace kelto::platform {

// One open of a device. Destroyed when the handle is closed.
class DeviceSession {
public:
    virtual ~DeviceSession() = default;
    // Carries out control request `code`. Writes at most outputSize bytes into output and stores
    // how many it wrote in bytesReturned. False when the request fails.
    virtual bool control(std::uint32_t code, const void* input, std::size_t inputSize, void* output,
                         std::size_t outputSize, std::size_t& bytesReturned) = 0;
};

class DeviceProvider {
public:
    virtual ~DeviceProvider() = default;
    // A new session, or null when the device cannot be opened now (absent, busy, failing).
    virtual std::unique_ptr<DeviceSession> open() = 0;
};

struct OpenDevice;
using DeviceHandle = OpenDevice*;

// Registers the provider of a device name; the provider must stay alive until unregistered.
// A second registration of the same name replaces the first.
void registerDeviceProvider(std::string_view deviceName, DeviceProvider* provider);
// Removes the provider if it is the one registered under the name. Sessions it opened stay
// valid until closed.
void unregisterDeviceProvider(std::string_view deviceName, DeviceProvider* provider);
// Maps a device name to the library ("X.dll", see DynamicLibrary.h) that provides it.
void registerDeviceLibrary(std::string_view deviceName, std::string_view libraryName);

// Opens a device for reading and writing; null when no provider serves the name or the provider
// refuses. The caller owns the handle and closes it with closeDevice.
DeviceHandle openDevice(std::string_view deviceName);
// A control request on an open device. bytesReturned is 0 whenever the request fails.
bool deviceIoControl(DeviceHandle device, std::uint32_t code, const void* input, std::size_t inputSize,
                     void* output, std::size_t outputSize, std::size_t& bytesReturned);
// Closes the handle; false for a null handle.
bool closeDevice(DeviceHandle device);

}  // namespace kelto::platform
