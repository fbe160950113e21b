#pragma once
// What the viewer window needs of the program that opens it: the window system, the sibling
// programs and the remote-control receiving window (both belong to the program's links with
// other programs), the about box and the reservation list, and the notices of its closing and of
// a recording's end.
#include "framework/RemoteReceiver.h"
#include "platform/WindowSystem.h"

#include <memory>

class QWidget;

namespace kelto {

class ViewerWindow;

class ViewerHost {
public:
    virtual ~ViewerHost() = default;
    virtual platform::WindowSystem& windowSystem() = 0;
    // Before the viewer's initialisation: closes the sibling programs and makes the viewer's
    // remote-control receiving window, registered with the remote-controller program.
    virtual void closeSiblingPrograms() = 0;
    virtual std::unique_ptr<framework::RemoteReceiver> createRemoteReceivingWindow() = 0;
    virtual void showAboutBox(QWidget* parent) = 0;
    virtual void openReservationList() = 0;
    // The viewer has closed and is being destroyed.
    virtual void viewerClosed(ViewerWindow* viewer) = 0;
    // A recording of the viewer has ended (still inside the call that recorded).
    virtual void recordingEnded() = 0;
};

}  // namespace kelto
