#pragma once
// Switching the computer off. The program asks for it in two forms, as the system it was designed
// for knew them: "shut down" (the consumer family) and "power off" (the NT family, after enabling
// the shut-down privilege). Both mean the same here: the machine powers off.
//
// The process-wide backend is, by default, a recorder that only notes the request, so no test and
// no helper process can switch a machine off by accident. The program installs the real backend
// (logind over D-Bus) explicitly at start with installSystemPowerControl().
//
// Threads: the backends may be called from any thread; the process-wide pointer is meant to be
// installed once at start, before other threads run.
#include <cstddef>
#include <mutex>
#include <string>
#include <vector>

namespace kelto::platform {

enum class ShutdownKind {
    ShutDown,  // the consumer family's "shut down"
    PowerOff,  // the NT family's "power off" (after the privilege was enabled)
};

class PowerControl {
public:
    virtual ~PowerControl() = default;
    // Stands for enabling the shut-down privilege of the process token. On Linux the authority
    // check happens when the request reaches logind (polkit), so the real backend answers true.
    virtual bool enableShutdownPrivilege() = 0;
    // Asks the system to switch off, without forcing other programs. True when the request was
    // accepted; the machine then goes down on its own time.
    virtual bool requestShutdown(ShutdownKind kind) = 0;
};

// Notes every request and powers nothing off. The default backend; tests inspect it.
class RecordingPowerControl final : public PowerControl {
public:
    bool enableShutdownPrivilege() override;
    bool requestShutdown(ShutdownKind kind) override;

    std::vector<ShutdownKind> requests() const;
    std::size_t requestCount() const;
    void clear();
    // What enableShutdownPrivilege answers (true unless a test says otherwise).
    void setPrivilegeAnswer(bool granted);

private:
    mutable std::mutex mutex_;
    std::vector<ShutdownKind> requests_;
    bool privilegeGranted_ = true;
};

// The backend in use. Unless something else was installed it is the process's recorder
// (recordingPowerControl()).
PowerControl& powerControl();
// Installs a backend (which must outlive its installation); nullptr goes back to the recorder.
void setPowerControl(PowerControl* backend);
// The process's recorder, the default backend.
RecordingPowerControl& recordingPowerControl();

// Installs the real backend: org.freedesktop.login1.Manager.PowerOff on the system bus
// (interactive, so polkit may ask the user). Only the program's start-up calls this; tests never do.
void installSystemPowerControl();

}  // namespace kelto::platform
