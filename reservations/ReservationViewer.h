#pragma once
// What the reservation engine needs of the TV viewer, as the tray agent reaches it through the
// process-wide pointer to the open viewer. The agent implements it over the viewer window; tests
// implement it in memory. Every call is made on the user-interface thread.
#include "settings/VideoMode.h"
#include "settings/ChannelTypes.h"

#include <string>

namespace kelto {

// The capture window's recording set-up as the motion-capture settings keep it
// ("framerate", "timelimitcheck", "totalsecond", "captureaudio").
struct RecordingSetup {
    int frameRate = 15;
    int limitOn = 0;  // 1 when the recording stops at limitSeconds
    int limitSeconds = 0;
    int captureAudio = 0;
    bool operator==(const RecordingSetup&) const = default;
};

// The switching and recording operations of an open viewer: what the scheduler asks of it.
// The viewer window implements them; the agent forwards them to the open viewer.
class ViewerControls {
public:
    virtual ~ViewerControls() = default;

    // --- switching; called only while a viewer is open.
    virtual VideoMode videoMode() const = 0;
    virtual void setVideoMode(VideoMode mode) = 0;
    virtual int currentChannel() const = 0;
    // Tunes the channel of the current band and shows it on the on-screen display.
    virtual void tuneChannel(int channel) = 0;
    // The viewer's country code; 86 numbers channels by their position in the registered list.
    virtual int countryCode() const = 0;
    // The registered channels of the broadcast (TV) or cable (CATV) band.
    virtual RegisteredList registeredList(VideoMode mode) const = 0;
    virtual ChannelBounds channelBounds() const = 0;

    // --- recording; called only while a viewer is open.
    virtual RecordingSetup recordingSetup() = 0;
    virtual void setRecordingSetup(const RecordingSetup& setup) = 0;
    // The next free numbered file for the current recording type, folder and stem.
    virtual std::string nextRecordingFileName() = 0;
    // Records into file until the set-up's time limit or until the user aborts; blocks meanwhile.
    // True on success (a failure has been shown to the user already).
    virtual bool recordStream(const std::string& file) = 0;

    // --- a recording in progress. recordStream keeps the event loop running, so timers and
    // messages arrive while it records; nothing it uses may be switched or closed meanwhile.
    // True while recordStream runs.
    virtual bool recording() const { return false; }
    // Asks a running recording to end now; the file is finished as at its time limit, and
    // recordStream returns as for a complete recording.
    virtual void endRecording() {}
};

// The agent's side: is a viewer open, open one, close it; and, while one is open, its controls.
class ReservationViewer : public ViewerControls {
public:
    // --- the agent's side: is a viewer open, open one, close it.
    virtual bool isOpen() const = 0;
    // Opens the viewer without any question (nothing when one is open). True when a viewer is
    // open afterwards; a viewer that failed to initialise counts as not open.
    virtual bool open() = 0;
    // Sends the open viewer's window a close request (it saves its settings and closes);
    // nothing when none is open.
    virtual void requestClose() = 0;
};

}  // namespace kelto
