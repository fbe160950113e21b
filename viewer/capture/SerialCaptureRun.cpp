#include "viewer/capture/SerialCaptureRun.h"

#include "platform/Trace.h"

#include <QMetaObject>

#include <system_error>

namespace kelto::viewer::capturesheet {

namespace {
std::atomic<int> workersAlive{0};
}  // namespace

SerialCaptureRun::SerialCaptureRun(TakePicture takePicture, Finished finished, QObject* parent)
    : QObject(parent), takePicture_(std::move(takePicture)), finished_(std::move(finished)) {}

SerialCaptureRun::~SerialCaptureRun() { shutDown(); }

int SerialCaptureRun::liveWorkers() { return workersAlive.load(); }

bool SerialCaptureRun::start(int count) {
    if (running_) return false;
    {
        std::lock_guard lock(mutex_);
        if (shutDown_) return false;
        stopRequest_ = false;
        wanted_ = answered_ = taken_ = ended_ = false;
    }
    count_.store(count);
    asked_.store(0);
    ++workersAlive;
    try {
        thread_ = std::thread(&SerialCaptureRun::work, this);
    } catch (const std::system_error& error) {
        --workersAlive;
        platform::tracef("Capture sheet: the serial capture could not start: %s", error.what());
        return false;
    }
    running_ = true;
    return true;
}

void SerialCaptureRun::requestStop() {
    if (!running_) return;
    std::lock_guard lock(mutex_);
    stopRequest_ = true;
}

void SerialCaptureRun::shutDown() {
    {
        std::lock_guard lock(mutex_);
        shutDown_ = true;
    }
    wake_.notify_all();
    // The worker is on its way out and waits for nothing on this thread any more.
    if (thread_.joinable()) thread_.join();
    running_ = false;
}

void SerialCaptureRun::serve() {
    bool pictureWanted = false;
    bool workerEnded = false;
    {
        std::lock_guard lock(mutex_);
        pictureWanted = wanted_ && !shutDown_;
        wanted_ = false;
        workerEnded = ended_;
    }
    if (pictureWanted) {
        // May show a box (a nested event loop); the worker waits meanwhile.
        const bool taken = takePicture_();
        {
            std::lock_guard lock(mutex_);
            answered_ = true;
            taken_ = taken;
        }
        wake_.notify_all();
    }
    if (workerEnded && running_) {
        if (thread_.joinable()) thread_.join();
        running_ = false;
        if (finished_) finished_();
    }
}

void SerialCaptureRun::work() {
    int count = 0;
    while (count < count_.load()) {
        {
            std::lock_guard lock(mutex_);
            if (shutDown_) break;
            if (stopRequest_) {
                stopRequest_ = false;
                break;
            }
            wanted_ = true;
            answered_ = false;
        }
        ++asked_;
        // This object lives until this thread is joined; a call still queued when it goes is
        // dropped with it.
        QMetaObject::invokeMethod(this, "serve", Qt::QueuedConnection);
        std::unique_lock lock(mutex_);
        wake_.wait(lock, [this] { return answered_ || shutDown_; });
        if (shutDown_ || !taken_) break;
        ++count;
    }
    {
        std::lock_guard lock(mutex_);
        ended_ = true;
    }
    QMetaObject::invokeMethod(this, "serve", Qt::QueuedConnection);
    --workersAlive;
}

}  // namespace kelto::viewer::capturesheet
