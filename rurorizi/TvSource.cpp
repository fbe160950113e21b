#include "rurorizi/TvSource.h"

#include "rurorizi/DynLink.h"
#include "rurorizi/ModuleState.h"
#include "rurorizi/ReturnCodes.h"

#include <cstdint>

namespace kelto::rurorizi {

int currentVideoSource() {
    std::int32_t input = 0;
    if (!driverOk(dynLink::Bt848GetVideoSource(&input))) return kVideoDriverFailed;
    const int remembered = moduleState().videoSource;
    switch (input) {
    case 1: return kSourceSVideo;
    case 2: return isTunerSource(remembered) ? remembered : kVideoDriverFailed;
    case 3:
        if (remembered == kSourceComposite || remembered == kSourceCompositeAlt) return remembered;
        return kSourceSVideo;
    default: return kVideoDriverFailed;
    }
}

}  // namespace kelto::rurorizi
