#pragma once
// Seven-segment digits as on a lit display: the unlit segments faintly visible behind the lit
// ones, which carry a soft glow. Used by the panel's channel and volume displays.
#include <QColor>
#include <QRectF>
#include <QString>

class QPainter;

namespace kelto::viewer {

struct SegmentStyle {
    QColor lit;
    QColor unlit;
    qreal glow = 0.0;  // width of the glow around lit segments, in pixels; 0 for none
};

// Draws `text` (digits, blanks and '-') into `box`, one cell per character, cells `gap` apart.
void drawSegmentText(QPainter& painter, const QRectF& box, const QString& text, qreal gap,
                     const SegmentStyle& style);

}  // namespace kelto::viewer
