#pragma once
// The viewer's 16 volume steps and its mute over the mixer's selected line and the card's audio
// mute. Without a mixer opened at start every operation here does nothing, so mute and volume
// change only the viewer's own state and display.
#include "viewer/VolumeRange.h"
#include "mixer/CMixerVolume.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kelto {
class CTunerController;
}

namespace kelto::viewer {

constexpr std::uint32_t kInitialUnitsPerStep = 8;

// "VOL %2d : " followed by step letters "I".
std::string volumeText(int step);

// How loud the card's sound plays through the program's own sound output: nothing while muted;
// with a mixer line chosen the mixer sets the loudness and the sound plays as the card gives it;
// without one, the viewer's step scales it (the highest step plays it unchanged, 0 silences it).
double liveSoundLevel(bool muted, int step, bool mixerOpened);

class VolumeSteps {
public:
    VolumeSteps(mixer::CMixerVolume& mixer, CTunerController& controller) : mixer_(mixer), controller_(controller) {}

    // Opens the mixer with target receiving its change messages, collects the line names and
    // selects line (the saved "s_volume"). False when no mixer opened.
    bool open(platform::mixer::MixerNotificationTarget* target, int line);
    bool opened() const { return opened_; }
    // Selects another mixer line as the volume control; the units per step follow its range.
    bool selectLine(int line);
    const std::vector<std::string>& lineNames() const { return lineNames_; }
    std::uint32_t unitsPerStep() const { return unitsPerStep_; }

    // Switches the sound off or on: the mixer's mute switch and the card's audio mute.
    void setSoundOff(bool off);
    // Sets the mixer to a step: its maximum at or above the highest step, its minimum at or below
    // the lowest, otherwise step × units per step.
    void writeStep(int step);
    // The mixer's level as a step; nullopt without a mixer.
    std::optional<int> readStep();
    // The mixer's mute switch; nullopt without a mixer.
    std::optional<bool> readMute();

private:
    void measureLine();

    mixer::CMixerVolume& mixer_;
    CTunerController& controller_;
    bool opened_ = false;
    std::vector<std::string> lineNames_;
    std::uint32_t unitsPerStep_ = kInitialUnitsPerStep;
};

}  // namespace kelto::viewer
