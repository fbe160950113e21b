#pragma once
// What makes a widget a window of this program, shared by Window and Dialog: its one MessageMap,
// its timers, its findable platform window, and the routes into the map. Every way in ends as a
// window message dispatched through the map, then the window's default handling:
//   - a button with a control identifier: WM_COMMAND, low word the identifier, high word 0;
//   - a menu item built from a menu resource: WM_COMMAND, high word 0;
//   - a key of the window's accelerator table: WM_COMMAND, high word 1 (before any control sees it);
//   - a message from another process, through the platform window.
#include "framework/AcceleratorKeys.h"
#include "framework/MessageMap.h"
#include "framework/PlatformWindow.h"
#include "framework/WindowTimers.h"

#include <QObject>

#include <memory>
#include <optional>
#include <string_view>

class QMenu;
class QWidget;

namespace kelto::framework {

class WindowWiring final : public QObject {
public:
    using Fallback = PlatformWindow::Fallback;
    static constexpr std::uint16_t kFromMenuOrButton = 0;
    static constexpr std::uint16_t kFromAccelerator = 1;

    // `fallback` is the window's default handling of what its map does not take.
    WindowWiring(QWidget& window, Fallback fallback);
    ~WindowWiring() override;

    MessageMap& map() { return map_; }
    WindowTimers& timers() { return timers_; }

    // Makes the window findable by class and title; false when the window system refuses.
    bool createPlatformWindow(std::string_view className, std::string_view title,
                              platform::WindowSystem& system = platform::WindowSystem::instance());
    PlatformWindow* platformWindow() const { return platformWindow_.get(); }
    platform::WindowHandle handle() const { return platformWindow_ ? platformWindow_->handle() : platform::WindowHandle{}; }

    // Routes the clicks of every button below the window that has a control identifier (once each).
    void bindButtons();
    // Loads accelerator table `tableId` in the current language; false when there is none.
    bool loadAccelerators(int tableId);
    void setAccelerators(AcceleratorKeys keys);
    // Builds pop-up `popupIndex` of menu resource `menuId`; its items send their commands here.
    // Null when the menu or the pop-up does not exist. The menu belongs to `parent`.
    QMenu* buildPopupMenu(int menuId, int popupIndex, QWidget* parent);
    // The same for the pop-up with the caption (as the menus file spells it, "CONTEXT").
    QMenu* buildPopupMenu(int menuId, std::string_view popupText, QWidget* parent);

    // Runs a message through the map, then the default handling.
    std::int64_t dispatch(const platform::WindowMessage& message);
    std::int64_t sendCommand(int commandId, std::uint16_t source = kFromMenuOrButton);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool ownsKeysOf(QObject* receiver) const;

    QWidget& window_;
    Fallback fallback_;
    MessageMap map_;
    WindowTimers timers_{map_};
    AcceleratorKeys accelerators_;
    bool filtering_ = false;
    std::unique_ptr<PlatformWindow> platformWindow_;
};

}  // namespace kelto::framework
