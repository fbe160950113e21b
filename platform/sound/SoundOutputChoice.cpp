#include "platform/sound/PcmOutput.h"

#include <cstdlib>
#include <mutex>

namespace kelto::platform::sound {
namespace {

std::mutex factoryMutex;
std::function<std::unique_ptr<PcmOutput>()> installedFactory;

}  // namespace

std::unique_ptr<PcmOutput> makeSoundOutput() {
    {
        std::lock_guard lock(factoryMutex);
        if (installedFactory) return installedFactory();
    }
    const char* device = std::getenv("KELTO_SOUND_DEVICE");
    if (device && std::string(device) == "none") return nullptr;
    return makeAlsaPcmOutput(device && *device ? device : "default");
}

void setSoundOutputFactory(std::function<std::unique_ptr<PcmOutput>()> factory) {
    std::lock_guard lock(factoryMutex);
    installedFactory = std::move(factory);
}

}  // namespace kelto::platform::sound
