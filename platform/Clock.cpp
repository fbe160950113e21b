#include "platform/Clock.h"

#include <atomic>
#include <thread>
#include <time.h>

namespace kelto::platform {

std::uint32_t SystemClock::tickCountMs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    const std::uint64_t ms = std::uint64_t(ts.tv_sec) * 1000u + std::uint64_t(ts.tv_nsec) / 1000000u;
    return static_cast<std::uint32_t>(ms);
}

void SystemClock::busyWaitMs(std::uint32_t periodMs) {
    const std::uint32_t start = tickCountMs();
    // Polls the tick count like the original busy wait, but yields the core between polls.
    while (tickCountMs() - start < periodMs) std::this_thread::sleep_for(std::chrono::microseconds(200));
}

void SystemClock::sleepMs(std::uint32_t periodMs) {
    std::this_thread::sleep_for(std::chrono::milliseconds(periodMs));
}

std::chrono::system_clock::time_point SystemClock::now() { return std::chrono::system_clock::now(); }

VirtualClock::VirtualClock(std::chrono::system_clock::time_point start, std::uint32_t startTickMs)
    : wall_(start), tick_(startTickMs) {}

std::uint32_t VirtualClock::tickCountMs() {
    std::lock_guard lock(mutex_);
    return tick_;
}

void VirtualClock::busyWaitMs(std::uint32_t periodMs) { advanceMs(periodMs); }
void VirtualClock::sleepMs(std::uint32_t periodMs) { advanceMs(periodMs); }

std::chrono::system_clock::time_point VirtualClock::now() {
    std::lock_guard lock(mutex_);
    return wall_;
}

void VirtualClock::advanceMs(std::uint64_t periodMs) {
    std::lock_guard lock(mutex_);
    tick_ += static_cast<std::uint32_t>(periodMs);
    wall_ += std::chrono::milliseconds(periodMs);
}

void VirtualClock::setNow(std::chrono::system_clock::time_point wallTime) {
    std::lock_guard lock(mutex_);
    wall_ = wallTime;
}

namespace {
SystemClock systemClock;
std::atomic<Clock*> current{&systemClock};
}  // namespace

Clock& clock() { return *current.load(); }
void setClock(Clock* replacement) { current.store(replacement ? replacement : &systemClock); }

}  // namespace kelto::platform
