#include "viewer/keypad/KeypadLayout.h"

namespace kelto::viewer {
namespace {

// (left, top, right, bottom) as the keypad's regions are given.
constexpr QRect edges(int left, int top, int right, int bottom) { return QRect(left, top, right - left, bottom - top); }

}  // namespace

int keypadDigit(KeypadRegion region) {
    const int i = index(region);
    if (i <= index(KeypadRegion::Digit9)) return i + 1;
    return region == KeypadRegion::Digit0 ? 0 : -1;
}

QRect keypadRegionRect(KeypadRegion region) {
    // The number keys sit in three columns 24 pixels apart and four rows 24 pixels apart; the
    // last row holds "<", "0" and ">".
    static constexpr int kColumns[] = {11, 35, 59};
    static constexpr int kRows[] = {59, 83, 107, 131};
    const int i = index(region);
    if (i <= index(KeypadRegion::Digit9)) {
        const int left = kColumns[i % 3], top = kRows[i / 3];
        return edges(left, top, left + 16, top + 16);
    }
    switch (region) {
    case KeypadRegion::Digit0: return edges(35, 131, 51, 147);
    case KeypadRegion::Previous: return edges(kColumns[0], 131, 27, 147);
    case KeypadRegion::Next: return edges(59, 131, 75, 147);
    case KeypadRegion::Save: return edges(64, 157, 80, 171);
    case KeypadRegion::Delete: return edges(87, 157, 103, 171);
    case KeypadRegion::ListUp: return edges(90, 60, 113, 83);
    case KeypadRegion::ListDown: return edges(90, 100, 113, 123);
    case KeypadRegion::Restore: return edges(17, 157, 50, 171);
    case KeypadRegion::Minimise: return edges(105, 1, 118, kKeypadTopStripHeight);
    default: return {};
    }
}

std::optional<KeypadRegion> keypadRegionAt(QPoint point) {
    for (KeypadRegion region : kAllKeypadRegions)
        if (keypadRegionRect(region).contains(point)) return region;
    return std::nullopt;
}

int keypadTooltipStringId(KeypadRegion region) {
    switch (region) {
    case KeypadRegion::Save: return 227;
    case KeypadRegion::Delete: return 228;
    case KeypadRegion::Previous: return 224;
    case KeypadRegion::Next: return 225;
    case KeypadRegion::ListUp: return 213;
    case KeypadRegion::ListDown: return 214;
    case KeypadRegion::Restore: return 226;
    case KeypadRegion::Minimise: return 229;
    default: return 223;  // the number keys
    }
}

KeypadDisplayAreas keypadDisplayAreas() {
    KeypadDisplayAreas areas;
    areas.glass = QRect(6, 18, 108, 35);
    areas.mode = QRect(10, 21, 40, 9);
    areas.channel = QRect(10, 31, 46, 19);
    areas.mute = QRect(62, 21, 48, 9);
    areas.volume = QRect(62, 31, 48, 19);
    return areas;
}

}  // namespace kelto::viewer
