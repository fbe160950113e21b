#pragma once
// The mouse over the live picture, watched on the picture widget: its cursor (227); while the
// viewer fills the screen, movement shows the cursor and a quiet 2000 ms hides it; a right press
// shows it before the context menu, a right release while the viewer is minimised hides it
// again; a left press belongs to the multi-screen view when that is open, else it moves the
// viewer as a caption drag would (cursor 239); a left double click asks for full screen.
// Everything the viewer decides (its state, the menu, the command) comes through ViewerSide.
#include "framework/WindowTimers.h"

#include <QObject>
#include <QPoint>

#include <functional>
#include <optional>

class QMouseEvent;
class QWidget;

namespace kelto::viewer {

class PictureMouse final : public QObject {
public:
    // The viewer's timer that waits for the mouse to rest.
    static constexpr int kHoverTimer = 44;
    static constexpr std::uint32_t kHoverPeriodMs = 2000;
    static constexpr int kPictureCursor = 227;
    static constexpr int kDragCursor = 239;

    struct ViewerSide {
        std::function<bool()> maximised;  // full screen
        std::function<bool()> minimised;
        std::function<bool()> multiScreenOpen;
        std::function<void(QPoint at)> pressOnMultiScreen;  // in picture coordinates
        std::function<void(QPoint global)> showContextMenu;
        std::function<void()> postFullScreenToggle;  // command 32779, through the event loop
    };
    // Starts a move of `window` by the window manager; false when the platform has none (the
    // window is then moved here, step by step).
    using SystemMove = std::function<bool(QWidget& window)>;

    // Watches `picture`, a child of `viewer`, whose timers carry the hover wait. It belongs to
    // the picture and goes with it, touching nothing else then (the viewer may be half gone): a
    // hover wait still running finds no PictureMouse and ends without effect.
    PictureMouse(QWidget& picture, QWidget& viewer, framework::WindowTimers& timers, ViewerSide side);

    // The hover wait ran out (the viewer's kHoverTimer).
    void hoverExpired();
    // After the viewer's size or state changed: a hidden cursor comes back unless the viewer is
    // maximised.
    void afterSizeChange();

    bool cursorHidden() const { return hidden_; }
    bool dragging() const { return drag_.has_value(); }
    // Replaces the window manager's move (tests; the default asks the platform).
    void setSystemMove(SystemMove move) { systemMove_ = std::move(move); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void pressed(const QMouseEvent& event);
    void released(const QMouseEvent& event);
    void moved(const QMouseEvent& event);
    void showCursor();
    void hideCursor();
    void applyCursor();

    struct Drag {
        QPoint pressGlobal;
        QPoint windowStart;
        bool byHand = false;
    };

    QWidget& picture_;
    QWidget& viewer_;
    framework::WindowTimers& timers_;
    ViewerSide side_;
    SystemMove systemMove_;
    bool hidden_ = false;
    std::optional<Drag> drag_;
};

}  // namespace kelto::viewer
