#include "framework/TimerScheduler.h"

#include "framework/QtTimerScheduler.h"

namespace kelto::framework {

namespace {
TimerScheduler* installedScheduler = nullptr;
}

TimerScheduler& timerScheduler() {
    static QtTimerScheduler eventLoopTimers;
    return installedScheduler ? *installedScheduler : eventLoopTimers;
}

void setTimerScheduler(TimerScheduler* replacement) { installedScheduler = replacement; }

}  // namespace kelto::framework
