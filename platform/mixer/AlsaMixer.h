#pragma once
// The system mixer over ALSA's simple-mixer interface.
//
// Device 0 is ALSA's "default" control device; device n (n >= 1) is the n-th further sound card.
// Each open device has one destination, the speakers (component type 4). Its own controls are
// those of the main playback element ("Master", else the first element with a playback volume);
// every other element with a playback volume or playback switch is one of its source lines
// ("PCM", "Line", "CD", "Mic" ...), with a component type chosen by the element's name. A
// playback volume becomes a volume control (its raw range as minimum and maximum, one value per
// channel, uniform when the channels are joined); a playback switch becomes a mute control
// (1 = muted, the inverse of ALSA's switch). A device without any playback volume does not open.
//
// Changes made by any program reach the handle's target as notifications when the user-interface
// thread calls dispatchPending (ALSA's poll descriptors say when): a changed switch queues a
// line change for its line and a control change for its mute control, a changed volume a control
// change for its volume control.
#include "platform/mixer/MixerService.h"

#include <map>
#include <memory>
#include <mutex>

namespace kelto::platform::mixer {

class AlsaMixer final : public MixerService {
public:
    AlsaMixer();
    ~AlsaMixer() override;

    std::uint32_t deviceCount() override;
    MixerResult open(std::uint32_t deviceId, MixerNotificationTarget* target, std::uint32_t openFlags,
                     MixerHandle& handle) override;
    MixerResult close(MixerHandle handle) override;
    MixerResult getCaps(MixerHandle handle, MixerCaps& caps) override;
    MixerResult getLineInfo(MixerHandle handle, LineInfoQuery query, MixerLine& line) override;
    MixerResult getLineControl(MixerHandle handle, std::uint32_t lineId, LineControlsQuery query,
                               std::uint32_t idOrType, MixerControl& control) override;
    MixerResult getControlDetails(MixerHandle handle, MixerControlDetails& details) override;
    MixerResult setControlDetails(MixerHandle handle, const MixerControlDetails& details) override;
    std::vector<pollfd> pollDescriptors(MixerHandle handle) override;
    void dispatchPending(MixerHandle handle) override;

    // The component type a playback element of this name stands for (a source type).
    static std::uint32_t sourceTypeForElementName(std::string_view elementName);

    struct Device;  // one open mixer (defined in the source)

private:
    Device* find(MixerHandle handle);  // mutex_ held

    std::mutex mutex_;
    std::map<MixerHandle, std::unique_ptr<Device>> devices_;
    MixerHandle nextHandle_ = 0x2000;
};

}  // namespace kelto::platform::mixer
