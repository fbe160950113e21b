#pragma once
// The geometry of the on-screen remote keypad: a 120 by 180 pixel window painted from skin
// bitmap 184, with eighteen hot regions (keys), their tooltips, and the display areas for the
// video mode, the channel number, the mute state and the volume. Coordinates are the keypad's
// client pixels. No widgets: the keypad window asks this where a press landed, the painter
// where to draw, and resources/art/make_art.py draws the skin at the same places.
#include <QPoint>
#include <QRect>
#include <QSize>

#include <array>
#include <optional>

namespace kelto::viewer {

inline constexpr QSize kKeypadSize(120, 180);
// The strip along the top that holds the title and the minimise key.
inline constexpr int kKeypadTopStripHeight = 14;
// The skin, and the same skin with every key held down (a held key is copied from it).
inline constexpr int kKeypadSkinBitmap = 184;
inline constexpr int kKeypadPressedSkinBitmap = 185;

enum class KeypadRegion {
    Digit1, Digit2, Digit3, Digit4, Digit5, Digit6, Digit7, Digit8, Digit9, Digit0,
    Save,
    Delete,
    Previous,  // "<": one channel number down
    Next,      // ">": one channel number up
    ListUp,    // channel up through the registered list
    ListDown,  // channel down through the registered list
    Restore,
    Minimise,
};
inline constexpr int kKeypadRegionCount = 18;
inline constexpr std::array<KeypadRegion, kKeypadRegionCount> kAllKeypadRegions = {
    KeypadRegion::Digit1, KeypadRegion::Digit2, KeypadRegion::Digit3,  KeypadRegion::Digit4,
    KeypadRegion::Digit5, KeypadRegion::Digit6, KeypadRegion::Digit7,  KeypadRegion::Digit8,
    KeypadRegion::Digit9, KeypadRegion::Digit0, KeypadRegion::Save,    KeypadRegion::Delete,
    KeypadRegion::Previous, KeypadRegion::Next, KeypadRegion::ListUp,  KeypadRegion::ListDown,
    KeypadRegion::Restore, KeypadRegion::Minimise};

constexpr int index(KeypadRegion region) { return static_cast<int>(region); }

// The digit a key enters, or -1 for a key that is not a digit.
int keypadDigit(KeypadRegion region);

// The region's rectangle (left and top inside, right and bottom just outside).
QRect keypadRegionRect(KeypadRegion region);
// The region under `point`, if any.
std::optional<KeypadRegion> keypadRegionAt(QPoint point);
// The string-table identifier of the region's tooltip (213, 214, 223 to 229).
int keypadTooltipStringId(KeypadRegion region);

// The display areas on the skin's glass.
struct KeypadDisplayAreas {
    QRect glass;     // the whole recessed display
    QRect mode;      // "TV", "CATV", "VIDEO", "SVHS"
    QRect channel;   // three segment digits
    QRect mute;      // the mute light
    QRect volume;    // the volume step: a row of bars and the number
};
KeypadDisplayAreas keypadDisplayAreas();

}  // namespace kelto::viewer
