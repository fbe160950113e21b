#pragma once
// What the rest of the program may ask of the open viewer window, and the process-wide pointer
// to it (null while no viewer is open). The tray agent, the scheduler and the remote-control
// forwarding windows reach the viewer only through this pointer.
#include "platform/WindowSystem.h"
#include "reservations/ReservationViewer.h"

namespace kelto {

// The switching and recording operations are the ones the reservation scheduler uses
// (ReservationViewer); the agent forwards them to the open viewer.
class ViewerWindow {
public:
    virtual ~ViewerWindow() = default;
    // The viewer's findable window ("Kelto TV"); messages for the viewer go there.
    virtual platform::WindowHandle windowHandle() const = 0;
    // Brings the viewer to the front.
    virtual void activate() = 0;
    // Set when the remote controller's command 101 closed the viewer.
    virtual bool closedByRemote() const = 0;
    virtual void setClosedByRemote() = 0;

    virtual VideoMode videoMode() const = 0;
    virtual void setVideoMode(VideoMode mode) = 0;
    virtual int currentChannel() const = 0;
    virtual void tuneChannel(int channel) = 0;
    virtual int countryCode() const = 0;
    virtual RegisteredList registeredList(VideoMode mode) const = 0;
    virtual ChannelBounds channelBounds() const = 0;
    virtual RecordingSetup recordingSetup() = 0;
    virtual void setRecordingSetup(const RecordingSetup& setup) = 0;
    virtual std::string nextRecordingFileName() = 0;
    virtual bool recordStream(const std::string& file) = 0;
};

ViewerWindow* currentViewer();
void setCurrentViewer(ViewerWindow* viewer);

}  // namespace kelto
