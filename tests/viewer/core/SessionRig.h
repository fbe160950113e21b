#pragma once
// A viewer session over the real hardware-control library on the simulated card (United States
// plans: broadcast 2..69, cable 1..125, intermediate frequency 45.75 MHz), an in-memory mixer,
// virtual time, and widgets that record what they were asked to show.
#include "settings/SettingsStore.h"
#include "settings/ViewerSettings.h"
#include "cardsim/Card.h"
#include "cardsim/CardTestHook.h"
#include "channels/CTunerController.h"
#include "channels/ChannelModel.h"
#include "framework/VirtualTimerScheduler.h"
#include "mixer/CMixerVolume.h"
#include "platform/Clock.h"
#include "platform/DynamicLibrary.h"
#include "platform/Paths.h"
#include "tests/mixer/MixerRig.h"
#include "viewer/core/ViewerSession.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace kelto::viewer::test {

class RecordingOsd : public OsdSink {
public:
    void ShowOsdText(const OsdText& text) override {
        shown.push_back(text);
        visible = true;
    }
    void hideOsd() override { visible = false; }
    std::string lastText() const { return shown.empty() ? std::string() : shown.back().text; }
    std::vector<std::string> texts() const {
        std::vector<std::string> all;
        for (const auto& t : shown) all.push_back(t.text);
        return all;
    }
    std::vector<OsdText> shown;
    bool visible = false;
};

class RecordingPanel : public PanelSink {
public:
    void showChannelNumber(int number) override { channelNumber = number; }
    void showVolumeStep(int step) override { volumeStep = step; }
    void showMute(bool on) override { muted = on; }
    void showVideoMode(VideoMode mode) override { videoMode = mode; }
    int channelNumber = -1;
    int volumeStep = -1;
    bool muted = false;
    VideoMode videoMode = VideoMode::TV;
};

class RecordingKeypad : public KeypadSink {
public:
    struct Passed {
        std::uint32_t message;
        std::uint64_t wParam;
        bool operator==(const Passed&) const = default;
    };
    void showChannelNumber(int number) override { channelNumber = number; }
    void refresh() override { ++refreshes; }
    void passOn(std::uint32_t message, std::uint64_t wParam) override { passed.push_back({message, wParam}); }
    int channelNumber = -1;
    int refreshes = 0;
    std::vector<Passed> passed;
};

// The window's timers in virtual time: an expiry reaches the session as the window would pass it on.
class VirtualTimers : public TimerHost {
public:
    explicit VirtualTimers(framework::VirtualTimerScheduler& scheduler) : scheduler_(scheduler) {}
    void startTimer(int timerId, std::uint32_t periodMs) override {
        stopTimer(timerId);
        running_[timerId] = scheduler_.schedule(periodMs, false, [this, timerId] {
            running_.erase(timerId);
            if (session) session->onTimer(timerId);
        });
    }
    void stopTimer(int timerId) override {
        const auto found = running_.find(timerId);
        if (found == running_.end()) return;
        scheduler_.cancel(found->second);
        running_.erase(found);
    }
    bool running(int timerId) const { return running_.count(timerId) > 0; }
    ViewerSession* session = nullptr;

private:
    framework::VirtualTimerScheduler& scheduler_;
    std::map<int, std::uint64_t> running_;
};

struct NoTarget : platform::mixer::MixerNotificationTarget {
    void onMixerMessage(std::uint32_t, std::uintptr_t, std::uintptr_t) override {}
};

class SessionTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(platform::prepareInstallRoot());
        platform::setClock(&clock);
        cardsim::test::buildCard({}, {cardsim::test::tvStation(175'250'000, "WKEL 7")});
        controller.LoadBtVid();
        controller.SetRiscAudioFlag(0);
        controller.LoadRurorizi();
        model.ReadTunerConfig(controller, 1);
        model.setConfigPath((platform::windowsFolder() / kCountryFileName).string());
        model.chooseTableSource(controller, kDefaultTableName, 1);
        controller.Open();
        rig.buildSoundCard({0x8000, 0x8000});
        settings.countryCode = 1;
        settings.tvChannel = 7;
        settings.catvChannel = 6;
        registerBroadcast({6, 7, 9, 11, 12});
    }
    void TearDown() override {
        session.reset();
        mixer.Close();
        controller.UnloadRurorizi();
        controller.UnloadBtVid();
        cardsim::test::clearFaults();
        platform::setClock(nullptr);
    }

    void registerBroadcast(std::initializer_list<int> channels) { registerList(ChannelBand::Broadcast, channels); }
    void registerCable(std::initializer_list<int> channels) { registerList(ChannelBand::Cable, channels); }
    void registerList(ChannelBand band, std::initializer_list<int> channels) {
        RegisteredChannels& r = model.registered();
        for (int i = 0; i < kMaxChannel; ++i) r.setEntry(band, i, 0);
        int n = 0;
        for (int c : channels) r.setEntry(band, n++, c);
        r.setCount(band, n);
    }
    std::vector<int> registered(ChannelBand band) const {
        const RegisteredList& l = model.registered().list(band);
        return {l.channels.begin(), l.channels.begin() + l.count};
    }

    // Creates the session the way the window starts it: mixer, picture levels, the loaded mode.
    ViewerSession& start(bool withMixer = true) {
        session = std::make_unique<ViewerSession>(
            ViewerParts{settings, store, model, controller, mixer, timers, osd, panel, &keypad, recorder});
        timers.session = session.get();
        if (withMixer) session->openMixer(&target);
        session->applyPictureLevels();
        session->applyLoadedMode();
        osd.shown.clear();
        rig.mixer.clearWrites();
        cardsim::test::clearI2cLog();
        return *session;
    }
    void advanceMs(std::uint64_t periodMs) { scheduler.advanceMs(periodMs); }
    void characters(const std::string& typed) {
        for (char c : typed) session->onCharacter(std::uint32_t(c));
    }
    void setCompanions(bool keypadOpen, bool multiScreenOpen) {
        CompanionWindows open;
        open.keypadOpen = keypadOpen;
        open.multiScreenOpen = multiScreenOpen;
        session->setCompanions(open);
    }

    // The dividers written to the tuner (the first of each pair of two-byte writes to it).
    static std::vector<int> dividersOnTheBus() {
        std::vector<int> dividers;
        for (const auto& t : cardsim::test::i2cLog()) {
            if (t.read || t.address != 0xC0 || t.bytes.size() != 2 || (t.bytes[0] & 0x80)) continue;
            dividers.push_back(t.bytes[0] << 8 | t.bytes[1]);
        }
        return dividers;
    }
    // The values the session wrote to a mixer control, in order.
    std::vector<std::uint32_t> mixerWrites(std::uint32_t controlId) const {
        std::vector<std::uint32_t> values;
        for (const auto& w : rig.mixer.writes())
            if (w.controlId == controlId && !w.values.empty()) values.push_back(w.values[0]);
        return values;
    }

    platform::VirtualClock clock{std::chrono::system_clock::time_point(std::chrono::hours(24 * 365 * 30))};
    framework::VirtualTimerScheduler scheduler{clock};
    mixer::test::MixerRig rig;
    mixer::CMixerVolume mixer;
    NoTarget target;
    CTunerController controller;
    ChannelModel model;
    SettingsStore store;
    ViewerSettings settings;
    RecordingOsd osd;
    RecordingPanel panel;
    RecordingKeypad keypad;
    VirtualTimers timers{scheduler};
    RecordingPort* recorder = nullptr;
    std::unique_ptr<ViewerSession> session;
};

}  // namespace kelto::viewer::test
