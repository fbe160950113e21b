#pragma once
// What the viewer shows while it is minimised: its icon (128), 32 by 32 pixels, centred in the
// client area on the window's background.
#include <QRect>

class QPainter;

namespace kelto::viewer {

inline constexpr int kMinimisedIconId = 128;
inline constexpr int kMinimisedIconSide = 32;

// Where the icon goes in `client` (centred; the odd pixel to the right and below).
QRect minimisedIconRect(const QRect& client);
void paintMinimisedIcon(QPainter& painter, const QRect& client);

}  // namespace kelto::viewer
