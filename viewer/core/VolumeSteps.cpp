#include "viewer/core/VolumeSteps.h"

#include "channels/CTunerController.h"

#include <algorithm>

namespace kelto::viewer {

double liveSoundLevel(bool muted, int step, bool mixerOpened) {
    if (muted) return 0.0;
    if (mixerOpened) return 1.0;
    return double(std::clamp(step, kLowestVolumeStep, kHighestVolumeStep)) / kHighestVolumeStep;
}

std::string volumeText(int step) {
    char head[16];
    std::snprintf(head, sizeof head, "VOL %2d : ", step);
    return head + std::string(std::size_t(std::max(step, 0)), 'I');
}

bool VolumeSteps::open(platform::mixer::MixerNotificationTarget* target, int line) {
    opened_ = mixer_.Open(target);
    if (!opened_) return false;
    lineNames_ = mixer_.GetLineNames();
    selectLine(line);
    return true;
}

bool VolumeSteps::selectLine(int line) {
    if (!opened_) return false;
    const bool selected = mixer_.SelectLine(line);
    measureLine();
    return selected;
}

// A line whose range is below 16 units would give 0 units per step, and every step would then
// read back as a division by zero: such a line moves by one unit per step.
void VolumeSteps::measureLine() {
    const std::uint32_t range = mixer_.GetMaximum() - mixer_.GetMinimum();
    unitsPerStep_ = std::max<std::uint32_t>(range / kHighestVolumeStep, 1);
}

void VolumeSteps::setSoundOff(bool off) {
    if (!opened_) return;
    mixer_.SetMute(off ? 1 : 0);
    controller_.Mute(off);
}

void VolumeSteps::writeStep(int step) {
    if (!opened_) return;
    if (step >= kHighestVolumeStep) mixer_.SetVolume(mixer_.GetMaximum());
    else if (step <= kLowestVolumeStep) mixer_.SetVolume(mixer_.GetMinimum());
    else mixer_.SetVolume(std::uint32_t(step) * unitsPerStep_);
}

std::optional<int> VolumeSteps::readStep() {
    if (!opened_ || !mixer_.IsOpen()) return std::nullopt;
    return int(std::min<std::uint32_t>(mixer_.GetVolume() / unitsPerStep_, kHighestVolumeStep));
}

std::optional<bool> VolumeSteps::readMute() {
    if (!opened_ || !mixer_.IsOpen()) return std::nullopt;
    return mixer_.GetMute();
}

}  // namespace kelto::viewer
