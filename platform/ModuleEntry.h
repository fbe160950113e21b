#pragma once
// The entry a shared library may export so the loader can tell it about loading and unloading
// (see DynamicLibrary.h). Define it in exactly one source file of the library:
//
//   KELTO_MODULE_ENTRY(module, reason) {
//       if (reason == kelto::platform::kModuleAttach) return setUp() ? 1 : 0;
//       if (reason == kelto::platform::kModuleDetach) tearDown();
//       return 1;
//   }
#include <cstdint>

namespace kelto::platform {
constexpr std::uint32_t kModuleDetach = 0;
constexpr std::uint32_t kModuleAttach = 1;
constexpr const char* kModuleEntryName = "KeltoModuleEntry";
using ModuleEntryFunction = int (*)(void* module, std::uint32_t reason);
}  // namespace kelto::platform

#define KELTO_MODULE_ENTRY(moduleParam, reasonParam)                                                  \
    extern "C" __attribute__((visibility("default"))) int KeltoModuleEntry(void* moduleParam,         \
                                                                           std::uint32_t reasonParam)
