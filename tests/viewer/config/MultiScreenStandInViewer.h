#pragma once
// A stand-in for the viewer under the multi-screen page: its settings, a channel model with the
// USA's band limits (broadcast 2..69, cable 1..125), and a record of the tunings and hand-overs.
#include "viewer/config/SheetViewer.h"

#include <utility>
#include <vector>

namespace kelto::test {

// What the page reaches of a viewer: settings, a channel model with the USA's band limits, and a
// record of its tunings and of the hand-over.
class StandInViewer final : public viewer::config::SheetViewer {
public:
    using MultiScreenSlots = viewer::config::MultiScreenSlots;

    struct HandOver {
        int cells;
        MultiScreenSlots broadcast, cable;
    };

    StandInViewer() { model.setBounds({2, 69, 1, 125}); }
    QWidget* viewerWidget() override { return nullptr; }
    ViewerSettings& viewerSettings() override { return settings; }
    SettingsStore& settingsStore() override { return store; }
    ChannelModel& channelModel() override { return model; }
    CTunerController& tunerController() override { return controller; }
    int displayedNumber() const override { return 0; }
    void TuneChannel(int channel, bool showDisplay) override { tunings.emplace_back(channel, showDisplay); }
    void setScanInProgress(bool) override {}
    bool scanInProgress() const override { return false; }
    void muteCardAudio(bool) override {}
    int qualityMode() const override { return 2; }
    void setQualityMode(int) override {}
    bool mixerOpen() const override { return false; }
    std::vector<std::string> mixerLineNames() override { return {}; }
    int selectedMixerLine() const override { return 0; }
    void selectMixerLine(int) override {}
    void setMultiScreen(int cells, const MultiScreenSlots& broadcast, const MultiScreenSlots& cable) override {
        handOvers.push_back({cells, broadcast, cable});
    }

    ViewerSettings settings;
    SettingsStore store;
    ChannelModel model;
    CTunerController controller;
    std::vector<std::pair<int, bool>> tunings;
    std::vector<HandOver> handOvers;
};

}  // namespace kelto::test
