#include "viewer/multiscreen/CMultiScreenThread.h"

#include "platform/Clock.h"

#include <chrono>

#if defined(__linux__)
#include <sys/resource.h>
#endif

namespace kelto::viewer::multiscreen {

namespace {
// How often a wait for the user-interface thread looks whether the worker is to end.
constexpr auto kStopCheck = std::chrono::milliseconds(5);

// The calling thread at the lowest ordinary priority (nice 19), so the view stays responsive. Not
// the idle class: an idle-class thread gets no time at all while the machine is busy, and the
// cells would stop changing.
void lowerOwnPriority() {
#if defined(__linux__)
    // On Linux the nice value belongs to the thread: PRIO_PROCESS with 0 is the calling thread.
    setpriority(PRIO_PROCESS, 0, 19);
#endif
}
}  // namespace

CMultiScreenThread::CMultiScreenThread(MultiScreenWork& work) : work_(work) {}

CMultiScreenThread::~CMultiScreenThread() {
    requestStop();
    join();
}

void CMultiScreenThread::start() {
    if (thread_.joinable()) return;
    thread_ = std::thread([this] {
        lowerOwnPriority();
        run();
    });
}

void CMultiScreenThread::resume() {
    pause_ = false;
    {
        std::lock_guard lock(stateMutex_);
        started_ = true;
        released_ = true;
    }
    wake_.notify_all();
}

void CMultiScreenThread::requestPause() {
    // Only a resume after this request lets the pause end: one given while the worker ran (the
    // view starting the cycle again) must not release the pause at once.
    std::lock_guard lock(stateMutex_);
    released_ = false;
    pause_ = true;
}

void CMultiScreenThread::requestStop() {
    {
        // Under the lock, so a worker between its look at the flag and its wait cannot miss it.
        std::lock_guard lock(stateMutex_);
        stop_ = true;
    }
    wake_.notify_all();
}

void CMultiScreenThread::join() {
    if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id()) thread_.join();
}

bool CMultiScreenThread::isPaused() const {
    std::lock_guard lock(stateMutex_);
    return paused_;
}

QImage CMultiScreenThread::picture(int k) const {
    std::lock_guard lock(picturesMutex_);
    return k >= 0 && k < int(pictures_.size()) ? pictures_[std::size_t(k)] : QImage();
}

void CMultiScreenThread::setPicture(int k, const QImage& image) {
    if (k < 0 || k >= int(pictures_.size())) return;
    QImage copy = image.copy();  // a picture of its own, not shared with the grab
    std::lock_guard lock(picturesMutex_);
    pictures_[std::size_t(k)].swap(copy);
}

bool CMultiScreenThread::waitForRelease(bool forPause) {
    std::unique_lock lock(stateMutex_);
    paused_ = forPause;
    if (forPause) {
        wake_.wait(lock, [this] { return released_ || stop_; });
        released_ = false;
    } else {
        wake_.wait(lock, [this] { return started_ || stop_; });
    }
    paused_ = false;
    return !stop_;
}

template <typename T>
std::optional<T> CMultiScreenThread::awaitAnswer(std::future<T>& answer) {
    while (answer.wait_for(kStopCheck) != std::future_status::ready)
        if (stop_) return std::nullopt;
    try {
        return answer.get();
    } catch (const std::future_error&) {
        return std::nullopt;  // the view went without answering
    }
}

void CMultiScreenThread::run() {
    // Made held: the first resume starts the cycle.
    if (waitForRelease(false)) {
        while (!stop_) {
            const int cells = work_.cellCount();
            for (int k = 0; k < cells; ++k) {
                if (stop_) break;
                if (pause_) {
                    work_.paused();
                    if (!waitForRelease(true)) break;
                }
                const auto channel = work_.cellChannel(k);
                if (!channel) continue;
                auto tuned = work_.tune(*channel);
                if (!awaitAnswer(tuned)) break;
                platform::clock().sleepMs(kSettleMs);
                auto grabbed = work_.grab();
                const auto frame = awaitAnswer(grabbed);
                if (!frame) break;
                // A grab that brought nothing leaves the cell's picture as it was.
                if (frame->isNull()) continue;
                setPicture(k, *frame);
                work_.cellPictureChanged(k);
            }
            ++passes_;
        }
    }
    work_.ended();
}

}  // namespace kelto::viewer::multiscreen
