#include "viewer/panel/PanelLayout.h"

namespace kelto::viewer {
namespace {

// Buttons sit in two rows of 22 pixels; the channel buttons of the narrow strip are 16 wide,
// every other button 28. These positions are where the background bitmaps draw the buttons
// (resources/art/make_art.py draws them from the same numbers).
constexpr int kTopRow = 7;
constexpr int kBottomRow = 31;
constexpr int kButtonWidth = 28;
constexpr int kSmallButtonWidth = 16;
constexpr int kButtonHeight = 22;

struct ClassGeometry {
    // Left edge of each region's button in kAllPanelRegions order; -1 when the class lacks it.
    std::array<int, kPanelRegionCount> left;
    QRect channelDisplay;
    QRect volumeDisplay;
};

// Rows in kAllPanelRegions order.
constexpr std::array<int, kPanelRegionCount> kRow = {
    kTopRow,     // channel up
    kBottomRow,  // channel down
    kTopRow,     // volume up
    kBottomRow,  // volume down
    kTopRow,     // exit
    kTopRow,     // capture
    kBottomRow,  // configuration
    kTopRow,     // mute
    kBottomRow,  // video source
    kBottomRow,  // keypad
    kTopRow,     // information
    kBottomRow,  // channel information
};

const ClassGeometry& geometry(PanelWidthClass widthClass) {
    //                     chUp chDn volUp volDn exit capt conf mute src keypad info chInfo
    static const ClassGeometry wide{{102, 102, 268, 268, 408, 338, 408, 306, 306, 338, 370, 370},
                                    QRect(8, 7, 88, 46), QRect(138, 7, 124, 46)};
    static const ClassGeometry medium{{59, 59, 163, 163, 287, 225, 287, 194, 194, 225, 256, 256},
                                      QRect(4, 7, 52, 46), QRect(90, 7, 70, 46)};
    static const ClassGeometry narrow{{48, 48, 67, 67, 129, -1, 129, 98, 98, -1, -1, -1},
                                      QRect(3, 7, 42, 46), QRect()};
    switch (widthClass) {
    case PanelWidthClass::Wide: return wide;
    case PanelWidthClass::Medium: return medium;
    case PanelWidthClass::Narrow: break;
    }
    return narrow;
}

}  // namespace

PanelWidthClass panelWidthClass(int panelWidth) {
    if (panelWidth >= 480) return PanelWidthClass::Wide;
    if (panelWidth >= 320) return PanelWidthClass::Medium;
    return PanelWidthClass::Narrow;
}

int pressedBitmap(PanelRegion region, PanelWidthClass widthClass) {
    const bool narrow = widthClass == PanelWidthClass::Narrow;
    switch (region) {
    case PanelRegion::ChannelUp: return narrow ? 11 : 1;
    case PanelRegion::ChannelDown: return narrow ? 12 : 2;
    case PanelRegion::VolumeUp: return 3;
    case PanelRegion::VolumeDown: return 4;
    case PanelRegion::Exit: return 5;
    case PanelRegion::Capture: return 6;
    case PanelRegion::Configuration: return 7;
    case PanelRegion::Mute: return 0;
    case PanelRegion::VideoSource: return 9;
    case PanelRegion::Keypad: return 10;
    case PanelRegion::Information: return 13;
    case PanelRegion::ChannelInformation: return 14;
    }
    return 0;
}

bool isTunerOnlyRegion(PanelRegion region) {
    switch (region) {
    case PanelRegion::ChannelUp:
    case PanelRegion::ChannelDown:
    case PanelRegion::Keypad:
    case PanelRegion::Information:
    case PanelRegion::ChannelInformation: return true;
    default: return false;
    }
}

bool isRegionActive(PanelRegion region, int videoMode) {
    return !isTunerOnlyRegion(region) || videoMode == 0 || videoMode == 1;
}

PanelLayout::PanelLayout(int panelWidth) : width_(panelWidth), class_(panelWidthClass(panelWidth)) {}

int PanelLayout::backgroundBitmap() const {
    switch (class_) {
    case PanelWidthClass::Wide: return kWidePanelBitmap;
    case PanelWidthClass::Medium: return kMediumPanelBitmap;
    case PanelWidthClass::Narrow: break;
    }
    return kNarrowPanelBitmap;
}

QRect PanelLayout::regionRect(PanelRegion region) const {
    const int left = geometry(class_).left[index(region)];
    if (left < 0) return {};
    const bool small = class_ == PanelWidthClass::Narrow &&
                       (region == PanelRegion::ChannelUp || region == PanelRegion::ChannelDown);
    return QRect(left, kRow[index(region)], small ? kSmallButtonWidth : kButtonWidth, kButtonHeight);
}

std::optional<PanelRegion> PanelLayout::regionAt(QPoint point) const {
    // A narrow strip shows only as much of its bitmap as fits: a button cut off by the
    // window's edge is still pressable on its visible part, nothing beyond the strip is.
    if (point.x() < 0 || point.x() >= width_ || point.y() < 0 || point.y() >= kPanelHeight)
        return std::nullopt;
    for (PanelRegion region : kAllPanelRegions)
        if (regionRect(region).contains(point)) return region;
    return std::nullopt;
}

QRect PanelLayout::channelDisplayRect() const { return geometry(class_).channelDisplay; }
QRect PanelLayout::volumeDisplayRect() const { return geometry(class_).volumeDisplay; }

}  // namespace kelto::viewer
