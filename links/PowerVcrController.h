#pragma once
// What the video-recorder controller window does, without the window: while the recorder program
// (PowerVCR) runs and holds the capture device, the user changes the tuner's channel and the
// card's input from this small window.
//
// It drives the card through a tuner controller of its own, started at opening and released at
// closing, with its own copy of the country's channel tables. The registered lists, the current
// channels and the mode come from the saved state (the factory values while nothing was saved);
// closing writes the two current channels and the mode back, so the viewer opens where the
// controller left the tuner. Channel steps and mode changes act only while the recorder's main
// window exists.
//
// Modes: TV and CATV tune the band's current channel; VIDEO shows the composite input with its
// line sound. A saved SVHS mode (the viewer offers it) is kept and applied as it is; the mode key
// moves on from it to TV.
#include "channels/ChannelModel.h"
#include "channels/CTunerController.h"
#include "channels/HardwareMessageSink.h"
#include "platform/WindowSystem.h"
#include "settings/SettingsStore.h"
#include "settings/VideoMode.h"

namespace kelto {

class PowerVcrController {
public:
    PowerVcrController(SettingsStore& store, platform::WindowSystem& windows, HardwareMessageSink* messages);
    ~PowerVcrController();
    PowerVcrController(const PowerVcrController&) = delete;
    PowerVcrController& operator=(const PowerVcrController&) = delete;

    // Starts the tuner controller; when both libraries are there, reads the saved lists,
    // channels and mode and the country's tables, then applies the mode. False when the tuner
    // could not be started: the window still opens, shows no channel and changes nothing.
    bool open();
    // Writes "s_channel", "s_ctchannel" and "s_vmode" (only when open() read them) and releases
    // the tuner controller. Later calls do nothing.
    void close();

    bool started() const { return started_; }
    bool closed() const { return closed_; }
    VideoMode mode() const { return mode_; }
    int tvChannel() const { return tvChannel_; }
    int catvChannel() const { return catvChannel_; }
    // The channel of the active band; nullopt while an input is shown or the tuner did not start.
    std::optional<int> channel() const;

    // Whether the recorder program's main window exists now.
    bool recorderRunning() const;

    // The user's actions; each is true when it changed what the window shows. Next and previous
    // step through the band's registered list (from the last entry to the first and back); a
    // channel that is not registered counts as the first entry.
    bool next();
    bool previous();
    // TV, CATV, VIDEO, then TV again.
    bool nextMode();

    const ChannelModel& model() const { return model_; }
    CTunerController& tuner() { return tuner_; }

private:
    bool step(int direction);
    void applyMode();
    void tune(ChannelBand band, int channel);
    int& currentOf(ChannelBand band) { return band == ChannelBand::Broadcast ? tvChannel_ : catvChannel_; }

    SettingsStore& store_;
    platform::WindowSystem& windows_;
    CTunerController tuner_;
    ChannelModel model_;
    bool tunerStarted_ = false;
    bool started_ = false;
    bool closed_ = false;
    VideoMode mode_ = VideoMode::TV;
    int tvChannel_ = 0;
    int catvChannel_ = 0;
};

}  // namespace kelto
