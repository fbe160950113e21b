#pragma once
// What the on-screen remote keypad does, without widgets: which key is held down and whether it
// is drawn pressed, what a release inside a key does, what the keypad shows of the viewer (video
// mode, channel number, mute, volume), how a key of the keyboard is routed, and the restore that
// closes the keypad. The keypad window paints this state and forwards its mouse and keys here;
// tests drive it with a fake viewer.
#include "viewer/core/ViewerPorts.h"
#include "viewer/core/ViewerSession.h"
#include "viewer/keypad/KeypadLayout.h"

#include <QPoint>
#include <Qt>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace kelto::viewer {

// What the keypad needs of the viewer window beyond its session.
class KeypadViewerSide {
public:
    virtual ~KeypadViewerSide() = default;
    // A key press (or release) handed to the viewer window as if it had been typed there; its
    // accelerators turn it into a command.
    virtual void postKeyToViewer(bool down, Qt::Key key, Qt::KeyboardModifiers modifiers) = 0;
    // A command run in the viewer window now (fromAccelerator: it came from a key).
    virtual void sendCommandToViewer(int commandId, bool fromAccelerator) = 0;
    // A command posted to the viewer window, run once the keypad's own work is done.
    virtual void postCommandToViewer(int commandId) = 0;
    // Desktop TV is on; the viewer window is hidden; the viewer is maximised (full screen).
    virtual bool desktopTvOn() const = 0;
    virtual bool viewerHidden() const = 0;
    virtual bool viewerMaximised() const = 0;
    // The restore begins: the viewer no longer counts the keypad as open.
    virtual void keypadClosing() = 0;
    // The restore has run: the viewer takes its panel back and lets the keypad go.
    virtual void keypadClosed() = 0;
    // Minimises the keypad window.
    virtual void minimiseKeypad() = 0;
};

// What the keypad shows.
struct KeypadView {
    VideoMode videoMode = VideoMode::TV;
    int channelNumber = 0;  // the displayed number: a channel, a list position or a number being typed
    bool muted = false;
    int volumeStep = 16;
    std::array<bool, kKeypadRegionCount> drawnPressed{};
    bool isDrawnPressed(KeypadRegion region) const { return drawnPressed[std::size_t(index(region))]; }
};

// How a key of the keyboard was routed.
enum class KeypadKeyRoute {
    ViewerCommand,  // translated with the viewer's accelerators (the viewer is hidden)
    Swallowed,      // Esc and F10
    PostedToViewer,
};

class RemoteKeypad final : public KeypadSink {
public:
    // The desktop TV command; on the keypad it is the restore, as its close request is.
    static constexpr int kDesktopTvCommand = 32790;
    static constexpr int kFullScreenCommand = 32779;

    RemoteKeypad(ViewerSession& session, KeypadViewerSide& viewer);

    const KeypadView& view() const { return view_; }
    // Takes the mode, the displayed number, the mute state and the volume from the session.
    void refreshFromSession();

    // --- mouse. A press in a key holds it (true: the keypad captures the mouse); a press
    // elsewhere starts moving the keypad (false).
    bool press(QPoint at);
    // The pointer moved with the button down: the held key is drawn pressed while it is under it.
    void move(QPoint at);
    // The button went up: the held key under the pointer acts; every key is let go.
    void release(QPoint at);
    bool holding() const { return held_.has_value(); }

    // The action of a key (also the hidden buttons' commands).
    void act(KeypadRegion region);
    // Closes the keypad: ends desktop TV, leaves full screen, gives the viewer its panel back.
    void restore();

    // --- keyboard: a key press or release on the keypad. acceleratorCommand: the command the
    // viewer's accelerator table gives the key, if any.
    KeypadKeyRoute key(bool down, Qt::Key key, Qt::KeyboardModifiers modifiers, std::optional<int> acceleratorCommand);

    // --- KeypadSink (the viewer's side)
    void showChannelNumber(int number) override;
    void refresh() override;
    // Characters and the remote's mute and previous-channel messages: kept, nothing done.
    void passOn(std::uint32_t message, std::uint64_t wParam) override;
    struct PassedOn {
        std::uint32_t message;
        std::uint64_t wParam;
        bool operator==(const PassedOn&) const = default;
    };
    static constexpr std::size_t kKeptPassedOn = 64;
    const std::vector<PassedOn>& passedOn() const { return passed_; }

private:
    void stepNumber(int delta);
    void setDrawnPressed(std::optional<KeypadRegion> region);

    ViewerSession& session_;
    KeypadViewerSide& viewer_;
    KeypadView view_;
    std::optional<KeypadRegion> held_;
    bool restored_ = false;
    std::vector<PassedOn> passed_;
};

}  // namespace kelto::viewer
