#pragma once
// The geometry of the viewer's control panel strip: 60 pixels high, as wide as the window, in
// one of three width classes (below 320 pixels, 320 to 479, 480 and wider). Each class has its
// own background bitmap and places the twelve hot regions, the channel-number display and the
// volume display where that bitmap draws them. Coordinates are the strip's own: (0, 0) is its
// top-left corner. No widgets: the viewer window asks this where a click landed and the
// painter asks where to draw.
#include <QPoint>
#include <QRect>

#include <array>
#include <optional>

namespace kelto::viewer {

inline constexpr int kPanelHeight = 60;

enum class PanelRegion {
    ChannelUp,
    ChannelDown,
    VolumeUp,
    VolumeDown,
    Exit,
    Capture,
    Configuration,
    Mute,
    VideoSource,
    Keypad,
    Information,         // the first information button
    ChannelInformation,  // the second information button
};
inline constexpr int kPanelRegionCount = 12;
inline constexpr std::array<PanelRegion, kPanelRegionCount> kAllPanelRegions = {
    PanelRegion::ChannelUp,   PanelRegion::ChannelDown, PanelRegion::VolumeUp,
    PanelRegion::VolumeDown,  PanelRegion::Exit,        PanelRegion::Capture,
    PanelRegion::Configuration, PanelRegion::Mute,      PanelRegion::VideoSource,
    PanelRegion::Keypad,      PanelRegion::Information, PanelRegion::ChannelInformation};

constexpr int index(PanelRegion region) { return static_cast<int>(region); }

enum class PanelWidthClass {
    Narrow,  // below 320 pixels: small channel buttons, no volume display, no mute light
    Medium,  // 320 to 479 pixels
    Wide,    // 480 pixels and wider
};

PanelWidthClass panelWidthClass(int panelWidth);

// Bitmap numbers of the strip's art.
inline constexpr int kWidePanelBitmap = 163;
inline constexpr int kMediumPanelBitmap = 164;
inline constexpr int kNarrowPanelBitmap = 165;
inline constexpr int kMuteOnBitmap = 8;  // the mute button lit while the sound is off

// Slicing of the wide bitmap: its left part, the slice that is stretched over any extra width,
// and its right end.
inline constexpr int kWideLeftWidth = 450;
inline constexpr int kStretchSliceX = 440;
inline constexpr int kStretchSliceWidth = 10;
inline constexpr int kWideRightWidth = 30;
inline constexpr int kMediumLeftWidth = 320;

// The bitmap a region shows while pressed, in the given class; 0 when it has none (mute).
int pressedBitmap(PanelRegion region, PanelWidthClass widthClass);

// Regions that act only with the tuner as the source (video modes 0 TV and 1 CATV).
bool isTunerOnlyRegion(PanelRegion region);
// Whether a press on the region acts in the given video mode (0 TV, 1 CATV, 2 VIDEO, 3 SVHS).
bool isRegionActive(PanelRegion region, int videoMode);

class PanelLayout {
public:
    explicit PanelLayout(int panelWidth);

    int width() const { return width_; }
    PanelWidthClass widthClass() const { return class_; }
    // The strip's background bitmap in this class (163, 164 or 165).
    int backgroundBitmap() const;

    // The region's rectangle; an empty rectangle when this class has no such button (the
    // narrow strip has no capture, keypad or information buttons).
    QRect regionRect(PanelRegion region) const;
    bool hasRegion(PanelRegion region) const { return !regionRect(region).isEmpty(); }
    // The region under `point`, whatever the video mode; none outside every region (a press
    // there moves the window).
    std::optional<PanelRegion> regionAt(QPoint point) const;

    // Where the channel number is shown, and where the volume is (empty in the narrow class).
    QRect channelDisplayRect() const;
    QRect volumeDisplayRect() const;
    // Whether the mute button shows its lit image while muted (not in the narrow class).
    bool showsMuteLight() const { return class_ != PanelWidthClass::Narrow; }

private:
    int width_;
    PanelWidthClass class_;
};

}  // namespace kelto::viewer
