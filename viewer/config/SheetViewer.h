#pragma once
// What the configuration sheet and its pages reach of the viewer window that opened them. The
// viewer implements it; tests may stand in for it. Every call comes from the user-interface
// thread: a worker (the channel scan) reaches the viewer only through calls it queues there.
#include "channels/CTunerController.h"
#include "channels/ChannelModel.h"
#include "settings/SettingsStore.h"
#include "settings/ViewerSettings.h"

#include <array>
#include <string>
#include <vector>

class QWidget;

namespace kelto::viewer::config {

using MultiScreenSlots = std::array<int, kMultiScreenSlots + 1>;  // slots 1..16, 0 = empty

class SheetViewer {
public:
    virtual ~SheetViewer() = default;

    // The viewer window (the sheet's owner and the parent of the pages' message boxes).
    virtual QWidget* viewerWidget() = 0;

    // --- the viewer's state: its copy of the settings (video mode, country code, picture levels,
    // display colour, colour key, tooltip flag, multi-screen slots), written back when it closes,
    // and the store the few values saved at once go to.
    virtual ViewerSettings& viewerSettings() = 0;
    virtual SettingsStore& settingsStore() = 0;

    // --- channels and tuner.
    // Registered lists, fine tuning, the active frequency tables and band limits.
    virtual ChannelModel& channelModel() = 0;
    // The hardware facade (scan-tune, lock poll, picture levels; lockTuner() for a scan step).
    virtual CTunerController& tunerController() = 0;
    // The number the panel shows for the current channel (with country code 86 a list position + 1).
    virtual int displayedNumber() const = 0;
    // Tunes a channel of the current band like every tuning of the viewer (current channel,
    // panel, and the display when showDisplay is set).
    virtual void TuneChannel(int channel, bool showDisplay) = 0;
    // While set, TuneChannel leaves the sound alone around each retune (a scan runs).
    virtual void setScanInProgress(bool scanning) = 0;
    virtual bool scanInProgress() const = 0;
    // The mute operation that leaves the mixer alone: only the card's audio.
    virtual void muteCardAudio(bool muted) = 0;

    // --- picture.
    // The quality mode (0..3; 3 is the capture mode).
    virtual int qualityMode() const = 0;
    virtual void setQualityMode(int mode) = 0;

    // --- mixer.
    // Whether the viewer opened a mixer; the names of its lines in line order; the selected line
    // (0-based) and choosing another, after which the volume step follows the new line's level.
    virtual bool mixerOpen() const = 0;
    virtual std::vector<std::string> mixerLineNames() = 0;
    virtual int selectedMixerLine() const = 0;
    virtual void selectMixerLine(int line) = 0;

    // --- multi-screen registration handed over by the multi-screen page when it closes: the
    // cell count (4, 9 or 16) and both bands' slots. The viewer keeps them and saves them.
    virtual void setMultiScreen(int cells, const MultiScreenSlots& broadcast, const MultiScreenSlots& cable) = 0;
};

}  // namespace kelto::viewer::config
