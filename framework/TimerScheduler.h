#pragma once
// Where window timers get their ticks: the event loop's timers in the program, virtual time in
// tests. The process has one scheduler; tests install a VirtualTimerScheduler before they create
// windows, the way they install a VirtualClock.
#include <cstdint>
#include <functional>

namespace kelto::framework {

class TimerScheduler {
public:
    virtual ~TimerScheduler() = default;
    // Calls `fire` after periodMs, then every periodMs when repeating, until cancelled. The
    // answer names the schedule for cancel(); it is never 0.
    virtual std::uint64_t schedule(std::uint32_t periodMs, bool repeating, std::function<void()> fire) = 0;
    // Stops a schedule; unknown or finished ones are ignored.
    virtual void cancel(std::uint64_t schedule) = 0;
};

// The process-wide scheduler (the event loop's, unless one was installed); setTimerScheduler(nullptr)
// restores the event loop's. An installed scheduler must outlive the windows that use it.
TimerScheduler& timerScheduler();
void setTimerScheduler(TimerScheduler* replacement);

}  // namespace kelto::framework
