#include "viewer/window/SerialStillCapture.h"

#include "platform/Clock.h"
#include "platform/Trace.h"

#include <QMetaObject>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

namespace kelto::viewer {

namespace {

// A stop reaches a worker waiting on the clock within one slice.
constexpr std::uint32_t kWaitSliceMs = 10;

std::atomic<int> workersAlive{0};

}  // namespace

struct SerialStillCapture::Run {
    std::mutex mutex;
    std::condition_variable wake;
    bool stop = false;      // the run is to end (set on the user-interface thread)
    bool wanted = false;    // the worker waits for a picture
    bool answered = false;  // the picture wanted last has been taken (or refused)
    std::atomic<bool> finished{false};
    std::thread thread;

    bool stopRequested() {
        std::lock_guard lock(mutex);
        return stop;
    }
    // Waits periodMs on the process clock; false when the run was stopped meanwhile.
    bool waitOnClock(std::uint32_t periodMs) {
        platform::Clock& clock = platform::clock();
        const std::uint32_t start = clock.tickCountMs();
        for (;;) {
            if (stopRequested()) return false;
            const std::uint32_t elapsed = clock.tickCountMs() - start;
            if (elapsed >= periodMs) return true;
            clock.sleepMs(std::min(kWaitSliceMs, periodMs - elapsed));
        }
    }
};

SerialStillCapture::SerialStillCapture(TakePicture takePicture, QObject* parent)
    : QObject(parent), takePicture_(std::move(takePicture)) {}

SerialStillCapture::~SerialStillCapture() { stopAll(); }

int SerialStillCapture::liveWorkers() { return workersAlive.load(); }

void SerialStillCapture::start(bool closedCaptions) {
    if (stopped_) return;
    reap();
    auto run = std::make_shared<Run>();
    ++workersAlive;
    try {
        run->thread = std::thread(&SerialStillCapture::work, run, this, closedCaptions);
    } catch (const std::system_error& error) {
        --workersAlive;
        platform::tracef("Viewer: the serial capture could not start: %s", error.what());
        return;
    }
    runs_.push_back(std::move(run));
}

void SerialStillCapture::stopAll() {
    stopped_ = true;
    for (const auto& run : runs_) {
        {
            std::lock_guard lock(run->mutex);
            run->stop = true;
        }
        run->wake.notify_all();
    }
    // Every worker is now on its way out: none waits for this thread any more.
    for (const auto& run : runs_)
        if (run->thread.joinable()) run->thread.join();
    runs_.clear();
}

void SerialStillCapture::serveRuns() {
    // A run may be stopped (and joined) by what a picture sets off, so the list is walked by copy.
    const auto runs = runs_;
    for (const auto& run : runs) {
        {
            std::lock_guard lock(run->mutex);
            if (!run->wanted) continue;
            run->wanted = false;
        }
        if (!run->stopRequested()) takePicture_();
        {
            std::lock_guard lock(run->mutex);
            run->answered = true;
        }
        run->wake.notify_all();
    }
    reap();
}

void SerialStillCapture::reap() {
    std::erase_if(runs_, [](const std::shared_ptr<Run>& run) {
        if (!run->finished.load()) return false;
        if (run->thread.joinable()) run->thread.join();
        return true;
    });
}

void SerialStillCapture::work(const std::shared_ptr<Run>& run, SerialStillCapture* owner, bool closedCaptions) {
    for (int picture = 0; picture < kPictures; ++picture) {
        if (closedCaptions && !run->waitOnClock(kCaptionWaitMs)) break;
        {
            std::lock_guard lock(run->mutex);
            if (run->stop) break;
            run->wanted = true;
            run->answered = false;
        }
        // The owner lives until this thread is joined; a call still queued when it goes is
        // dropped with it.
        QMetaObject::invokeMethod(owner, "serveRuns", Qt::QueuedConnection);
        ++owner->queued_;
        std::unique_lock lock(run->mutex);
        run->wake.wait(lock, [&] { return run->answered || run->stop; });
        if (run->stop) break;
    }
    run->finished = true;
    QMetaObject::invokeMethod(owner, "serveRuns", Qt::QueuedConnection);
    --workersAlive;
}

}  // namespace kelto::viewer
