#include "rurorizi/AudioCommandLibrary.h"

#include "drivers/BtAudApi.h"
#include "platform/DynamicLibrary.h"

namespace kelto::rurorizi::dynLink {

namespace {
platform::ModuleHandle audioModule = nullptr;
decltype(&::ProcessCommand) processCommandFunction = nullptr;
}  // namespace

AudioBindResult bindAudioCommands() {
    releaseAudioCommands();
    audioModule = platform::loadLibrary("BtAud.dll");
    if (!audioModule) return AudioBindResult::LibraryMissing;
    processCommandFunction = platform::getProc<decltype(&::ProcessCommand)>(audioModule, "ProcessCommand");
    if (!processCommandFunction) {
        releaseAudioCommands();
        return AudioBindResult::FunctionMissing;
    }
    return AudioBindResult::Bound;
}

void releaseAudioCommands() {
    processCommandFunction = nullptr;
    if (audioModule) platform::freeLibrary(audioModule);
    audioModule = nullptr;
}

bool processCommandBound() { return processCommandFunction != nullptr; }

int processCommand(AudioCommand command, std::uint32_t value) {
    return processCommandFunction ? processCommandFunction(static_cast<std::uint32_t>(command), value) : 1;
}

}  // namespace kelto::rurorizi::dynLink
