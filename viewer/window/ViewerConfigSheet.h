#pragma once
// The viewer's side of the configuration sheet: opens it (command 1007, or at its multi-screen
// page when the multi-screen view has no channels), and gives the viewer window back what it
// lent the sheet once the sheet is gone: the panel's height, full screen left, always on top.
#include "viewer/config/CEnvironmentSheet.h"

#include <QMetaObject>
#include <QPointer>

#include <functional>

class QWidget;

namespace kelto::viewer {

class ViewerConfigSheet {
public:
    struct ViewerSide {
        QWidget* window = nullptr;  // the owner of the sheet
        std::function<config::SheetViewer*()> viewer;
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
    explicit ViewerConfigSheet(ViewerSide side);
    ~ViewerConfigSheet();

    // Opens the sheet; when it is open already it is only brought forward.
    void open(bool atMultiScreen);
    bool isOpen() const { return !sheet_.isNull(); }
    config::CEnvironmentSheet* sheet() const { return sheet_; }
    // The viewer is closing: the sheet goes now (its pages hand over what they keep), without
    // the steps that give the window back.
    void destroy();

private:
    void sheetDestroyed();

    ViewerSide side_;
    QPointer<config::CEnvironmentSheet> sheet_;
    QMetaObject::Connection destroyed_;
    // Whether opening took the panel's height from the window (a maximised window keeps its size).
    bool shrunk_ = false;
};

}  // namespace kelto::viewer
