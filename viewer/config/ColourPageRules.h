#pragma once
// The colour page's rules without its widgets: how a picture-level scroll moves the level, how
// the display colour is kept apart from the colour key after a blue change, and how the quality
// mode maps to the page's radio index and back.
#include "settings/ColorTriple.h"

namespace kelto::viewer::config {

constexpr int kLowestPictureLevel = 0;
constexpr int kHighestPictureLevel = 127;
constexpr int kPictureLevelLine = 1;
constexpr int kPictureLevelPage = 5;
constexpr int kDefaultPictureLevel = 64;

// What a scroll bar reports.
enum class ScrollCode { LineLeft, LineRight, PageLeft, PageRight, ThumbPosition, ThumbTrack, Other };

// The level a scroll leaves, from the bar's position: one line or one page either way, or the
// delivered thumb position, limited to 0..127. Other codes (the thumb still being dragged,
// first/last) keep the position.
int scrolledPictureLevel(int position, ScrollCode code, int deliveredPosition);

// After the blue slider moved: when the display colour's green lies within 4 of the colour
// key's green, the display colour is moved off the key so the display never turns transparent
// over the picture: green 0 becomes 5, green 255 becomes 250, otherwise blue goes up by 5
// (at most 255) and green takes the new blue value.
void separateFromColourKey(ColorTriple& display, const ColorTriple& colourKey);

// The quality radio index at opening (0 Weave, 1 Action, 2 Capture): mode 2 gives 0, mode 3
// gives 2, any other mode 1.
int qualityRadioForMode(int qualityMode);
// The quality mode the page commits: radio 1 gives 0, radio 2 gives 1, anything else 2.
int qualityModeForRadio(int radioIndex);

}  // namespace kelto::viewer::config
