#include "rurorizi/RegisterWord.h"

#include "platform/DeviceIo.h"

namespace kelto::rurorizi::dynLink {

namespace {

constexpr const char* kVideoDevice = "\\\\.\\BT848";
constexpr const char* kAudioDevice = "\\\\.\\BtPCIAud.vxd";
constexpr std::uint32_t kVideoBlockRequest = 2;
constexpr std::uint32_t kAudioBlockRequest = 11;

volatile std::uint32_t* audioWord = nullptr;
std::uint32_t savedAudioWord = 0;

// One open, one request, one close; null when any of it fails or the answer is short.
void* requestRegisterBlock(const char* deviceName, std::uint32_t request) {
    platform::DeviceHandle device = platform::openDevice(deviceName);
    if (!device) return nullptr;
    // The device answers with a pointer-sized address; a shorter answer counts as none.
    void* block = nullptr;
    std::size_t returned = 0;
    const bool ok = platform::deviceIoControl(device, request, nullptr, 0, &block, sizeof block, returned);
    platform::closeDevice(device);
    return ok && returned == sizeof block ? block : nullptr;
}

}  // namespace

bool obtainRegisterBlock(bool bt878) {
    void* block = bt878 ? requestRegisterBlock(kAudioDevice, kAudioBlockRequest)
                        : requestRegisterBlock(kVideoDevice, kVideoBlockRequest);
    if (!block) return false;
    audioWord = reinterpret_cast<volatile std::uint32_t*>(static_cast<char*>(block) + kAudioWordOffset);
    savedAudioWord = *audioWord;
    return true;
}

void forgetRegisterBlock() {
    audioWord = nullptr;
    savedAudioWord = 0;
}

std::uint32_t readAudioWord() { return audioWord ? *audioWord : 0; }

void writeAudioWord(std::uint32_t value) {
    if (audioWord) *audioWord = value;
}

void restoreAudioWord() { writeAudioWord(savedAudioWord); }

}  // namespace kelto::rurorizi::dynLink
