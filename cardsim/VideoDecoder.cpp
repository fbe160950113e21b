#include "cardsim/VideoDecoder.h"

namespace kelto::cardsim {

bool VideoDecoder::selectInput(int input) {
    if (input < 1 || input > 3) return false;
    input_ = VideoInput(input);
    return true;
}

void VideoDecoder::pause(std::chrono::system_clock::time_point now) {
    if (paused_) return;
    paused_ = true;
    pausedAt_ = now;
}

}  // namespace kelto::cardsim
