#pragma once
// The video decoder half of the chip: input selection (1 S-Video, 2 tuner, 3 composite), the
// picture controls (0..255, 128 is neutral), freeze (pause and continue) and the closed-caption
// settings the driver keeps for its caption window.
#include <chrono>
#include <cstdint>
#include <string>

namespace kelto::cardsim {

enum class VideoInput : int { SVideo = 1, Tuner = 2, Composite = 3 };

struct PictureControls {
    int brightness = 128;
    int contrast = 128;
    int hue = 128;
    int saturation = 128;
};

class VideoDecoder {
public:
    static constexpr int kControlMax = 255;
    static constexpr std::size_t kCaptionFileNameMax = 259;

    bool selectInput(int input);  // false for inputs other than 1, 2, 3
    VideoInput input() const { return input_; }

    PictureControls controls;

    // Freezes the picture at the given time; a second pause keeps the first time.
    void pause(std::chrono::system_clock::time_point now);
    void resume() { paused_ = false; }
    bool paused() const { return paused_; }
    std::chrono::system_clock::time_point pausedAt() const { return pausedAt_; }

    int lastChannel = 0;          // told by the channel-change notifications
    bool channelChanging = false;  // between the two notifications

    int captionStatus = 0;
    int captionAlert = 0;
    std::string captionFileName;

private:
    VideoInput input_ = VideoInput::Tuner;
    bool paused_ = false;
    std::chrono::system_clock::time_point pausedAt_{};
};

}  // namespace kelto::cardsim
