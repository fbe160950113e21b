#pragma once
// The desktop session ending (logout, shutdown) reaches the process as SIGTERM or SIGHUP.
// installSessionEndSignals() runs first thing in main, before anything that could be lost: from
// then on the signals only write a byte into a pipe, and the event loop reads them once the tray
// agent runs, so the agent's exit sequence (settings, "reserve.rsd") always runs.
//
// Handlers rather than a blocked mask: a blocked mask would be inherited by every program we
// start (the help viewer), while handlers fall back to the default at exec.
namespace kelto {

// Installs the handlers (a SIGHUP ignored by the caller, as under nohup, stays ignored) and
// unblocks both signals, so one that was already pending is caught now. False when the pipe
// cannot be made (the signals then keep their default action).
bool installSessionEndSignals();

// Readable when a session-end signal has arrived; -1 without the pipe.
int sessionEndFd();

// Reads what has arrived; true when at least one signal had.
bool takeSessionEndSignals();

}  // namespace kelto
