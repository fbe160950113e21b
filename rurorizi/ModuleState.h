#pragma once
// Everything the library remembers between calls. There is one card per process, so there is one
// state: made fresh at load, cleared at unload. The library has no locks; callers serialise.
#include "rurorizi/CPhilipsTuner.h"
#include "rurorizi/CountryCode.h"
#include "rurorizi/SoundDecoder.h"

#include <cstdint>
#include <memory>

namespace kelto::rurorizi {

// Audio routes: what the card plays.
enum class AudioRoute : std::int32_t { ExternalInput = 0, Tuner = 1, SecondInput = 2, Silent = 3 };

// The message buffer of GetTVErrString, terminator included.
constexpr std::size_t kMessageBufferChars = 255;

struct ModuleState {
    CountryCode country;
    std::int32_t videoSource = 0;  // last value SetTVParam 1 accepted
    std::int32_t audioRoute = 0;   // an AudioRoute value, 0..3
    bool muted = false;            // TV or radio mute on a Bt878
    bool isBt878 = false;
    bool riscEnabled = false;
    TunerType tunerKind = TunerType::Alps;
    // Always a Philips or an Alps tuner, both of which carry the FM radio.
    std::unique_ptr<CPhilipsTuner> tuner;
    SoundDecoderType soundDecoderType = SoundDecoderType::None;
    void* moduleInstance = nullptr;
    char messageBuffer[kMessageBufferChars] = {};
};

ModuleState& moduleState();
// Replaces the state with a fresh one (the tuner object, if any, is deleted).
void resetModuleState();

}  // namespace kelto::rurorizi
