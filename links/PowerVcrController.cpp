#include "links/PowerVcrController.h"

#include "channels/TunerStart.h"
#include "links/LinkMessages.h"
#include "platform/SystemInfo.h"
#include "platform/Trace.h"
#include "settings/ViewerSettings.h"

namespace kelto {

namespace {

bool tunerMode(VideoMode mode) { return mode == VideoMode::TV || mode == VideoMode::CATV; }
ChannelBand bandOf(VideoMode mode) { return mode == VideoMode::CATV ? ChannelBand::Cable : ChannelBand::Broadcast; }

}  // namespace

PowerVcrController::PowerVcrController(SettingsStore& store, platform::WindowSystem& windows,
                                       HardwareMessageSink* messages)
    : store_(store), windows_(windows), tuner_(messages) {}

PowerVcrController::~PowerVcrController() {
    // Gone without a close: the libraries are released, the saved state is left as it was.
    if (tunerStarted_) releaseTunerController(tuner_);
}

bool PowerVcrController::open() {
    if (tunerStarted_ || closed_) return started_;
    // The saved state names the country; the tuner's data for it is read during the start.
    const int countryCode = store_.readInt(section::kUser, "CountryCode", platform::userCountryCode());
    const TunerStartResult start =
        startTunerController(tuner_, model_, countryCode, kCountryFileName, RiscAudio::LeaveAsIs);
    tunerStarted_ = true;
    if (!start.complete()) {
        platform::traceLine("Recorder controller: the tuner did not start; the window shows no channel");
        return false;
    }

    // The registered lists, the current channels and the mode as the viewer would open with them.
    // The channel tables always come from the country file (a table file is the viewer's choice);
    // they are this controller's own, so the open viewer's tables stay as they are.
    const ViewerSettings saved =
        loadViewerSettings(store_, SettingsLoadContext{}, [this](int code, const std::string&) {
            model_.setConfigPath(kCountryFileName);
            model_.LoadConfigTables(kCountryFileName, code);
            model_.ApplyTables(tuner_);
            return model_.bounds();
        });
    // Tuning here adds no fine tuning: the lists come without it.
    model_.registered() = RegisteredChannels(saved.tvList, saved.catvList, FineTuneTable{}, FineTuneTable{});
    tvChannel_ = saved.tvChannel;
    catvChannel_ = saved.catvChannel;
    mode_ = saved.videoMode;
    started_ = true;
    applyMode();
    return true;
}

void PowerVcrController::close() {
    if (closed_) return;
    closed_ = true;
    if (started_) {
        SettingsStore::WriteGroup group(store_);
        store_.writeInt(section::kUser, "s_channel", tvChannel_);
        store_.writeInt(section::kUser, "s_ctchannel", catvChannel_);
        store_.writeInt(section::kUser, "s_vmode", int(mode_));
    }
    if (tunerStarted_) releaseTunerController(tuner_);
    tunerStarted_ = false;
}

std::optional<int> PowerVcrController::channel() const {
    if (!started_ || closed_ || !tunerMode(mode_)) return std::nullopt;
    return mode_ == VideoMode::CATV ? catvChannel_ : tvChannel_;
}

bool PowerVcrController::recorderRunning() const { return bool(windows_.findWindow(kPowerVcrClass, kPowerVcrTitle)); }

bool PowerVcrController::next() { return step(+1); }
bool PowerVcrController::previous() { return step(-1); }

bool PowerVcrController::step(int direction) {
    if (!started_ || closed_ || !tunerMode(mode_) || !recorderRunning()) return false;
    const ChannelBand band = bandOf(mode_);
    const RegisteredList& list = model_.registered().list(band);
    if (list.count <= 0) return false;  // nothing registered to step to
    int position = list.indexOf(currentOf(band));
    if (position < 0) position = 0;
    position = (position + direction + list.count) % list.count;
    currentOf(band) = list.channels[std::size_t(position)];
    tune(band, currentOf(band));
    return true;
}

bool PowerVcrController::nextMode() {
    if (!started_ || closed_ || !recorderRunning()) return false;
    // TV, CATV, VIDEO, then back to TV; a kept SVHS goes on to TV as well.
    mode_ = (mode_ == VideoMode::TV) ? VideoMode::CATV : (mode_ == VideoMode::CATV ? VideoMode::VIDEO : VideoMode::TV);
    applyMode();
    return true;
}

void PowerVcrController::applyMode() {
    // The library switches the sound with the picture: the tuner's for TV and CATV, the line
    // input's otherwise.
    tuner_.SetInput(mode_);
    if (tunerMode(mode_)) tune(bandOf(mode_), currentOf(bandOf(mode_)));
}

void PowerVcrController::tune(ChannelBand band, int channel) {
    const auto divider = model_.ComputeDivider(band, channel);
    if (!divider) {
        platform::tracef("Recorder controller: channel %d cannot be tuned", channel);
        return;
    }
    if (band == ChannelBand::Cable) tuner_.TuneCable(channel, divider->high(), divider->low());
    else tuner_.TuneBroadcast(channel, divider->high(), divider->low());
}

}  // namespace kelto
