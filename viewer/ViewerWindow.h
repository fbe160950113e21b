#pragma once
// What the rest of the program may ask of the open viewer window, and the process-wide pointer
// to it (null while no viewer is open). The tray agent, the scheduler and the remote-control
// forwarding windows reach the viewer only through this pointer.
#include "platform/WindowSystem.h"
#include "reservations/ReservationViewer.h"

namespace kelto {

// The switching and recording operations (ViewerControls) are the ones the reservation
// scheduler uses; the agent forwards them to the open viewer.
class ViewerWindow : public ViewerControls {
public:
    // The viewer's findable window ("Kelto TV"); messages for the viewer go there.
    virtual platform::WindowHandle windowHandle() const = 0;
    // Brings the viewer to the front.
    virtual void activate() = 0;
    // Set when the remote controller's command 101 closed the viewer.
    virtual bool closedByRemote() const = 0;
    virtual void setClosedByRemote() = 0;
};

ViewerWindow* currentViewer();
void setCurrentViewer(ViewerWindow* viewer);

}  // namespace kelto
