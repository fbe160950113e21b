#include "framework/VirtualTimerScheduler.h"

#include <algorithm>

namespace kelto::framework {

std::uint64_t VirtualTimerScheduler::schedule(std::uint32_t periodMs, bool repeating, std::function<void()> fire) {
    const std::uint64_t id = next_++;
    // A zero period fires at the next advance, not in a loop.
    entries_[id] = Entry{nowMs_ + std::max<std::uint32_t>(periodMs, 1), std::max<std::uint32_t>(periodMs, 1), repeating,
                         std::move(fire)};
    return id;
}

void VirtualTimerScheduler::cancel(std::uint64_t schedule) { entries_.erase(schedule); }

void VirtualTimerScheduler::advanceMs(std::uint64_t periodMs) {
    const std::uint64_t endMs = nowMs_ + periodMs;
    for (;;) {
        // The earliest due schedule (ties: the one scheduled first).
        auto due = entries_.end();
        for (auto it = entries_.begin(); it != entries_.end(); ++it)
            if (it->second.dueMs <= endMs && (due == entries_.end() || it->second.dueMs < due->second.dueMs)) due = it;
        if (due == entries_.end()) break;
        clock_.advanceMs(due->second.dueMs - nowMs_);
        nowMs_ = due->second.dueMs;
        std::function<void()> fire = due->second.fire;
        if (due->second.repeating) due->second.dueMs += due->second.periodMs;
        else entries_.erase(due);
        fire();  // may schedule or cancel
    }
    clock_.advanceMs(endMs - nowMs_);
    nowMs_ = endMs;
}

}  // namespace kelto::framework
