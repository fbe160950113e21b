#pragma once
// The viewer's state and operations without widgets: tuning and channel navigation, numeric
// channel entry, registering channels, the video mode, mute and volume steps, the remote
// control's picture adjustment, and what the on-screen display, the panel and the keypad show
// of them. The menu, the accelerators, the panel, the remote control, the keypad, the
// multi-screen view and the reservation scheduler all drive this one object; the viewer window
// paints and forwards.
//
// It works on the viewer's settings copy, the channel model (bands, tables, registered channels,
// fine tuning), the hardware facade and the volume object, all owned by the window, and reaches
// the widgets through the ports of ViewerPorts.h. Every call comes from the user-interface thread.
#include "settings/SettingsStore.h"
#include "settings/ViewerSettings.h"
#include "channels/CTunerController.h"
#include "channels/ChannelModel.h"
#include "mixer/CMixerVolume.h"
#include "platform/mixer/MixerTypes.h"
#include "reservations/ReservationViewer.h"
#include "viewer/RemoteButtons.h"
#include "viewer/core/NumericEntry.h"
#include "viewer/core/PictureAdjust.h"
#include "viewer/core/ViewerPorts.h"
#include "viewer/core/VolumeSteps.h"

#include <array>
#include <cstdint>

namespace kelto::viewer {

// The window's timers the session runs.
constexpr int kNumericEntryTimer = 21;
constexpr std::uint32_t kNumericEntryPeriodMs = 1000;
constexpr int kOsdTimer = 24;
constexpr std::uint32_t kOsdPeriodMs = 2000;

// Messages of the remote controller and the mixer the session answers (named where they are
// defined: viewer/RemoteButtons.h, platform/mixer/MixerTypes.h).
constexpr std::uint32_t kMsgRemoteMute = remote::kMute;
constexpr std::uint32_t kMsgRemoteNextMode = remote::kSource;
constexpr std::uint32_t kMsgRemotePreviousChannel = remote::kPrevious;
constexpr std::uint32_t kMsgRemotePictureAdjust = remote::kAdjust;
constexpr std::uint32_t kMsgMixerLineChange = platform::mixer::kMessageLineChange;
constexpr std::uint32_t kMsgMixerControlChange = platform::mixer::kMessageControlChange;

struct ViewerParts {
    ViewerSettings& settings;
    SettingsStore& store;
    ChannelModel& channels;
    CTunerController& controller;
    mixer::CMixerVolume& mixer;
    TimerHost& timers;
    OsdSink& osd;
    PanelSink& panel;
    KeypadSink* keypad = nullptr;       // may be null: no keypad exists
    RecordingPort* recorder = nullptr;  // may be null: recording is refused
};

class ViewerSession : public ViewerControls {
public:
    explicit ViewerSession(const ViewerParts& parts);

    // --- start (in the window's opening order).
    // Opens the mixer with target receiving its change messages and selects the saved line.
    bool openMixer(platform::mixer::MixerNotificationTarget* target);
    // Applies the loaded picture levels to the card, brightness, contrast, hue, saturation.
    void applyPictureLevels();
    // Applies the loaded video mode (TV when the saved mode is SVHS and that mode is not enabled),
    // then shows the mute state and the volume.
    void applyLoadedMode();

    // --- the companion windows; the window reports them as they open and close.
    void setCompanions(const CompanionWindows& companions) { companions_ = companions; }
    const CompanionWindows& companions() const { return companions_; }

    // --- tuning and navigation.
    void TuneChannel(int channel, bool showDisplay);
    void channelUp();
    void channelDown();
    void previousChannel();
    // A digit 0..9 of a typed channel number.
    void digit(int value);
    void saveChannel();
    void deleteChannel();

    // --- video mode.
    void SetVideoMode(VideoMode mode);
    // The next mode: TV, CATV, VIDEO, then SVHS only when it is enabled, then TV again.
    void nextVideoMode();

    // --- sound.
    void muteToggle();
    void SetVolumeStep(int step);
    void volumeUp();
    void volumeDown();
    // Another mixer line chosen as the volume control.
    void selectMixerLine(int line);
    // The colour page's choice of line: selects it, then the volume step follows its level.
    void chooseMixerLine(int line);
    // The mute that leaves the mixer alone: only the card's audio (the scan's mute).
    void muteCardAudio(bool muted) { controller_.Mute(muted); }
    // While a scan runs, TuneChannel does not switch the sound off and on around each retune.
    void setScanInProgress(bool scanning) { scanInProgress_ = scanning; }
    bool scanInProgress() const { return scanInProgress_; }
    // A change message of the mixer (0x3D0 line, 0x3D1 control); ownWindowActive: the viewer
    // or the multi-screen view is the active window, which then ignores the message.
    void onMixerMessage(std::uint32_t message, bool ownWindowActive);

    // --- picture adjustment.
    void togglePictureAdjust();

    // --- input from the remote control and the keyboard.
    // A character from the remote-control receiving window.
    void onCharacter(std::uint32_t code);
    // A key-down of the window's own keyboard: digits of the main row (48..57) and of the numeric
    // pad (96..105) while the configuration sheet is closed. True when it was taken as a digit.
    bool onDigitKey(std::uint32_t virtualKey);
    // The remote's messages 0x440..0x443; false for any other message.
    bool onRemoteMessage(std::uint32_t message);

    // --- the window's timers 21 and 24 expired.
    void onTimer(int timerId);

    // --- the on-screen display; timer 24 hides it 2000 ms after its last auto-hiding text.
    // A text in the display colour that hides itself.
    void showOsd(const std::string& text, OsdAlign align, OsdEdge edge, int marginPx);
    // Any text: a new one restarts the 2000 ms; one without auto-hide stays until replaced or hidden.
    void showOsdText(const OsdText& text);
    // Hides the display (also what every resize of the window does).
    void hideOsd();

    // --- state.
    int tvChannel() const { return settings_.tvChannel; }
    int catvChannel() const { return settings_.catvChannel; }
    int previousTvChannel() const { return previousTv_; }
    int previousCatvChannel() const { return previousCatv_; }
    int displayedNumber() const { return displayedNumber_; }
    // The last tuned channel and the one before it.
    std::array<int, 2> lastTunedChannels() const { return lastTuned_; }
    bool muted() const { return muted_; }
    int volumeStep() const { return volumeStep_; }
    bool pictureAdjustActive() const { return adjust_.active(); }
    PictureItem pictureItem() const { return adjust_.item(); }
    bool numericEntryActive() const { return entry_.active(); }
    const VolumeSteps& volume() const { return volume_; }

    // --- ViewerControls (the reservation scheduler).
    VideoMode videoMode() const override { return settings_.videoMode; }
    void setVideoMode(VideoMode mode) override { SetVideoMode(mode); }
    int currentChannel() const override;
    void tuneChannel(int channel) override { TuneChannel(channel, true); }
    int countryCode() const override { return settings_.countryCode; }
    RegisteredList registeredList(VideoMode mode) const override;
    ChannelBounds channelBounds() const override { return channels_.bounds(); }
    RecordingSetup recordingSetup() override;
    void setRecordingSetup(const RecordingSetup& setup) override;
    std::string nextRecordingFileName() override;
    bool recordStream(const std::string& file) override;
    bool recording() const override { return recording_; }
    void endRecording() override;

private:
    bool tunerMode() const;
    ChannelBand band() const;
    bool listNumbering() const { return settings_.countryCode == 86; }
    void setSoundOff(bool off);
    void stepChannel(bool up);
    void endNumericEntry(int number);
    void showChannelOsd(int number);
    void showNumber(int number);
    void showMuteText();
    void changePictureLevel(int delta);
    void presentPictureLevel();

    ViewerSettings& settings_;
    SettingsStore& store_;
    ChannelModel& channels_;
    CTunerController& controller_;
    TimerHost& timers_;
    OsdSink& osd_;
    PanelSink& panel_;
    KeypadSink* keypad_;
    RecordingPort* recorder_;
    VolumeSteps volume_;

    CompanionWindows companions_;
    int previousTv_ = 0;
    int previousCatv_ = 0;
    int displayedNumber_ = 0;
    std::array<int, 2> lastTuned_{};
    NumericEntry entry_;
    bool muted_ = false;
    int volumeStep_ = kHighestVolumeStep;
    PictureAdjust adjust_;
    bool recording_ = false;
    bool scanInProgress_ = false;
};

}  // namespace kelto::viewer
