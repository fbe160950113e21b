// The handlers of SetRadioParam and GetRadioParam (reached on Bt878 boards only).
#include "rurorizi/AudioRouting.h"
#include "rurorizi/CallerBuffers.h"
#include "rurorizi/DispatchTables.h"
#include "rurorizi/ModuleState.h"
#include "rurorizi/ReturnCodes.h"

namespace kelto::rurorizi {

namespace {

int tuneRadio(int frequency) { return moduleState().tuner->SetFMFrequency(frequency); }

int copyRadioSoundFormat(int address) {
    // Switching to the radio record marks the TV record not applicable, whether or not the
    // caller's buffer can be written.
    callerBuffers().tvSound.status = -2;
    if (!callerAddressUsable(address)) return kValueOutOfRange;
    copyToCallerAddress(address, &callerBuffers().radioSound, sizeof(SoundFormatInfo));
    return kSuccess;
}

int noOperation(int) { return kSuccess; }

int getFrequency() { return moduleState().tuner->GetFMFrequency(); }
int getLevel() { return moduleState().tuner->GetFMLevel(); }

int getRadioSoundFormat() {
    callerBuffers().tvSound.status = -2;
    return addressResult(&callerBuffers().radioSound);
}

int alwaysOne() { return 1; }
int getCountryCode() { return static_cast<int>(moduleState().country.resolve()); }

}  // namespace

const std::array<SetHandler, kRadioCodeCount> kSetRadioHandlers = {
    nullptr,               // 0
    tuneRadio,             // 1
    nullptr,               // 2
    copyRadioSoundFormat,  // 3
    noOperation,           // 4
    setCountryCode,        // 5
    dactl::radioMute,      // 6
};

const std::array<GetHandler, kRadioCodeCount> kGetRadioHandlers = {
    nullptr,                  // 0
    getFrequency,             // 1
    getLevel,                 // 2
    getRadioSoundFormat,      // 3
    alwaysOne,                // 4
    getCountryCode,           // 5
    dactl::radioAudioState,   // 6
};

}  // namespace kelto::rurorizi
