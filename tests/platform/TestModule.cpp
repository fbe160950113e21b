// A module for the loader tests. Its entry appends "attach" or "detach" to the file named by
// KELTO_TESTMODULE_LOG; the attach result is fixed at build time.
#include "platform/ModuleEntry.h"

#include <cstdio>
#include <cstdlib>

namespace {
void logLine(const char* what) {
    if (const char* path = std::getenv("KELTO_TESTMODULE_LOG")) {
        if (FILE* f = std::fopen(path, "a")) {
            std::fprintf(f, "%s\n", what);
            std::fclose(f);
        }
    }
}
int answer = 42;
}  // namespace

extern "C" __attribute__((visibility("default"))) int TestModuleAnswer() { return answer; }

KELTO_MODULE_ENTRY(module, reason) {
    (void)module;
    if (reason == kelto::platform::kModuleAttach) {
        logLine("attach");
        return KELTO_TESTMODULE_ATTACH_OK;
    }
    logLine("detach");
    return 1;
}
