#include "framework/WindowTimers.h"

namespace kelto::framework {

WindowTimers::WindowTimers(const MessageMap& map, TimerScheduler& scheduler) : map_(map), scheduler_(scheduler) {}

WindowTimers::~WindowTimers() { killAll(); }

void WindowTimers::set(int timerId, std::uint32_t periodMs, Mode mode) {
    kill(timerId);
    const bool repeating = mode == Mode::Repeating;
    running_[timerId] = scheduler_.schedule(periodMs, repeating, [this, timerId, repeating] {
        if (!repeating) running_.erase(timerId);
        deliver(timerId);
    });
}

bool WindowTimers::kill(int timerId) {
    auto it = running_.find(timerId);
    if (it == running_.end()) return false;
    scheduler_.cancel(it->second);
    running_.erase(it);
    return true;
}

void WindowTimers::killAll() {
    for (const auto& [id, schedule] : running_) scheduler_.cancel(schedule);
    running_.clear();
}

void WindowTimers::deliver(int timerId) {
    platform::WindowMessage message;
    message.message = platform::WM_TIMER;
    message.wParam = std::uint64_t(timerId);
    map_.dispatch(message);
}

}  // namespace kelto::framework
