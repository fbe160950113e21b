#include "platform/ScreenSaverInhibit.h"

#include <atomic>

namespace kelto::platform {

bool RecordingScreenSaverInhibitor::keepDisplayOn() {
    std::lock_guard lock(mutex_);
    ++keepAlives_;
    if (!inhibiting_) calls_.push_back(ScreenSaverCall::Inhibit);
    inhibiting_ = true;
    return true;
}

void RecordingScreenSaverInhibitor::allowDisplayOff() {
    std::lock_guard lock(mutex_);
    if (inhibiting_) calls_.push_back(ScreenSaverCall::UnInhibit);
    inhibiting_ = false;
}

bool RecordingScreenSaverInhibitor::inhibiting() const {
    std::lock_guard lock(mutex_);
    return inhibiting_;
}

std::vector<ScreenSaverCall> RecordingScreenSaverInhibitor::calls() const {
    std::lock_guard lock(mutex_);
    return calls_;
}

std::size_t RecordingScreenSaverInhibitor::keepAliveCount() const {
    std::lock_guard lock(mutex_);
    return keepAlives_;
}

void RecordingScreenSaverInhibitor::clear() {
    std::lock_guard lock(mutex_);
    calls_.clear();
    keepAlives_ = 0;
    inhibiting_ = false;
}

namespace {
std::atomic<ScreenSaverInhibitor*> installedInhibitor{nullptr};
}  // namespace

RecordingScreenSaverInhibitor& recordingScreenSaverInhibitor() {
    static RecordingScreenSaverInhibitor recorder;
    return recorder;
}

ScreenSaverInhibitor& screenSaverInhibitor() {
    ScreenSaverInhibitor* backend = installedInhibitor.load();
    return backend ? *backend : recordingScreenSaverInhibitor();
}

void setScreenSaverInhibitor(ScreenSaverInhibitor* backend) { installedInhibitor.store(backend); }

}  // namespace kelto::platform
