// The library's exported functions (see RuroriziApi.h) and its load and unload entry.
#include "rurorizi/RuroriziApi.h"

#include "platform/ModuleEntry.h"
#include "platform/Text.h"
#include "rurorizi/DispatchTables.h"
#include "rurorizi/ErrorStrings.h"
#include "rurorizi/ModuleLifecycle.h"
#include "rurorizi/ModuleState.h"
#include "rurorizi/ReturnCodes.h"

#include <cstring>

using namespace kelto::rurorizi;

namespace {

bool radioAvailable() { return moduleState().isBt878; }

}  // namespace

KELTO_MODULE_ENTRY(module, reason) {
    if (reason == kelto::platform::kModuleAttach) return attachLibrary(module) ? 1 : 0;
    if (reason == kelto::platform::kModuleDetach) detachLibrary();
    return 1;
}

extern "C" {

int SetTVParam(unsigned code, int value) {
    const SetHandler handler = handlerFor(kSetTvHandlers, code);
    return handler ? handler(value) : kNotServed;
}

int GetTVParam(unsigned code) {
    const GetHandler handler = handlerFor(kGetTvHandlers, code);
    return handler ? handler() : kNotServed;
}

int SetRadioParam(unsigned code, int value) {
    if (!radioAvailable()) return kNotBt878;
    const SetHandler handler = handlerFor(kSetRadioHandlers, code);
    return handler ? handler(value) : kNotServed;
}

int GetRadioParam(unsigned code) {
    if (!radioAvailable()) return kNotBt878;
    const GetHandler handler = handlerFor(kGetRadioHandlers, code);
    return handler ? handler() : kNotServed;
}

int SetAudioParam(unsigned code, int value) {
    const SetHandler handler = handlerFor(kSetAudioHandlers, code);
    return handler ? handler(value) : kAudioNotServed;
}

const char* GetTVErrString(unsigned code) {
    const auto text = libraryMessage(code & 0xFFFFu);
    if (!text) return nullptr;
    char* buffer = moduleState().messageBuffer;
    const std::string_view cut = kelto::platform::cutUtf8(*text, kMessageBufferChars - 1);
    std::memcpy(buffer, cut.data(), cut.size());
    buffer[cut.size()] = '\0';
    return buffer;
}

}  // extern "C"
