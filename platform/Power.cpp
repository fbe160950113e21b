#include "platform/Power.h"

#include <atomic>

namespace kelto::platform {

bool RecordingPowerControl::enableShutdownPrivilege() {
    std::lock_guard lock(mutex_);
    return privilegeGranted_;
}

bool RecordingPowerControl::requestShutdown(ShutdownKind kind) {
    std::lock_guard lock(mutex_);
    requests_.push_back(kind);
    return true;
}

std::vector<ShutdownKind> RecordingPowerControl::requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

std::size_t RecordingPowerControl::requestCount() const {
    std::lock_guard lock(mutex_);
    return requests_.size();
}

void RecordingPowerControl::clear() {
    std::lock_guard lock(mutex_);
    requests_.clear();
    privilegeGranted_ = true;
}

void RecordingPowerControl::setPrivilegeAnswer(bool granted) {
    std::lock_guard lock(mutex_);
    privilegeGranted_ = granted;
}

namespace {
std::atomic<PowerControl*> installedBackend{nullptr};
}  // namespace

RecordingPowerControl& recordingPowerControl() {
    static RecordingPowerControl recorder;
    return recorder;
}

PowerControl& powerControl() {
    PowerControl* backend = installedBackend.load();
    return backend ? *backend : recordingPowerControl();
}

void setPowerControl(PowerControl* backend) { installedBackend.store(backend); }

}  // namespace kelto::platform
