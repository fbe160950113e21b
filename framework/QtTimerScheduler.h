#pragma once
// The event loop's timers: one QTimer per schedule, on the thread that schedules (the
// user-interface thread).
#include "framework/TimerScheduler.h"

#include <map>
#include <memory>

class QTimer;

namespace kelto::framework {

class QtTimerScheduler final : public TimerScheduler {
public:
    QtTimerScheduler();
    ~QtTimerScheduler() override;
    std::uint64_t schedule(std::uint32_t periodMs, bool repeating, std::function<void()> fire) override;
    void cancel(std::uint64_t schedule) override;

private:
    std::uint64_t next_ = 1;
    std::map<std::uint64_t, std::unique_ptr<QTimer>> timers_;
};

}  // namespace kelto::framework
