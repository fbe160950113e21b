#include "viewer/ViewerHardware.h"

#include "capture/CaptureWindowWidget.h"
#include "channels/TunerStart.h"
#include "framework/MessageBoxes.h"
#include "platform/Trace.h"
#include "platform/sound/PcmOutput.h"

#include <algorithm>

namespace kelto {

ViewerHardware::ViewerHardware(SettingsStore& store, QWidget* parent) : store_(store), parent_(parent), capture_(store) {}

ViewerHardware::~ViewerHardware() { stop(); }

// Messages 186 and 187 have no owner window and the stop icon.
void ViewerHardware::showHardwareMessage(int, const std::string& text, const std::string& caption) {
    framework::messageBox(nullptr, framework::MessageBoxRequest{text, caption, framework::MessageButtons::Ok,
                                                                framework::MessageIcon::Stop});
}

ChannelBounds ViewerHardware::chooseTables(const std::string& countryFile, int countryCode,
                                           const std::string& frequencyName) {
    model_.setConfigPath(countryFile);
    tableSource_ = model_.chooseTableSource(controller_, frequencyName, countryCode);
    return model_.bounds();
}

std::optional<OpeningRefusal> ViewerHardware::start(ViewerSettings& settings, const std::string& countryFile) {
    // The capture window and its driver.
    if (!capture_.Create(capture::CCaptureWindow::WS_CHILD | capture::CCaptureWindow::WS_VISIBLE, 0, 0, 320, 240,
                         parent_) ||
        !capture_.Connect()) {
        showRefusal(parent_, OpeningRefusal::Capture);
        return OpeningRefusal::Capture;
    }
    // The card's sound plays with the live picture (the output is taken before the picture starts).
    if (auto* widget = capture_.GetWindow()) widget->service().setLiveSoundOutput(platform::sound::makeSoundOutput());
    capture_.SetOverlay(true);

    // The tuner controller: the video driver library, RISC audio off, the hardware library and
    // the country's tuner data (the channel tables were chosen by the settings load). The load
    // results are not examined: messages 186/187 are their only report, and every operation
    // skips an entry point that is missing.
    model_.setConfigPath(countryFile);
    startTunerController(controller_, model_, settings.countryCode, countryFile, RiscAudio::SwitchOff);
    started_ = true;
    model_.registered() =
        RegisteredChannels(settings.tvList, settings.catvList, settings.tvFineTune, settings.catvFineTune);
    const PictureLevels levels = loadPictureLevels(store_);
    controller_.SetBrightness(levels.brightness);
    controller_.SetContrast(levels.contrast);
    controller_.SetHue(levels.hue);
    controller_.SetSaturation(levels.saturation);
    return std::nullopt;
}

void ViewerHardware::stop() {
    if (!started_) return;
    started_ = false;
    controller_.Mute(true);
    releaseTunerController(controller_);
}

void ViewerHardware::takeBackChannels(ViewerSettings& settings) const {
    const RegisteredChannels& channels = model_.registered();
    settings.tvList = channels.list(ChannelBand::Broadcast);
    settings.catvList = channels.list(ChannelBand::Cable);
    settings.tvFineTune = channels.fineTuneTable(ChannelBand::Broadcast);
    settings.catvFineTune = channels.fineTuneTable(ChannelBand::Cable);
}

void ViewerHardware::setPictureGeometry(int x, int y, int width, int height) {
    if (auto* widget = capture_.GetWindow()) widget->setGeometry(x, y, width, height);
}

void ViewerHardware::applyMode(VideoMode mode, int channel) {
    controller_.SetInput(mode);  // also routes the tuner's or the input's sound
    if (mode == VideoMode::TV || mode == VideoMode::CATV) tune(mode, channel);
    controller_.Mute(false);
}

int ViewerHardware::tune(VideoMode mode, int channel) {
    const bool cable = mode == VideoMode::CATV;
    const ChannelBounds b = model_.bounds();
    const int lowest = cable ? b.catvLowest : b.tvLowest, highest = cable ? b.catvHighest : b.tvHighest;
    if (lowest <= highest) channel = std::clamp(channel, lowest, highest);
    const auto divider = model_.ComputeDivider(cable ? ChannelBand::Cable : ChannelBand::Broadcast, channel);
    if (!divider) {
        platform::tracef("Viewer: channel %d has no frequency in the active table", channel);
        return channel;
    }
    if (cable) controller_.TuneCable(channel, divider->high(), divider->low());
    else controller_.TuneBroadcast(channel, divider->high(), divider->low());
    return channel;
}

}  // namespace kelto
