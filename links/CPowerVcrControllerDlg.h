#pragma once
// The recorder controller window (dialog 293, "Kelto PowerVCR Controller"): 150 by 90 pixels
// without a caption, opened by the tray agent while the recorder program runs. It paints
// PowerVcrController's state and forwards to it: its three keys (the mouse on their rectangles,
// their hidden buttons 1119 next, 1120 previous, 1224 mode) and the Up and Down keys. A press
// beside the keys drags the window. Escape, the desktop's close request and WM_CLOSE close it:
// the current channels and mode are saved and the tuner is released.
//
// Timer 1 (1000 ms) looks for the recorder's window and lights the lamp while it exists.
#include "framework/Dialog.h"
#include "links/PowerVcrController.h"
#include "links/PowerVcrKeys.h"
#include "links/PowerVcrPainter.h"

#include <optional>

namespace kelto {

class CPowerVcrControllerDlg final : public framework::Dialog, private HardwareMessageSink {
public:
    static constexpr int kResourceId = 293;
    static constexpr const char* kTitle = "Kelto PowerVCR Controller";
    static constexpr int kNextButton = 1119;
    static constexpr int kPreviousButton = 1120;
    static constexpr int kModeButton = 1224;
    static constexpr int kLampTimer = 1;
    static constexpr std::uint32_t kLampPeriodMs = 1000;

    explicit CPowerVcrControllerDlg(platform::WindowSystem& system = platform::WindowSystem::instance());
    ~CPowerVcrControllerDlg() override;

    // Starts the controller (the window opens also when the tuner does not start), makes the
    // window findable, 150 by 90 where it is, and brings it to the top.
    void initialise();
    // Saves, releases the tuner and lets the window go (deleted from the event loop).
    void closeController();
    bool closing() const { return controller_.closed(); }

    PowerVcrController& controller() { return controller_; }
    VcrView view() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void showHardwareMessage(int stringId, const std::string& text, const std::string& caption) override;
    void buildMessageMap();
    void act(VcrKey key);

    platform::WindowSystem& system_;
    SettingsStore store_;
    PowerVcrController controller_;
    VcrKeyPress keys_;
    bool lampLit_ = false;
    std::optional<QPoint> dragOffset_;
};

}  // namespace kelto
