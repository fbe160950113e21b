#include "reservations/PowerOffSequence.h"

#include "platform/Power.h"
#include "platform/SystemInfo.h"
#include "platform/Trace.h"

namespace kelto {

bool PowerOffSequence::switchOff() {
    platform::OsVersionInfo version;
    version.sizeField = platform::kOsVersionInfoExSize;
    if (!platform::getVersionEx(version)) {
        version = {};
        version.sizeField = platform::kOsVersionInfoSize;
        platform::getVersionEx(version);  // on failure the platform stays 0: "shut down"
    }

    platform::PowerControl& power = platform::powerControl();
    platform::ShutdownKind kind = platform::ShutdownKind::ShutDown;
    if (version.platformId == platform::kPlatformWin32Nt) {
        if (!power.enableShutdownPrivilege()) {
            platform::traceLine("power off: the shut-down privilege was refused; the computer stays on");
            return false;
        }
        kind = platform::ShutdownKind::PowerOff;
    }
    return power.requestShutdown(kind);
}

}  // namespace kelto
