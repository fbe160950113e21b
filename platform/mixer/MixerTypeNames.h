#pragma once
// The platform's constant names of component and control types, looked up by value, for
// diagnostics ("MIXERLINE_COMPONENTTYPE_DST_SPEAKERS", "MIXERCONTROL_CONTROLTYPE_VOLUME").
#include <cstdint>
#include <string>

namespace kelto::platform::mixer {

// The constant's name, or "unknown (0x%08X)" for a value without one.
std::string componentTypeName(std::uint32_t componentType);
std::string controlTypeName(std::uint32_t controlType);

}  // namespace kelto::platform::mixer
