#pragma once
// A plain window of the program (the base of the viewer and the other top-level windows): one
// message table for everything that reaches it, its timers, and, on request, a platform window
// other processes find. Default handling: WM_CLOSE closes the widget.
#include "framework/WindowWiring.h"

#include <QWidget>

namespace kelto::framework {

class Window : public QWidget {
public:
    explicit Window(QWidget* parent = nullptr, Qt::WindowFlags flags = {});
    ~Window() override;

    MessageMap& messageMap() { return wiring_.map(); }
    WindowTimers& timers() { return wiring_.timers(); }
    WindowWiring& wiring() { return wiring_; }
    platform::WindowHandle windowHandle() const { return wiring_.handle(); }

protected:
    // What the map does not take; the base closes the window on WM_CLOSE and answers 0.
    virtual std::int64_t defaultHandling(const platform::WindowMessage& message);

private:
    WindowWiring wiring_;
};

}  // namespace kelto::framework
