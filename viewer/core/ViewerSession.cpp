#include "viewer/core/ViewerSession.h"

#include "capture/NextCaptureFileName.h"
#include "platform/Trace.h"
#include "platform/WindowMessageIds.h"
#include "viewer/core/ChannelStepping.h"

#include <algorithm>
#include <cstdio>

namespace kelto::viewer {

namespace {

constexpr int kChannelMarginPx = 20;
constexpr int kNoticeMarginPx = 10;
constexpr int kListNumberingCountry = 86;

std::string formatted(const char* format, int value) {
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

}  // namespace

ViewerSession::ViewerSession(const ViewerParts& parts)
    : settings_(parts.settings),
      store_(parts.store),
      channels_(parts.channels),
      controller_(parts.controller),
      timers_(parts.timers),
      osd_(parts.osd),
      panel_(parts.panel),
      keypad_(parts.keypad),
      recorder_(parts.recorder),
      volume_(parts.mixer, parts.controller),
      // Until another channel of a band is tuned, its previous channel is the one it starts on.
      previousTv_(parts.settings.tvChannel),
      previousCatv_(parts.settings.catvChannel) {}

// --- start

bool ViewerSession::openMixer(platform::mixer::MixerNotificationTarget* target) {
    return volume_.open(target, settings_.volumeLine);
}

void ViewerSession::applyPictureLevels() {
    settings_.picture = loadPictureLevels(store_);
    controller_.SetBrightness(settings_.picture.brightness);
    controller_.SetContrast(settings_.picture.contrast);
    controller_.SetHue(settings_.picture.hue);
    controller_.SetSaturation(settings_.picture.saturation);
}

void ViewerSession::applyLoadedMode() {
    VideoMode mode = settings_.videoMode;
    if (mode == VideoMode::SVHS && !settings_.enableSvhs) mode = VideoMode::TV;
    SetVideoMode(mode);
    panel_.showMute(muted_);
    panel_.showVolumeStep(volumeStep_);
}

// --- tuning and navigation

bool ViewerSession::tunerMode() const {
    return settings_.videoMode == VideoMode::TV || settings_.videoMode == VideoMode::CATV;
}

ChannelBand ViewerSession::band() const {
    return settings_.videoMode == VideoMode::CATV ? ChannelBand::Cable : ChannelBand::Broadcast;
}

int ViewerSession::currentChannel() const {
    return settings_.videoMode == VideoMode::CATV ? settings_.catvChannel : settings_.tvChannel;
}

RegisteredList ViewerSession::registeredList(VideoMode mode) const {
    return channels_.registered().list(mode == VideoMode::CATV ? ChannelBand::Cable : ChannelBand::Broadcast);
}

void ViewerSession::TuneChannel(int channel, bool showDisplay) {
    // Muted by the user, or by a running scan for its whole length: the sound stays as it is.
    const bool leaveSound = muted_ || scanInProgress_;
    if (!leaveSound) setSoundOff(true);

    if (tunerMode()) {
        const bool cable = band() == ChannelBand::Cable;
        const ChannelBounds bounds = channels_.bounds();
        const int lowest = cable ? bounds.catvLowest : bounds.tvLowest;
        const int highest = cable ? bounds.catvHighest : bounds.tvHighest;
        // A band whose limits are reversed (no plan for the country) has nothing to clamp to.
        if (lowest <= highest) channel = std::clamp(channel, lowest, highest);
        int& current = cable ? settings_.catvChannel : settings_.tvChannel;
        (cable ? previousCatv_ : previousTv_) = current;
        current = channel;

        if (const auto divider = channels_.ComputeDivider(band(), channel)) {
            if (cable) controller_.TuneCable(channel, divider->high(), divider->low());
            else controller_.TuneBroadcast(channel, divider->high(), divider->low());
        } else {
            platform::tracef("Viewer: channel %d has no frequency in the active table; not tuned", channel);
        }

        const auto shown = channels_.registered().shownNumber(
            band(), channel, listNumbering() ? ChannelNumbering::ListPosition : ChannelNumbering::ChannelNumber);
        displayedNumber_ = shown.value_or(0);
        lastTuned_[1] = lastTuned_[0];
        lastTuned_[0] = channel;
        if (showDisplay) showChannelOsd(displayedNumber_);
        showNumber(displayedNumber_);
    }

    if (!leaveSound) setSoundOff(false);
}

void ViewerSession::stepChannel(bool up) {
    if (!tunerMode()) return;
    const bool cable = band() == ChannelBand::Cable;
    const ChannelBounds bounds = channels_.bounds();
    const int current = currentChannel();
    const int next = steppedChannel(channels_.registered().list(band()), current,
                                    up ? StepDirection::Up : StepDirection::Down,
                                    cable ? bounds.catvLowest : bounds.tvLowest,
                                    cable ? bounds.catvHighest : bounds.tvHighest);
    if (next != current) TuneChannel(next, true);
}

void ViewerSession::channelUp() { stepChannel(true); }

void ViewerSession::channelDown() { stepChannel(false); }

void ViewerSession::previousChannel() {
    if (companions_.multiScreenOpen) return;
    if (companions_.keypadOpen) {
        if (keypad_) keypad_->passOn(kMsgRemotePreviousChannel, 0);
        return;
    }
    if (settings_.videoMode == VideoMode::TV) TuneChannel(previousTv_, true);
    else if (settings_.videoMode == VideoMode::CATV) TuneChannel(previousCatv_, true);
}

void ViewerSession::digit(int value) {
    if (value < 0 || value > 9 || companions_.multiScreenOpen || !tunerMode()) return;
    timers_.stopTimer(kNumericEntryTimer);
    const NumericEntry::Step step = entry_.addDigit(value, settings_.videoMode == VideoMode::CATV);
    showChannelOsd(step.number);
    showNumber(step.number);
    if (step.ended) endNumericEntry(step.number);
    else timers_.startTimer(kNumericEntryTimer, kNumericEntryPeriodMs);
}

// With list-position numbering a typed number is shown but not tuned; the panel then goes back
// to the number of the channel that is on.
void ViewerSession::endNumericEntry(int number) {
    entry_.clear();
    if (!listNumbering()) TuneChannel(number, true);
    else showNumber(displayedNumber_);
}

void ViewerSession::saveChannel() {
    if (listNumbering() || !tunerMode()) return;
    const ChannelBounds bounds = channels_.bounds();
    const int highest = band() == ChannelBand::Cable ? bounds.catvHighest : bounds.tvHighest;
    const int channel = currentChannel();
    if (!registerChannel(channels_.registered(), band(), channel, highest)) return;
    showOsd(formatted("SAVE CH : %d", channel), OsdAlign::Right, OsdEdge::Top, kNoticeMarginPx);
}

// With list-position numbering the display names the channel by the position it had.
void ViewerSession::deleteChannel() {
    if (!tunerMode()) return;
    const int channel = currentChannel();
    const auto position = unregisterChannel(channels_.registered(), band(), channel);
    if (!position) return;
    showOsd(formatted("DELETE CH : %d", listNumbering() ? *position : channel), OsdAlign::Right, OsdEdge::Top,
            kNoticeMarginPx);
}

// --- video mode

void ViewerSession::SetVideoMode(VideoMode mode) {
    const int value = int(mode);
    if (value < 0 || value > 3) return;
    if (mode == VideoMode::SVHS && !settings_.enableSvhs) return;
    // A number being typed belongs to the band it was typed in.
    timers_.stopTimer(kNumericEntryTimer);
    entry_.clear();

    showOsd(videoModeLabel(mode), OsdAlign::Left, OsdEdge::Bottom, kNoticeMarginPx);
    settings_.videoMode = mode;
    controller_.SetInput(mode);
    constexpr int kLineInputRoute = 0, kTunerRoute = 1;
    controller_.AudioRoute(tunerMode() ? kTunerRoute : kLineInputRoute);
    if (tunerMode()) TuneChannel(currentChannel(), false);
    panel_.showVideoMode(mode);
    if (companions_.keypadOpen && keypad_) keypad_->refresh();
}

void ViewerSession::nextVideoMode() {
    int next = int(settings_.videoMode) + 1;
    if (next > 3 || (next == 3 && !settings_.enableSvhs)) next = 0;
    SetVideoMode(VideoMode(next));
}

// --- sound

void ViewerSession::setSoundOff(bool off) {
    if (!volume_.opened()) return;
    volume_.setSoundOff(off);
    if (companions_.keypadOpen && keypad_) keypad_->refresh();
}

void ViewerSession::showMuteText() {
    showOsd(muted_ ? "MUTE ON" : "MUTE OFF", OsdAlign::Left, OsdEdge::Bottom, kNoticeMarginPx);
}

void ViewerSession::muteToggle() {
    muted_ = !muted_;
    panel_.showMute(muted_);
    setSoundOff(muted_);
    // The keypad shows the mute state like the panel, with or without a mixer.
    if (companions_.keypadOpen && keypad_) keypad_->refresh();
    showMuteText();
}

void ViewerSession::SetVolumeStep(int step) {
    if (muted_) muteToggle();
    step = std::clamp(step, kLowestVolumeStep, kHighestVolumeStep);
    volume_.writeStep(step);
    volumeStep_ = step;
    showOsd(volumeText(step), OsdAlign::Left, OsdEdge::Bottom, kNoticeMarginPx);
    panel_.showVolumeStep(step);
    if (companions_.keypadOpen && keypad_) keypad_->refresh();
}

void ViewerSession::volumeUp() {
    if (volumeStep_ + 1 <= kHighestVolumeStep) SetVolumeStep(volumeStep_ + 1);
}

void ViewerSession::volumeDown() {
    if (volumeStep_ - 1 >= kLowestVolumeStep) SetVolumeStep(volumeStep_ - 1);
}

void ViewerSession::selectMixerLine(int line) {
    if (volume_.selectLine(line)) settings_.volumeLine = line;
}

void ViewerSession::chooseMixerLine(int line) {
    selectMixerLine(line);
    if (const auto step = volume_.readStep()) SetVolumeStep(*step);
}

void ViewerSession::onMixerMessage(std::uint32_t message, bool ownWindowActive) {
    if (ownWindowActive) return;
    if (message == kMsgMixerLineChange) {
        const auto mixerMuted = volume_.readMute();
        if (!mixerMuted || *mixerMuted == muted_) return;
        muted_ = *mixerMuted;
        panel_.showMute(muted_);
        showMuteText();
    } else if (message == kMsgMixerControlChange) {
        const auto step = volume_.readStep();
        if (step && *step != volumeStep_) SetVolumeStep(*step);
    }
}

// --- picture adjustment

void ViewerSession::togglePictureAdjust() {
    if (companions_.multiScreenOpen) return;
    adjust_.toggle();
    if (adjust_.active()) presentPictureLevel();
    else SetVolumeStep(volumeStep_);
}

void ViewerSession::changePictureLevel(int delta) {
    int& level = pictureLevel(settings_.picture, adjust_.item());
    level = std::clamp(level + delta, 0, kPictureLevelMax);
    presentPictureLevel();
}

// Applies the selected level, keeps it in the store at once, and shows it.
void ViewerSession::presentPictureLevel() {
    const PictureItem item = adjust_.item();
    const int value = std::clamp(pictureLevel(settings_.picture, item), 0, kPictureLevelMax);
    switch (item) {
    case PictureItem::Brightness: controller_.SetBrightness(value); break;
    case PictureItem::Contrast: controller_.SetContrast(value); break;
    case PictureItem::Hue: controller_.SetHue(value); break;
    case PictureItem::Saturation: controller_.SetSaturation(value); break;
    }
    store_.writeInt(section::kUser, pictureLevelName(item), value);
    showOsd(pictureLevelText(item, value), OsdAlign::Left, OsdEdge::Bottom, kNoticeMarginPx);
}

// --- input

void ViewerSession::onCharacter(std::uint32_t code) {
    if (companions_.keypadOpen) {
        if (keypad_) keypad_->passOn(platform::WM_CHAR, code);
        return;
    }
    if (code >= '0' && code <= '9') {
        digit(int(code - '0'));
        return;
    }
    if (code < 37 || code > 40 || companions_.multiScreenOpen) return;
    if (adjust_.active()) {
        switch (code) {
        case 37: changePictureLevel(-1); break;
        case 38: adjust_.nextItem(); presentPictureLevel(); break;
        case 39: changePictureLevel(+1); break;
        case 40: adjust_.previousItem(); presentPictureLevel(); break;
        }
        return;
    }
    switch (code) {
    case 37: volumeDown(); break;
    case 38: channelUp(); break;
    case 39: volumeUp(); break;
    case 40: channelDown(); break;
    }
}

bool ViewerSession::onDigitKey(std::uint32_t virtualKey) {
    int value = -1;
    if (virtualKey >= 48 && virtualKey <= 57) value = int(virtualKey - 48);
    else if (virtualKey >= 96 && virtualKey <= 105) value = int(virtualKey - 96);
    if (value < 0 || companions_.configSheetOpen) return false;
    digit(value);
    return true;
}

bool ViewerSession::onRemoteMessage(std::uint32_t message) {
    switch (message) {
    case kMsgRemoteMute:
        if (companions_.multiScreenOpen) return true;
        if (companions_.keypadOpen) {
            if (keypad_) keypad_->passOn(message, 0);
        } else {
            muteToggle();
        }
        return true;
    case kMsgRemoteNextMode:
        if (!companions_.multiScreenOpen && !companions_.keypadOpen && !companions_.configSheetOpen &&
            !companions_.captureSheetOpen)
            nextVideoMode();
        return true;
    case kMsgRemotePreviousChannel:
        if (companions_.keypadOpen) {
            if (keypad_) keypad_->passOn(message, 0);
        } else {
            previousChannel();
        }
        return true;
    case kMsgRemotePictureAdjust:
        togglePictureAdjust();
        return true;
    default: return false;
    }
}

// --- timers and the display

void ViewerSession::onTimer(int timerId) {
    if (timerId == kNumericEntryTimer) {
        timers_.stopTimer(kNumericEntryTimer);
        if (entry_.active()) endNumericEntry(entry_.number());
    } else if (timerId == kOsdTimer) {
        timers_.stopTimer(kOsdTimer);
        osd_.hideOsd();
    }
}

void ViewerSession::showOsd(const std::string& text, OsdAlign align, OsdEdge edge, int marginPx) {
    showOsdText(OsdText{text, align, edge, settings_.osdColor, true, marginPx});
}

void ViewerSession::showOsdText(const OsdText& text) {
    osd_.ShowOsdText(text);
    // One text at a time: an earlier text's period never cuts this one short or hides one that stays.
    if (text.autoHide) timers_.startTimer(kOsdTimer, kOsdPeriodMs);
    else timers_.stopTimer(kOsdTimer);
}

void ViewerSession::hideOsd() {
    timers_.stopTimer(kOsdTimer);
    osd_.hideOsd();
}

void ViewerSession::showChannelOsd(int number) {
    showOsd(formatted("CH %3d", number), OsdAlign::Right, OsdEdge::Top, kChannelMarginPx);
}

void ViewerSession::showNumber(int number) {
    panel_.showChannelNumber(number);
    if (companions_.keypadOpen && keypad_) keypad_->showChannelNumber(number);
}

// --- recording

RecordingSetup ViewerSession::recordingSetup() { return recorder_ ? recorder_->recordingSetup() : RecordingSetup{}; }

void ViewerSession::setRecordingSetup(const RecordingSetup& setup) {
    if (recorder_) recorder_->setRecordingSetup(setup);
}

std::string ViewerSession::nextRecordingFileName() {
    using capture::RecordingType;
    switch (settings_.streamFormat) {
    case 1: return capture::NextCaptureFileName(settings_.mpg1Directory, settings_.mpg1FileName, RecordingType::Mpeg1);
    case 2: return capture::NextCaptureFileName(settings_.mpg2Directory, settings_.mpg2FileName, RecordingType::Mpeg2);
    default: return capture::NextCaptureFileName(settings_.aviDirectory, settings_.aviFileName, RecordingType::Avi);
    }
}

bool ViewerSession::recordStream(const std::string& file) {
    if (!recorder_ || recording_) return false;
    recording_ = true;
    const bool recorded = recorder_->recordStream(file, settings_.streamFormat);
    recording_ = false;
    if (!recorded) platform::tracef("Viewer: recording %s failed", file.c_str());
    return recorded;
}

void ViewerSession::endRecording() {
    if (recording_ && recorder_) recorder_->stopRecording();
}

}  // namespace kelto::viewer
