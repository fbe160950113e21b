#pragma once
// What the viewer window lends a sheet (the configuration sheet, the capture sheet) while it is
// open, and gets back once the sheet is gone: always on top (given up), the panel's 60 pixels
// (the panel hides while a sheet is open), and full screen (left when the sheet goes).
#include <QRect>

#include <functional>

class QWidget;

namespace kelto::viewer {

class SheetWindowChanges {
public:
    struct ViewerSide {
        QWidget* window = nullptr;  // the owner of the sheet
        // The companion flag: the sheet counts as open (true) or not.
        std::function<void(bool open)> setSheetOpen;
        // The viewer's always-on-top setting, and its window made topmost or not.
        std::function<bool()> alwaysOnTop;
        std::function<void(bool topmost)> setTopmost;
        std::function<bool()> maximised;
        // Leaves full screen through the viewer's own toggle; the normal window then gets
        // `extraHeight` pixels more than it had.
        std::function<void(int extraHeight)> leaveMaximised;
        // Makes the window taller (or shorter, negative) and lays it out again.
        std::function<void(int pixels)> growWindow;
        // The desktop's rectangle (without panels) on the viewer's screen.
        std::function<QRect()> desktop;
    };
    explicit SheetWindowChanges(ViewerSide side) : side_(std::move(side)) {}

    const ViewerSide& side() const { return side_; }
    // A sheet opens: the window gives up being topmost and its panel's room.
    void sheetOpened();
    // The sheet is gone: the window gets back what it gave, and leaves full screen.
    void sheetClosed();
    // The viewer is closing: only the companion flag goes.
    void sheetDestroyedWithViewer();

private:
    ViewerSide side_;
    // Whether opening took the panel's height from the window (a maximised window keeps its size).
    bool shrunk_ = false;
};

}  // namespace kelto::viewer
