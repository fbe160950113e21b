#include "viewer/config/ColourPageRules.h"

#include <algorithm>
#include <cstdlib>

namespace kelto::viewer::config {

namespace {
constexpr int kKeyNearness = 4;
constexpr int kColourStep = 5;
constexpr int kHighestComponent = 255;
}  // namespace

int scrolledPictureLevel(int position, ScrollCode code, int deliveredPosition) {
    int level = position;
    switch (code) {
    case ScrollCode::LineLeft: level = position - kPictureLevelLine; break;
    case ScrollCode::LineRight: level = position + kPictureLevelLine; break;
    case ScrollCode::PageLeft: level = position - kPictureLevelPage; break;
    case ScrollCode::PageRight: level = position + kPictureLevelPage; break;
    case ScrollCode::ThumbPosition: level = deliveredPosition; break;
    case ScrollCode::ThumbTrack:
    case ScrollCode::Other: break;
    }
    return std::clamp(level, kLowestPictureLevel, kHighestPictureLevel);
}

void separateFromColourKey(ColorTriple& display, const ColorTriple& colourKey) {
    if (std::abs(display.green - colourKey.green) > kKeyNearness) return;
    if (display.green == 0) {
        display.green = kColourStep;
    } else if (display.green == kHighestComponent) {
        display.green = kHighestComponent - kColourStep;
    } else {
        // A component is one byte of the packed colour: a blue beyond 255 would spill over.
        display.blue = std::min(display.blue + kColourStep, kHighestComponent);
        display.green = display.blue;
    }
}

int qualityRadioForMode(int qualityMode) {
    if (qualityMode == 2) return 0;
    if (qualityMode == 3) return 2;
    return 1;
}

int qualityModeForRadio(int radioIndex) {
    if (radioIndex == 1) return 0;
    if (radioIndex == 2) return 1;
    return 2;
}

}  // namespace kelto::viewer::config
