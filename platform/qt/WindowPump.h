#pragma once
// Connects the window system to a Qt event loop: whenever messages wait, they are dispatched on
// the thread that owns this object (the user-interface thread).
#include <QObject>

class QSocketNotifier;

namespace kelto::platform {

class WindowSystem;

class WindowPump : public QObject {
    Q_OBJECT
public:
    explicit WindowPump(WindowSystem& system, QObject* parent = nullptr);

private:
    WindowSystem& system_;
    QSocketNotifier* notifier_;
};

}  // namespace kelto::platform
