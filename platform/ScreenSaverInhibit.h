#pragma once
// Keeping the display awake while the viewer shows television (the viewer's timer 287 says
// "the display is in use" every 50 s; its close says it no longer is).
//
// The real backend holds one inhibition of the desktop's screen saver
// (org.freedesktop.ScreenSaver Inhibit/UnInhibit on the session bus) from the first "in use" to
// the release. Without a session bus or a screen-saver service it does nothing but write a
// trace line: the viewer works as before, the screen may blank. The process-wide backend is a
// recorder until the program installs the real one, so tests never touch the user's desktop.
//
// Threads: call from the user-interface thread. The backend is installed once at start.
#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace kelto::platform {

class ScreenSaverInhibitor {
public:
    virtual ~ScreenSaverInhibitor() = default;
    // The display is in use: keep the screen from blanking. Called again and again; the
    // inhibition is taken once and renewed only when it was lost. True while it is held.
    virtual bool keepDisplayOn() = 0;
    // The display may blank again (the inhibition, if any, is given back).
    virtual void allowDisplayOff() = 0;
    virtual bool inhibiting() const = 0;
};

enum class ScreenSaverCall { Inhibit, UnInhibit };

// Notes what the real backend would ask the desktop for, and nothing else. The default backend.
class RecordingScreenSaverInhibitor final : public ScreenSaverInhibitor {
public:
    bool keepDisplayOn() override;
    void allowDisplayOff() override;
    bool inhibiting() const override;

    // Inhibit when the display was not held yet, UnInhibit when a held one was given back.
    std::vector<ScreenSaverCall> calls() const;
    // How often the display was said to be in use (every call of keepDisplayOn).
    std::size_t keepAliveCount() const;
    void clear();

private:
    mutable std::mutex mutex_;
    std::vector<ScreenSaverCall> calls_;
    std::size_t keepAlives_ = 0;
    bool inhibiting_ = false;
};

ScreenSaverInhibitor& screenSaverInhibitor();
// Installs a backend (which must outlive its installation); nullptr goes back to the recorder.
void setScreenSaverInhibitor(ScreenSaverInhibitor* backend);
RecordingScreenSaverInhibitor& recordingScreenSaverInhibitor();

// The desktop's screen saver over the session bus, reached at `busAddress` ("unix:path=..."); an
// empty address means the user's session bus ($DBUS_SESSION_BUS_ADDRESS, else
// $XDG_RUNTIME_DIR/bus), never one started on demand.
std::unique_ptr<ScreenSaverInhibitor> makeSessionScreenSaverInhibitor(std::string busAddress = {});
// Installs the session-bus backend for the process. Only the program's start-up calls this.
void installSessionScreenSaverInhibitor();

}  // namespace kelto::platform
