#include "v4l2/DriverChoice.h"

#include "v4l2/V4l2Card.h"

#include "platform/DeviceIo.h"
#include "platform/DynamicLibrary.h"
#include "platform/Trace.h"

#include <cstring>

namespace kelto::v4l2 {

namespace {

constexpr const char* kVideoDeviceName = "\\\\.\\BT848";
constexpr const char* kAudioDeviceName = "\\\\.\\BtPCIAud.vxd";
constexpr std::uint32_t kVideoRegisterBlockCode = 2;
constexpr std::uint32_t kAudioRegisterBlockCode = 11;

// The card's devices hand out the register block, which on this set is plain memory: the kernel
// driver owns the chip, so what is written there reaches no hardware.
class RegisterBlockSession final : public platform::DeviceSession {
public:
    explicit RegisterBlockSession(std::uint32_t code) : code_(code) {}
    bool control(std::uint32_t code, const void*, std::size_t, void* output, std::size_t outputSize,
                 std::size_t& bytesReturned) override {
        bytesReturned = 0;
        void* address = V4l2Card::registerBlock();
        if (code != code_ || !output || outputSize < sizeof address) return false;
        std::memcpy(output, &address, sizeof address);
        bytesReturned = sizeof address;
        return true;
    }

private:
    std::uint32_t code_;
};

class RegisterBlockDevice final : public platform::DeviceProvider {
public:
    explicit RegisterBlockDevice(std::uint32_t code) : code_(code) {}
    std::unique_ptr<platform::DeviceSession> open() override { return std::make_unique<RegisterBlockSession>(code_); }

private:
    std::uint32_t code_;
};

RegisterBlockDevice& videoDevice() {
    static auto* device = new RegisterBlockDevice(kVideoRegisterBlockCode);
    return *device;
}
RegisterBlockDevice& audioDevice() {
    static auto* device = new RegisterBlockDevice(kAudioRegisterBlockCode);
    return *device;
}

}  // namespace

void installV4l2DriverSet() {
    platform::substituteLibrary("BtVid_32.dll", kV4l2DriverLibrary);
    platform::substituteLibrary("BtAud.dll", kV4l2DriverLibrary);
    platform::registerDeviceProvider(kVideoDeviceName, &videoDevice());
    platform::registerDeviceProvider(kAudioDeviceName, &audioDevice());
}

void removeV4l2DriverSet() {
    platform::substituteLibrary("BtVid_32.dll", "");
    platform::substituteLibrary("BtAud.dll", "");
    platform::unregisterDeviceProvider(kVideoDeviceName, &videoDevice());
    platform::unregisterDeviceProvider(kAudioDeviceName, &audioDevice());
}

DriverSet chooseDriverSet() {
    const V4l2CardConfig config = readV4l2CardConfig(cardFilePath());
    if (!config.useV4l2) return DriverSet::Simulated;
    platform::tracef("card file %s: the card behind %s is used", cardFilePath().string().c_str(), config.devicePath.c_str());
    installV4l2DriverSet();
    return DriverSet::V4l2;
}

}  // namespace kelto::v4l2
