#include "drivers/CaptureDriver.h"

#include <array>
#include <mutex>

namespace kelto::drivers {

namespace {

struct Slots {
    std::mutex mutex;
    std::array<CaptureDriverList::Factory, CaptureDriverList::kMaxDrivers> factories;
};

Slots& slots() {
    static Slots instance;
    return instance;
}

CaptureDriverList::Factory factoryAt(std::size_t index) {
    if (index >= CaptureDriverList::kMaxDrivers) return {};
    std::lock_guard lock(slots().mutex);
    return slots().factories[index];
}

}  // namespace

std::optional<CaptureDriverDescription> CaptureDriverList::describe(std::size_t index) {
    auto driver = create(index);
    if (!driver) return std::nullopt;
    return driver->description();
}

std::unique_ptr<CaptureDriver> CaptureDriverList::create(std::size_t index) {
    // The factory runs outside the lock: a driver may look at the list while it is made.
    const Factory factory = factoryAt(index);
    return factory ? factory() : nullptr;
}

std::optional<std::size_t> CaptureDriverList::add(Factory factory) {
    if (!factory) return std::nullopt;
    std::lock_guard lock(slots().mutex);
    for (std::size_t i = 0; i < kMaxDrivers; ++i)
        if (!slots().factories[i]) {
            slots().factories[i] = std::move(factory);
            return i;
        }
    return std::nullopt;
}

bool CaptureDriverList::addAt(std::size_t index, Factory factory) {
    if (index >= kMaxDrivers) return false;
    std::lock_guard lock(slots().mutex);
    slots().factories[index] = std::move(factory);
    return true;
}

void CaptureDriverList::remove(std::size_t index) {
    if (index >= kMaxDrivers) return;
    std::lock_guard lock(slots().mutex);
    slots().factories[index] = nullptr;
}

void CaptureDriverList::clear() {
    std::lock_guard lock(slots().mutex);
    for (auto& factory : slots().factories) factory = nullptr;
}

}  // namespace kelto::drivers
