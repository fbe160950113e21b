#include "app/ViewerHardware.h"

#include "capture/CaptureWindowWidget.h"
#include "framework/MessageBoxes.h"
#include "platform/Trace.h"

#include <algorithm>

namespace kelto {

ViewerHardware::ViewerHardware(SettingsStore& store, QWidget* parent) : store_(store), parent_(parent), capture_(store) {}

ViewerHardware::~ViewerHardware() { stop(); }

void ViewerHardware::showHardwareMessage(int, const std::string& text, const std::string& caption) {
    framework::messageBox(parent_, framework::MessageBoxRequest{text, caption, framework::MessageButtons::Ok,
                                                                framework::MessageIcon::Information});
}

std::optional<OpeningRefusal> ViewerHardware::start(ViewerSettings& settings, const std::string& countryFile) {
    // The capture window and its driver.
    if (!capture_.Create(capture::CCaptureWindow::WS_CHILD | capture::CCaptureWindow::WS_VISIBLE, 0, 0, 320, 240,
                         parent_) ||
        !capture_.Connect()) {
        showRefusal(parent_, OpeningRefusal::Capture);
        return OpeningRefusal::Capture;
    }
    capture_.SetOverlay(true);

    // The tuner controller: the video driver library, RISC audio off, the hardware library.
    if (controller_.LoadBtVid() != 1) return OpeningRefusal::Tuner;
    controller_.SetRiscAudioFlag(0);
    if (controller_.LoadRurorizi() != 1) {
        controller_.UnloadBtVid();
        return OpeningRefusal::Tuner;
    }
    controller_.Open();
    started_ = true;

    // The country's tuner data and channel tables (or the user's table file).
    model_.setConfigPath(countryFile);
    model_.ReadTunerConfig(controller_, settings.countryCode, countryFile);
    model_.chooseTableSource(controller_, settings.frequencyName, settings.countryCode);
    for (int n = 1; n <= kMaxChannel; ++n) {
        controller_.setFineTune(ChannelBand::Broadcast, n, settings.tvFineTune[std::size_t(n)]);
        controller_.setFineTune(ChannelBand::Cable, n, settings.catvFineTune[std::size_t(n)]);
    }
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
    controller_.Close();
    controller_.UnloadRurorizi();
    controller_.UnloadBtVid();
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
