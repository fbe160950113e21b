#include "rurorizi/ModuleState.h"

namespace kelto::rurorizi {

namespace {
ModuleState state;
}

ModuleState& moduleState() { return state; }

void resetModuleState() {
    state.tuner.reset();
    state = ModuleState{};
}

}  // namespace kelto::rurorizi
