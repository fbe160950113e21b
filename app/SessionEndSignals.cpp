#include "app/SessionEndSignals.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace kelto {

namespace {

int pipeFds[2] = {-1, -1};

void onSessionEnd(int) {
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(pipeFds[1], &byte, 1);  // a full pipe has news enough
    errno = saved;
}

void catchSignal(int signal, bool keepIgnored) {
    struct sigaction previous {};
    if (keepIgnored && ::sigaction(signal, nullptr, &previous) == 0 && previous.sa_handler == SIG_IGN) return;
    struct sigaction action {};
    action.sa_handler = onSessionEnd;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(signal, &action, nullptr);
}

}  // namespace

bool installSessionEndSignals() {
    if (pipeFds[0] >= 0) return true;
    if (::pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0) {
        pipeFds[0] = pipeFds[1] = -1;
        return false;
    }
    catchSignal(SIGTERM, false);
    catchSignal(SIGHUP, true);
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGHUP);
    ::sigprocmask(SIG_UNBLOCK, &signals, nullptr);
    return true;
}

int sessionEndFd() { return pipeFds[0]; }

bool takeSessionEndSignals() {
    if (pipeFds[0] < 0) return false;
    bool any = false;
    char buffer[16];
    while (::read(pipeFds[0], buffer, sizeof buffer) > 0) any = true;
    return any;
}

}  // namespace kelto
