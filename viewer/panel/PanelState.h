#pragma once
// What the panel strip shows: which buttons are held down, the channel number, the volume step,
// the mute state, the video mode and the strip's width. The viewer keeps one and hands it to
// the painter whenever the strip is repainted.
#include "viewer/VolumeRange.h"
#include "viewer/panel/PanelLayout.h"

#include <array>

namespace kelto::viewer {


struct PanelState {
    std::array<bool, kPanelRegionCount> pressed{};
    int channelNumber = 0;  // the displayed number: a channel, or a list position
    int volumeStep = kHighestVolumeStep;
    bool muted = false;
    int videoMode = 0;  // 0 TV, 1 CATV, 2 VIDEO, 3 SVHS
    int width = 484;

    bool isPressed(PanelRegion region) const { return pressed[index(region)]; }
    void setPressed(PanelRegion region, bool down) { pressed[index(region)] = down; }
    void releaseAll() { pressed.fill(false); }
};

}  // namespace kelto::viewer
