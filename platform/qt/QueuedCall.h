#pragma once
// How a worker thread reaches a widget: it queues the work to the widget's thread and goes on at
// once. The answer arrives in a future, so a worker that needs it waits only when it chooses to,
// and only after it has let go of every lock the user-interface thread might be waiting for
// (the tuner lock above all). A blocking cross-thread call would deadlock in exactly that case.
#include <QMetaObject>
#include <QObject>

#include <future>
#include <memory>
#include <utility>

namespace kelto::platform {

// Queues `operation` to run on the thread of `context` and returns at once, on any thread (on
// the context's own thread the operation runs at the next turn of its event loop). The future
// holds the operation's answer, or `ifDropped` when the context is destroyed before the call ran.
template <typename Result, typename Operation>
std::future<Result> queueCall(QObject* context, Result ifDropped, Operation operation) {
    // Answers the promise once, with the result or, when Qt discards the call, the fallback.
    struct Answer {
        std::promise<Result> promise;
        Result fallback;
        bool given = false;
        explicit Answer(Result fallbackValue) : fallback(std::move(fallbackValue)) {}
        void give(Result value) {
            given = true;
            promise.set_value(std::move(value));
        }
        ~Answer() {
            if (!given) promise.set_value(std::move(fallback));
        }
    };
    auto answer = std::make_shared<Answer>(std::move(ifDropped));
    std::future<Result> future = answer->promise.get_future();
    if (!context) return future;  // the answer is destroyed here: the fallback
    QMetaObject::invokeMethod(
        context, [answer, operation = std::move(operation)]() mutable { answer->give(operation()); },
        Qt::QueuedConnection);
    return future;
}

}  // namespace kelto::platform
