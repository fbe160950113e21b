#pragma once
// The 10-pixel frame drawn round the picture while the TV frame is on: corner pieces (bitmaps
// 202 top-left, 203 top-right, 204 bottom-left, 205 bottom-right) and edge pieces stretched
// along the sides (206 top, 207 bottom, 208 left, 209 right), then the edge lines that make it
// look raised: light along the outer top and left, dark along the outer bottom and right, and
// the reverse round the picture, which so seems set into the frame.
#include <QRect>

class QPainter;

namespace kelto::viewer {

inline constexpr int kTvFrameWidth = 10;

class TvFramePainter {
public:
    // Paints the frame inside `outer` (the area above the panel strip); the picture lies in
    // pictureRect(outer). Draws nothing when `outer` is too small to hold the frame.
    static void paint(QPainter& painter, const QRect& outer);
    static QRect pictureRect(const QRect& outer);
};

}  // namespace kelto::viewer
