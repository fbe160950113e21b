// The export of the audio command library "BtAud.dll" (libbtaud.so); see BtAudApi.h.
#include "drivers/BtAudApi.h"

#include "cardsim/Card.h"
#include "platform/ModuleEntry.h"

using kelto::cardsim::CardLock;

KELTO_MODULE_ENTRY(module, reason) {
    (void)module;
    if (reason == kelto::platform::kModuleAttach) return CardLock()->faults.failingLibraries.contains("BtAud.dll") ? 0 : 1;
    return 1;
}

int ProcessCommand(uint32_t command, uint32_t value) {
    CardLock card;
    kelto::cardsim::DigitalAudioPath* path = card->digitalAudio();
    return path ? int(path->processCommand(command, value)) : 1;
}
