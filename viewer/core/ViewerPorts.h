#pragma once
// What the viewer session needs of the widgets around it: the on-screen display, the control
// panel, the on-screen keypad, the capture window's recording and the window's timers. The
// viewer window implements them over its widgets; tests implement them by recording the calls.
#include "settings/ColorTriple.h"
#include "settings/VideoMode.h"
#include "reservations/ReservationViewer.h"
#include "viewer/osd/OsdLayout.h"

#include <cstdint>
#include <string>

namespace kelto::viewer {

// One text of the on-screen display.
struct OsdText {
    std::string text;
    OsdAlign align = OsdAlign::Left;
    OsdEdge edge = OsdEdge::Top;
    ColorTriple color;
    // The session starts the window's display timer 24 for such a text and hides the display
    // when it expires; a text without it stays until replaced or hidden. The sink only paints.
    bool autoHide = true;
    int marginPx = 10;
    bool operator==(const OsdText&) const = default;
};

class OsdSink {
public:
    virtual ~OsdSink() = default;
    // Replaces what the display shows (nothing when the display window does not exist).
    virtual void ShowOsdText(const OsdText& text) = 0;
    virtual void hideOsd() = 0;
};

class PanelSink {
public:
    virtual ~PanelSink() = default;
    // The number in the panel's channel digits (a channel, a list position or a number being typed).
    virtual void showChannelNumber(int number) = 0;
    // The volume region and the volume slider.
    virtual void showVolumeStep(int step) = 0;
    virtual void showMute(bool muted) = 0;
    // The video-source region.
    virtual void showVideoMode(VideoMode mode) = 0;
};

// The on-screen keypad while it is open.
class KeypadSink {
public:
    virtual ~KeypadSink() = default;
    virtual void showChannelNumber(int number) = 0;
    // Mode, mute and volume changed: the keypad repaints what it shows of them.
    virtual void refresh() = 0;
    // A message or character the viewer hands on unchanged while the keypad is open.
    virtual void passOn(std::uint32_t message, std::uint64_t wParam) = 0;
};

// The capture window's side of recording, for the scheduler's operations.
class RecordingPort {
public:
    virtual ~RecordingPort() = default;
    virtual RecordingSetup recordingSetup() = 0;
    virtual void setRecordingSetup(const RecordingSetup& setup) = 0;
    // Records into file in the given recording type; true on success.
    virtual bool recordStream(const std::string& file, int streamFormat) = 0;
    virtual void stopRecording() = 0;
};

// The window's one-shot timers by identifier; the owner calls ViewerSession::onTimer when one
// expires. Starting a running timer restarts it.
class TimerHost {
public:
    virtual ~TimerHost() = default;
    virtual void startTimer(int timerId, std::uint32_t periodMs) = 0;
    virtual void stopTimer(int timerId) = 0;
};

// The companion windows whose being open changes what the viewer's operations do.
struct CompanionWindows {
    bool keypadOpen = false;
    bool configSheetOpen = false;
    bool captureSheetOpen = false;
    bool multiScreenOpen = false;
};

}  // namespace kelto::viewer
