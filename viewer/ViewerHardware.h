#pragma once
// The viewer's picture and tuner: the capture window with the live picture, the tuner
// controller with its two libraries, and the channel model of the user's country, started in the
// viewer's opening order (capture window and driver, then the tuner controller).
#include "viewer/ViewerOpening.h"
#include "settings/ViewerSettings.h"
#include "capture/CCaptureWindow.h"
#include "channels/CTunerController.h"
#include "channels/ChannelModel.h"
#include "channels/HardwareMessageSink.h"

#include <memory>
#include <optional>

class QWidget;

namespace kelto {

class ViewerHardware : private HardwareMessageSink {
public:
    ViewerHardware(SettingsStore& store, QWidget* parent);
    ~ViewerHardware() override;

    // Makes the channel tables of the country (or the user's table file) the active ones and
    // returns their band limits; the settings load calls it once it has read the country code
    // and the table name.
    ChannelBounds chooseTables(const std::string& countryFile, int countryCode, const std::string& frequencyName);
    // Where the active tables came from (the country file until chooseTables picks a table file).
    TableSource tableSource() const { return tableSource_; }
    // Starts the capture window and the tuner controller and hands the saved registered channels
    // and fine tuning to the channel model, which keeps them from then on. A library that does
    // not load, or lacks entry points, is reported by its message and the start goes on without
    // what is missing. The refusal (its message already shown) when the viewer cannot open.
    std::optional<OpeningRefusal> start(ViewerSettings& settings, const std::string& countryFile);
    void stop();
    // Copies the channel model's registered channels and fine tuning into the settings to save.
    void takeBackChannels(ViewerSettings& settings) const;

    // Places the live picture.
    void setPictureGeometry(int x, int y, int width, int height);
    // Switches the source and tunes the band's current channel (modes 0 and 1).
    void applyMode(VideoMode mode, int channel);
    // Tunes a channel of the band of the mode; the channel actually tuned (clamped to the band).
    int tune(VideoMode mode, int channel);
    const ChannelModel& model() const { return model_; }
    ChannelModel& model() { return model_; }
    ChannelBounds bounds() const { return model_.bounds(); }

    capture::CCaptureWindow& captureWindow() { return capture_; }
    CTunerController& controller() { return controller_; }

private:
    void showHardwareMessage(int stringId, const std::string& text, const std::string& caption) override;

    SettingsStore& store_;
    QWidget* parent_;
    capture::CCaptureWindow capture_;
    CTunerController controller_{this};
    ChannelModel model_;
    TableSource tableSource_ = TableSource::ConfigFile;
    bool started_ = false;
};

}  // namespace kelto
