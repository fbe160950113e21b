#include "platform/qt/WindowPump.h"

#include "platform/WindowSystem.h"

#include <QSocketNotifier>

namespace kelto::platform {

WindowPump::WindowPump(WindowSystem& system, QObject* parent)
    : QObject(parent), system_(system), notifier_(new QSocketNotifier(system.pollFd(), QSocketNotifier::Read, this)) {
    connect(notifier_, &QSocketNotifier::activated, this, [this] { system_.dispatchPending(); });
}

}  // namespace kelto::platform
