#pragma once
// Starting and releasing a tuner controller the way every owner of one does: the video driver
// library, then (for the viewer) RISC audio off so the hardware-control library takes its GPIO
// audio path, then the hardware-control library, the tuner data of the country, and open.
// Releasing closes it and unloads both libraries.
#include "channels/ChannelModel.h"
#include "channels/CTunerController.h"

#include <string_view>

namespace kelto {

enum class RiscAudio { SwitchOff, LeaveAsIs };

struct TunerStartResult {
    bool videoDriverLoaded = false;     // the video driver library and its required entry points
    bool hardwareLibraryLoaded = false; // the hardware-control library and its entry points
    bool complete() const { return videoDriverLoaded && hardwareLibraryLoaded; }
};

// A library that does not load (or lacks entry points) has been reported through the controller's
// message sink; the controller then skips what is missing.
TunerStartResult startTunerController(CTunerController& controller, ChannelModel& model, int countryCode,
                                      std::string_view countryFile, RiscAudio riscAudio);
void releaseTunerController(CTunerController& controller);

}  // namespace kelto
