#pragma once
// Time as the program sees it: the millisecond tick count, waits on it, and the wall clock.
// Everything that waits or reads the time goes through the process-wide clock, so tests install
// a VirtualClock and advance time instead of sleeping.
#include <chrono>
#include <cstdint>
#include <mutex>

namespace kelto::platform {

class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds since an arbitrary start; wraps around at 2^32 like the tick count it stands for.
    virtual std::uint32_t tickCountMs() = 0;
    // Blocks the calling thread until the tick count has advanced by periodMs.
    virtual void busyWaitMs(std::uint32_t periodMs) = 0;
    // Lets the thread sleep for periodMs (a plain sleep, not a busy wait).
    virtual void sleepMs(std::uint32_t periodMs) = 0;
    // Wall-clock time (seconds since the epoch, UTC); callers convert to local time.
    virtual std::chrono::system_clock::time_point now() = 0;
};

// The machine's clock: monotonic ticks, real waits.
class SystemClock final : public Clock {
public:
    std::uint32_t tickCountMs() override;
    void busyWaitMs(std::uint32_t periodMs) override;
    void sleepMs(std::uint32_t periodMs) override;
    std::chrono::system_clock::time_point now() override;
};

// A clock for tests: time stands still until advanced; waits advance it at once.
class VirtualClock final : public Clock {
public:
    explicit VirtualClock(std::chrono::system_clock::time_point start = {}, std::uint32_t startTickMs = 0);
    std::uint32_t tickCountMs() override;
    void busyWaitMs(std::uint32_t periodMs) override;
    void sleepMs(std::uint32_t periodMs) override;
    std::chrono::system_clock::time_point now() override;

    void advanceMs(std::uint64_t periodMs);
    void setNow(std::chrono::system_clock::time_point wallTime);

private:
    std::mutex mutex_;
    std::chrono::system_clock::time_point wall_;
    std::uint32_t tick_;
};

// The process-wide clock. setClock(nullptr) restores the system clock. The clock must outlive
// its installation.
Clock& clock();
void setClock(Clock* replacement);

// Shorthands for the process-wide clock.
inline std::uint32_t tickCountMs() { return clock().tickCountMs(); }
inline void busyWaitMs(std::uint32_t periodMs) { clock().busyWaitMs(periodMs); }

}  // namespace kelto::platform
