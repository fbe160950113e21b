#pragma once
// What the multi-screen view reaches of the viewer window that opened it. The viewer implements
// it; every call comes from the user-interface thread (the view's worker queues its requests
// there).
#include "settings/VideoMode.h"
#include "settings/ViewerSettings.h"
#include "viewer/multiscreen/MultiScreenLayout.h"

#include <QSize>

class QWidget;

namespace kelto::capture {
class CCaptureWindow;
}

namespace kelto::viewer::multiscreen {

class MultiScreenViewer {
public:
    virtual ~MultiScreenViewer() = default;

    virtual QWidget* viewerWidget() = 0;
    virtual VideoMode videoMode() const = 0;
    // The grid size the user chose (4, 9 or 16) and the slots of both bands (1..16, 0 = empty).
    virtual int multiScreenCells() const = 0;
    virtual const Slots& broadcastSlots() const = 0;
    virtual const Slots& cableSlots() const = 0;
    // Country code 86 numbers channels by their position in the band's registered list.
    virtual int countryCode() const = 0;
    virtual RegisteredList registeredList(VideoMode mode) const = 0;
    // The channel now tuned in the current band.
    virtual int currentChannel() const = 0;
    // Tunes a channel of the current band like every tuning of the viewer.
    virtual void TuneChannel(int channel, bool showDisplay) = 0;
    // Mutes or unmutes the card's audio only, leaving the mixer alone.
    virtual void muteCardAudio(bool muted) = 0;
    virtual capture::CCaptureWindow& captureWindow() = 0;
    // The view has given the capture window back (overlay on, preview off): the viewer takes it
    // into its client area again, restores the picture's frame size, lets the card settle 100 ms,
    // tunes `exitChannel` with the display, clears its multi-screen mark, unmutes and shows
    // itself. The view is gone after this call returns.
    virtual void multiScreenClosed(int exitChannel, QSize frameSize) = 0;
};

}  // namespace kelto::viewer::multiscreen
