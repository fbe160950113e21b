#pragma once
// The on-screen remote keypad window (dialog 141, "Kelto Remote TV "): 120 by 180 pixels, no
// caption, a window of its own with its own task-bar entry, placed near the desktop's
// bottom-right corner. It paints RemoteKeypad's state and forwards to it: presses, moves and
// releases of the mouse (a press beside the keys moves the keypad), the keys of the keyboard,
// the commands of its hidden buttons, and its close request (the restore). Its one message map
// takes the commands and WM_CLOSE; the viewer reaches it through KeypadSink.
#include "framework/AcceleratorKeys.h"
#include "framework/Dialog.h"
#include "viewer/keypad/RemoteKeypad.h"

#include <optional>

namespace kelto::viewer {

class CRemoteKeypadDlg final : public framework::Dialog, public KeypadSink {
public:
    static constexpr int kResourceId = 141;
    static constexpr int kViewerAcceleratorTable = 390;
    // The client area ends this far from the desktop's right and bottom edges.
    static constexpr int kRightMarginPx = 30;
    static constexpr int kBottomMarginPx = 80;

    // tooltipsOn: whether the user wants tooltips (the viewer's setting).
    CRemoteKeypadDlg(ViewerSession& session, KeypadViewerSide& viewer, std::function<bool()> tooltipsOn);
    ~CRemoteKeypadDlg() override;

    RemoteKeypad& keypad() { return keypad_; }
    const RemoteKeypad& keypad() const { return keypad_; }

    // --- KeypadSink: what the viewer hands on while the keypad is open.
    void showChannelNumber(int number) override;
    void refresh() override;
    void passOn(std::uint32_t message, std::uint64_t wParam) override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;

private:
    void buildMessageMap();
    void placeAtDesktopCorner();
    void routeKey(QKeyEvent* event, bool down);

    RemoteKeypad keypad_;
    std::function<bool()> tooltipsOn_;
    framework::AcceleratorKeys viewerKeys_;
    // A press beside the keys drags the keypad: where in the keypad the pointer took hold.
    std::optional<QPoint> dragOffset_;
};

}  // namespace kelto::viewer
