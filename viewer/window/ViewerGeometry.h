#pragma once
// The viewer window's geometry rules, without widgets: where it opens, how a size change keeps
// the picture at 4:3 with the panel strip below it, and the smallest and largest sizes.
#include <QRect>
#include <QSize>

namespace kelto::viewer {

inline constexpr int kDefaultWidth = 484;
inline constexpr int kDefaultHeight = 364;
inline constexpr int kScreenEdgeMarginPx = 10;

// The saved rectangle when it lies on the screen (x below the screen width less 10, y below the
// screen height less 10, a positive size) and full screen is off; otherwise the default: a
// quarter of the desktop's width and height in, 484 by 364.
QRect openingRect(const QRect& saved, bool fullScreen, const QSize& screen);

// The edge or corner a size change was made at.
enum class SizingEdge { Left, Right, Top, Bottom, TopLeft, TopRight, BottomLeft, BottomRight };

// The size a drag at `edge` ends with: a top or bottom edge sets the width to 4/3 of the new
// height (less the panel when it shows); any other edge or corner sets the height to 3/4 of the
// new width (plus the panel). A size that did not change is kept as it is.
QSize fourThreeSize(const QSize& before, const QSize& proposed, SizingEdge edge, bool panelVisible);

// The rectangle after a drag at `edge`: the side opposite the edge stays where it was.
QRect sizedRect(const QRect& before, const QRect& proposed, SizingEdge edge, bool panelVisible);

struct TrackingLimits {
    QSize smallest;
    QSize largest;
};
// Panel visible and no sheet or keypad open: 160 by 180 up to the screen plus the panel's height;
// the capture sheet closed: 160 by 120; otherwise 80 by 60; up to the screen size.
TrackingLimits trackingLimits(bool panelVisible, bool companionOpen, bool captureSheetOpen, const QSize& screen);

}  // namespace kelto::viewer
