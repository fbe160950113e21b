#include "settings/VideoMode.h"

namespace kelto {

const char* videoModeLabel(VideoMode mode) {
    switch (mode) {
    case VideoMode::CATV: return "CATV";
    case VideoMode::VIDEO: return "VIDEO";
    case VideoMode::SVHS: return "SVHS";
    case VideoMode::TV: break;
    }
    return "TV";
}

VideoMode videoModeFromInt(int value) {
    return (value >= 0 && value <= 3) ? static_cast<VideoMode>(value) : VideoMode::TV;
}

}  // namespace kelto
