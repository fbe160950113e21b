#pragma once
// Switching the computer off after the tray agent has exited: read the system version; on the NT
// family enable the shut-down privilege (stop silently when that fails) and ask for "power off",
// elsewhere ask for "shut down"; never forced. Goes through platform::powerControl(), which is
// a recorder unless the program installed the real backend.
namespace kelto {

class PowerOffSequence {
public:
    // True when the request reached the power backend and was accepted. Uses no agent state, so
    // it may run after the agent (and the reservation engine) are gone.
    static bool switchOff();
};

}  // namespace kelto
