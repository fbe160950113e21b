#pragma once
// Window timers in virtual time, for tests: nothing fires until the test advances time; then
// every schedule that falls due fires in order of its due time, with the virtual clock standing
// at that moment, so code that reads platform::clock() in its handler sees the right time.
#include "framework/TimerScheduler.h"
#include "platform/Clock.h"

#include <map>

namespace kelto::framework {

class VirtualTimerScheduler final : public TimerScheduler {
public:
    explicit VirtualTimerScheduler(platform::VirtualClock& clock) : clock_(clock) {}
    std::uint64_t schedule(std::uint32_t periodMs, bool repeating, std::function<void()> fire) override;
    void cancel(std::uint64_t schedule) override;

    // Moves the clock forward by periodMs, firing what falls due on the way.
    void advanceMs(std::uint64_t periodMs);
    std::size_t pending() const { return entries_.size(); }

private:
    struct Entry {
        std::uint64_t dueMs;
        std::uint32_t periodMs;
        bool repeating;
        std::function<void()> fire;
    };
    platform::VirtualClock& clock_;
    std::uint64_t nowMs_ = 0;  // virtual time since construction
    std::uint64_t next_ = 1;
    std::map<std::uint64_t, Entry> entries_;
};

}  // namespace kelto::framework
