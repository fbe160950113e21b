#include "capture/ApplicationThreadCall.h"

#include <QCoreApplication>

#include <condition_variable>
#include <deque>
#include <mutex>

namespace kelto::capture {

namespace {

struct PendingCall {
    const std::function<void()>* call;
    bool finished = false;
    bool ran = false;
};

std::mutex queueMutex;
std::condition_variable callFinished;
std::deque<PendingCall*> queue;
QCoreApplication* watchedApplication = nullptr;

// On the application's thread: runs every queued call in order.
void runQueuedCalls() {
    for (;;) {
        PendingCall* next = nullptr;
        {
            std::lock_guard lock(queueMutex);
            if (queue.empty()) return;
            next = queue.front();
            queue.pop_front();
        }
        (*next->call)();
        // Marked and notified under the lock: the waiter cannot return (and drop its record)
        // before this thread is done with it.
        std::lock_guard lock(queueMutex);
        next->finished = next->ran = true;
        callFinished.notify_all();
    }
}

// The application is going away: calls still queued will never run; release their callers.
void abandonQueuedCalls() {
    std::lock_guard lock(queueMutex);
    for (PendingCall* pending : queue) pending->finished = true;
    queue.clear();
    watchedApplication = nullptr;
    callFinished.notify_all();
}

}  // namespace

bool runOnApplicationThread(QCoreApplication* application, const std::function<void()>& call) {
    PendingCall pending{&call};
    {
        std::lock_guard lock(queueMutex);
        if (watchedApplication != application) {
            QObject::connect(application, &QObject::destroyed, [] { abandonQueuedCalls(); });
            watchedApplication = application;
        }
        queue.push_back(&pending);
        // Only a wake-up travels through Qt; the lambda carries no data of its own. Posted under
        // the lock, so once the call is seen queued this thread no longer uses the application.
        QMetaObject::invokeMethod(application, [] { runQueuedCalls(); }, Qt::QueuedConnection);
    }
    std::unique_lock lock(queueMutex);
    callFinished.wait(lock, [&pending] { return pending.finished; });
    return pending.ran;
}

std::size_t queuedApplicationThreadCalls() {
    std::lock_guard lock(queueMutex);
    return queue.size();
}

}  // namespace kelto::capture
