#pragma once
// How an on-screen display text looks, drawn into an image with a transparent background (Qt
// Gui, no widgets): "Arial" (a metric-compatible face where Arial itself is missing), normal
// weight, the font height counted as the system counts it (ascent + descent), one line,
// vertically centred, left, centre or right aligned, shortened with "..." when it does not fit, a blue
// shadow one pixel right and down under the text in the display colour.
#include "viewer/osd/OsdLayout.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QString>

class QFontMetrics;

namespace kelto::viewer {

// The shadow's colour: pure blue.
inline constexpr QRgb kOsdShadowRgb = 0xFF0000FF;

// "Arial" with a cell height (ascent + descent) of cellHeightPx pixels.
QFont osdFont(int cellHeightPx);

// The text shortened to widthPx the way the system shortens paths: when it does not fit, the
// part after the last "/" is kept whole where it can be and characters before it give way to
// "..."; a text without "/" (or whose last part alone is too long) loses characters in the
// middle. Empty when not even "..." fits.
QString elidePathStyle(const QString& text, const QFontMetrics& metrics, int widthPx);

// The display's picture: widthPx by heightPx, transparent everywhere but in the letters and
// their shadow; the text in `textRect` (display coordinates), clipped to it like the system's
// text drawing. Drawn at the screen's device pixel ratio, so the letters stay sharp on dense screens.
QImage renderOsdLayer(int widthPx, int heightPx, const OsdRect& textRect, const QString& text, OsdAlign align,
                      const QColor& colour, int fontPx, qreal devicePixelRatio = 1.0);

}  // namespace kelto::viewer
