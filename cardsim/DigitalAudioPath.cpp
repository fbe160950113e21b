#include "cardsim/DigitalAudioPath.h"

namespace kelto::cardsim {

std::uint32_t DigitalAudioPath::processCommand(std::uint32_t command, std::uint32_t value) {
    if (failingCommands.contains(command)) return 1;
    switch (command) {
    case kSetRoute:
        if (value > 3) return 1;
        route_ = value;
        return 0;
    case kSetting33:
    case kSetting80:
    case kSetting81: settings[command] = value; return 0;
    case kIsRunning: return running_ ? 0 : 1;
    case kMute: muted_ = true; return 0;
    case kUnmute: muted_ = false; return 0;
    case kStart: running_ = true; return 0;
    case kStop: running_ = false; return 0;
    default: return 1;
    }
}

}  // namespace kelto::cardsim
