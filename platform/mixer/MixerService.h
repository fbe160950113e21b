#pragma once
// The system mixer as a service: devices, their destination and source lines, the lines'
// controls, and control values, in the shape the mixer classes were written against.
//
// Threads: a handle belongs to the thread that opened it (the user-interface thread); every call
// on it, and dispatchPending, must come from that thread. Notifications are delivered only inside
// dispatchPending, on the calling thread, never from a thread of the service's own.
#include "platform/mixer/MixerTypes.h"

#include <poll.h>
#include <vector>

namespace kelto::platform::mixer {

// Receives the line-change (0x3D0) and control-change (0x3D1) messages of an open mixer; stands
// for the notification window. deviceHandle is the MixerHandle the message concerns, id the line
// or control identifier.
class MixerNotificationTarget {
public:
    virtual ~MixerNotificationTarget() = default;
    virtual void onMixerMessage(std::uint32_t message, std::uintptr_t deviceHandle, std::uintptr_t id) = 0;
};

class MixerService {
public:
    virtual ~MixerService() = default;

    // Number of mixer devices (0 when the machine has none).
    virtual std::uint32_t deviceCount() = 0;

    // Opens device deviceId. With kOpenCallbackWindow in openFlags and a target, changes made by any
    // program (this one included) are queued for the target; the target must outlive the handle.
    // On success handle receives a new non-zero handle.
    virtual MixerResult open(std::uint32_t deviceId, MixerNotificationTarget* target, std::uint32_t openFlags,
                             MixerHandle& handle) = 0;
    // Closes the handle; pending notifications are dropped.
    virtual MixerResult close(MixerHandle handle) = 0;

    virtual MixerResult getCaps(MixerHandle handle, MixerCaps& caps) = 0;

    // Fills line from the fields the query names (destination; destination and source; lineId).
    virtual MixerResult getLineInfo(MixerHandle handle, LineInfoQuery query, MixerLine& line) = 0;

    // One control of a line, found by control identifier or by control type.
    virtual MixerResult getLineControl(MixerHandle handle, std::uint32_t lineId, LineControlsQuery query,
                                       std::uint32_t idOrType, MixerControl& control) = 0;

    // Reads or writes the values details names; details.values must hold details.valueCount().
    virtual MixerResult getControlDetails(MixerHandle handle, MixerControlDetails& details) = 0;
    virtual MixerResult setControlDetails(MixerHandle handle, const MixerControlDetails& details) = 0;

    // Descriptors that become readable when notifications may be pending for the handle; the
    // user-interface thread watches them and calls dispatchPending when one is readable.
    virtual std::vector<pollfd> pollDescriptors(MixerHandle handle) = 0;
    // Collects the changes that arrived and delivers their messages to the handle's target, on the
    // calling thread. Never blocks.
    virtual void dispatchPending(MixerHandle handle) = 0;
};

// The process-wide mixer service: the ALSA mixer unless a replacement is installed.
// setMixerService(nullptr) restores the ALSA mixer; a replacement must outlive its installation.
MixerService& mixerService();
void setMixerService(MixerService* replacement);

}  // namespace kelto::platform::mixer
