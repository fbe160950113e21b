#include "cardsim/CardDevices.h"

#include "cardsim/Card.h"
#include "platform/DeviceIo.h"

#include <cstring>
#include <memory>
#include <string>

namespace kelto::cardsim {

namespace {

class CardDevice;

class CardDeviceSession final : public platform::DeviceSession {
public:
    explicit CardDeviceSession(CardDevice& device) : device_(device) {}
    ~CardDeviceSession() override;
    bool control(std::uint32_t code, const void* input, std::size_t inputSize, void* output, std::size_t outputSize,
                 std::size_t& bytesReturned) override;

private:
    CardDevice& device_;
};

class CardDevice final : public platform::DeviceProvider {
public:
    CardDevice(std::string name, std::uint32_t registerBlockCode, bool bt878Only)
        : name_(std::move(name)), code_(registerBlockCode), bt878Only_(bt878Only) {
        platform::registerDeviceProvider(name_, this);
    }
    ~CardDevice() override { platform::unregisterDeviceProvider(name_, this); }

    std::unique_ptr<platform::DeviceSession> open() override {
        CardLock card;
        if (openCount_ > 0 || card->faults.unopenableDevices.contains(name_)) return nullptr;
        if (bt878Only_ && !card->isBt878()) return nullptr;
        ++openCount_;
        return std::make_unique<CardDeviceSession>(*this);
    }

    bool control(std::uint32_t code, void* output, std::size_t outputSize, std::size_t& bytesReturned) {
        CardLock card;
        bytesReturned = 0;
        if (code != code_ || card->faults.silentDevices.contains(name_)) return false;
        void* address = card->registers().base();
        if (!output || outputSize < sizeof address) return false;
        std::memcpy(output, &address, sizeof address);
        bytesReturned = sizeof address;
        return true;
    }

    void closed() {
        CardLock card;
        --openCount_;
    }

private:
    std::string name_;
    std::uint32_t code_;
    bool bt878Only_;
    int openCount_ = 0;
};

CardDeviceSession::~CardDeviceSession() { device_.closed(); }

bool CardDeviceSession::control(std::uint32_t code, const void*, std::size_t, void* output, std::size_t outputSize,
                                std::size_t& bytesReturned) {
    return device_.control(code, output, outputSize, bytesReturned);
}

// Registered while this library is loaded.
CardDevice videoDevice(kVideoDeviceName, kVideoRegisterBlockCode, false);
CardDevice audioDevice(kAudioDeviceName, kAudioRegisterBlockCode, true);

}  // namespace

}  // namespace kelto::cardsim
