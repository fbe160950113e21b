#pragma once
// A configurable in-memory mixer installed as the process-wide service, with the diagnostics of
// the mixer classes captured. Closes every program-wide mixer object when the test ends.
#include "mixer/CMixerLib.h"
#include "mixer/MixerDiagnostics.h"
#include "platform/mixer/InMemoryMixer.h"

#include <string>
#include <utility>
#include <vector>

namespace kelto::mixer::test {

namespace pm = platform::mixer;
using CT = pm::ComponentType;
using CtlT = pm::ControlType;

struct Diagnostic {
    std::string caption;
    std::string message;
    bool operator==(const Diagnostic&) const = default;
};

class MixerRig {
public:
    MixerRig() {
        pm::setMixerService(&mixer);
        setMixerDiagnosticHook([this](std::string_view caption, std::string_view message) {
            diagnostics.push_back({std::string(caption), std::string(message)});
        });
    }
    ~MixerRig() {
        for (CMixerLib& lib : MixerLibs()) {
            lib.Close();
            lib.SetFaderMode(FaderMode::Main);  // as constructed, for the next test in this process
        }
        setMixerDiagnosticHook({});
        pm::setMixerService(nullptr);
    }

    static pm::InMemoryMixer::ControlSetup volume(std::vector<std::uint32_t> values, std::uint32_t maximum = 0xFFFF,
                                                 std::uint32_t flags = 0) {
        pm::InMemoryMixer::ControlSetup setup;
        setup.controlType = CtlT::Volume;
        setup.controlFlags = flags;
        setup.maximum = maximum;
        setup.stepCount = maximum;
        setup.values = std::move(values);
        return setup;
    }
    static pm::InMemoryMixer::ControlSetup mute(std::vector<std::uint32_t> values = {0}) {
        pm::InMemoryMixer::ControlSetup setup;
        setup.controlType = CtlT::Mute;
        setup.controlFlags = pm::ControlFlag::Uniform;
        setup.maximum = 1;
        setup.stepCount = 0;
        setup.values = std::move(values);
        return setup;
    }

    // A stereo speaker output with volume and mute, and three source lines: "Wave" (volume and
    // mute), "Mic" (mute only), "CD Audio" (volume only).
    void buildSoundCard(std::vector<std::uint32_t> masterValues = {0x8000, 0x8000}) {
        speakers = mixer.addDestination(CT::DstSpeakers, 2, "Volume Control", "Volume");
        masterVolume = mixer.addControl(speakers, volume(std::move(masterValues)));
        masterMute = mixer.addControl(speakers, mute());
        wave = mixer.addSource(0, CT::SrcWaveOut, 2, "Wave", "Wave");
        waveVolume = mixer.addControl(wave, volume({0x1000, 0x2000}));
        waveMute = mixer.addControl(wave, mute());
        mic = mixer.addSource(0, CT::SrcMicrophone, 1, "Microphone", "Mic");
        micMute = mixer.addControl(mic, mute({1}));
        cd = mixer.addSource(0, CT::SrcCompactDisc, 2, "CD Audio", "CD");
        cdVolume = mixer.addControl(cd, volume({0x3000, 0x3000}));
        mixer.addDestination(CT::DstWaveIn, 2, "Recording Control", "Record");
    }

    pm::InMemoryMixer mixer;
    std::vector<Diagnostic> diagnostics;
    std::uint32_t speakers = 0, masterVolume = 0, masterMute = 0;
    std::uint32_t wave = 0, waveVolume = 0, waveMute = 0;
    std::uint32_t mic = 0, micMute = 0;
    std::uint32_t cd = 0, cdVolume = 0;
};

}  // namespace kelto::mixer::test
