#include "framework/QtTimerScheduler.h"

#include <QTimer>

namespace kelto::framework {

QtTimerScheduler::QtTimerScheduler() = default;
QtTimerScheduler::~QtTimerScheduler() = default;

std::uint64_t QtTimerScheduler::schedule(std::uint32_t periodMs, bool repeating, std::function<void()> fire) {
    const std::uint64_t id = next_++;
    auto timer = std::make_unique<QTimer>();
    timer->setSingleShot(!repeating);
    timer->setTimerType(Qt::PreciseTimer);
    QObject::connect(timer.get(), &QTimer::timeout, [this, id, repeating, fire = std::move(fire)] {
        // A one-shot schedule ends before its call, so the call may schedule again.
        std::function<void()> call = fire;
        if (!repeating) cancel(id);
        call();
    });
    timer->start(int(periodMs));
    timers_[id] = std::move(timer);
    return id;
}

void QtTimerScheduler::cancel(std::uint64_t schedule) {
    auto it = timers_.find(schedule);
    if (it == timers_.end()) return;
    // The timer may be the one whose signal is running: let the event loop delete it.
    it->second->stop();
    it->second.release()->deleteLater();
    timers_.erase(it);
}

}  // namespace kelto::framework
