#pragma once
// The viewer's side of the on-screen keypad: opens it (command 1052, or desktop TV through that
// command), brings it forward when it is open already, hands it what the session shows while it
// is open (KeypadSink), and carries out what the keypad asks of the viewer window: keys and
// commands for the viewer, and the end of the restore, after which the keypad goes.
#include "viewer/core/ViewerPorts.h"
#include "viewer/core/ViewerSession.h"
#include "viewer/keypad/CRemoteKeypadDlg.h"
#include "viewer/keypad/RemoteKeypad.h"

#include <QPointer>

#include <functional>

class QWidget;

namespace kelto::viewer {

class ViewerKeypad final : public KeypadSink, private KeypadViewerSide {
public:
    struct ViewerSide {
        QWidget* window = nullptr;  // the viewer window: keys for it are posted here
        std::function<ViewerSession*()> session;
        std::function<void(int command, bool fromAccelerator)> sendCommand;
        std::function<void(int command)> postCommand;
        std::function<bool()> desktopTvOn;
        std::function<bool()> maximised;
        std::function<bool()> tooltipsOn;
        // The companion flag: the keypad counts as open (true) or not.
        std::function<void(bool open)> setKeypadOpen;
        // The viewer gives up its panel strip while the keypad is open, and takes it back.
        std::function<void(bool open)> fitPanelToKeypad;
    };
    explicit ViewerKeypad(ViewerSide side);
    ~ViewerKeypad() override;

    // Opens the keypad, or brings it forward when it is open already.
    void open();
    bool isOpen() const { return !dialog_.isNull(); }
    // The keypad window while it is open (null otherwise).
    CRemoteKeypadDlg* window() const { return dialog_; }
    // Destroys the keypad without its restore (the viewer is closing).
    void destroy();

    // --- KeypadSink: to the open keypad; nothing while it is closed.
    void showChannelNumber(int number) override;
    void refresh() override;
    void passOn(std::uint32_t message, std::uint64_t wParam) override;

private:
    // --- KeypadViewerSide
    void postKeyToViewer(bool down, Qt::Key key, Qt::KeyboardModifiers modifiers) override;
    void sendCommandToViewer(int commandId, bool fromAccelerator) override;
    void postCommandToViewer(int commandId) override;
    bool desktopTvOn() const override;
    bool viewerHidden() const override;
    bool viewerMaximised() const override;
    void keypadClosing() override;
    void keypadClosed() override;
    void minimiseKeypad() override;

    ViewerSide side_;
    QPointer<CRemoteKeypadDlg> dialog_;
};

}  // namespace kelto::viewer
