#include "platform/mixer/MixerService.h"

#include "platform/mixer/AlsaMixer.h"

#include <atomic>

namespace kelto::platform::mixer {
namespace {

std::atomic<MixerService*> replacement{nullptr};

// Never destroyed: mixer objects that live until the program ends may still close their handles.
MixerService& alsaMixer() {
    static AlsaMixer* mixer = new AlsaMixer;
    return *mixer;
}

}  // namespace

MixerService& mixerService() {
    MixerService* installed = replacement.load();
    return installed ? *installed : alsaMixer();
}

void setMixerService(MixerService* service) { replacement.store(service); }

}  // namespace kelto::platform::mixer
