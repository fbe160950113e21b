#pragma once
// The viewer's side of the configuration sheet: opens it (command 1007, or at its multi-screen
// page when the multi-screen view has no channels), and gives the viewer window back what it
// lent the sheet once the sheet is gone: the panel's height, full screen left, always on top.
#include "viewer/config/CEnvironmentSheet.h"
#include "viewer/window/SheetWindowChanges.h"

#include <QMetaObject>
#include <QPointer>

#include <functional>

class QWidget;

namespace kelto::viewer {

class ViewerConfigSheet {
public:
    struct ViewerSide {
        SheetWindowChanges::ViewerSide window;
        std::function<config::SheetViewer*()> viewer;
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

    std::function<config::SheetViewer*()> viewer_;
    SheetWindowChanges window_;
    QPointer<config::CEnvironmentSheet> sheet_;
    QMetaObject::Connection destroyed_;
};

}  // namespace kelto::viewer
