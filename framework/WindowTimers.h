#pragma once
// A window's timers by identifier: set starts (or restarts) the timer with that identifier,
// kill stops it; each expiry reaches the window's MessageMap as WM_TIMER with the identifier
// as first parameter, like every other message. One-shot timers end before their message is
// handled, so the handler may set them again.
#include "framework/MessageMap.h"
#include "framework/TimerScheduler.h"

#include <map>

namespace kelto::framework {

class WindowTimers {
public:
    enum class Mode { Repeating, OneShot };

    // Timers of the window whose table is `map`, scheduled on the process-wide scheduler.
    explicit WindowTimers(const MessageMap& map, TimerScheduler& scheduler = timerScheduler());
    ~WindowTimers();  // kills every timer
    WindowTimers(const WindowTimers&) = delete;
    WindowTimers& operator=(const WindowTimers&) = delete;

    void set(int timerId, std::uint32_t periodMs, Mode mode = Mode::Repeating);
    // False when no timer with that identifier ran.
    bool kill(int timerId);
    void killAll();
    bool isSet(int timerId) const { return running_.count(timerId) > 0; }

private:
    void deliver(int timerId);

    const MessageMap& map_;
    TimerScheduler& scheduler_;
    std::map<int, std::uint64_t> running_;  // identifier -> schedule
};

}  // namespace kelto::framework
