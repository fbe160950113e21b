#pragma once
// Runs a call on the application's thread for a caller on another thread, and waits for it.
#include <cstddef>
#include <functional>

class QCoreApplication;

namespace kelto::capture {

// Queues `call` to run on `application`'s thread and blocks until it ran. Returns false, without
// running it, when the application is destroyed first. The hand-over uses standard mutexes and
// conditions (Qt carries only a wake-up without data), so the ordering is plain to thread
// checkers as well.
bool runOnApplicationThread(QCoreApplication* application, const std::function<void()>& call);

// How many calls are queued and not yet run (for tests).
std::size_t queuedApplicationThreadCalls();

}  // namespace kelto::capture
