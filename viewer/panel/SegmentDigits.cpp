#include "viewer/panel/SegmentDigits.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <array>
#include <cstdint>

namespace kelto::viewer {
namespace {

// Segments a to g: top, upper right, lower right, bottom, lower left, upper left, middle.
constexpr std::array<std::uint8_t, 10> kDigitSegments = {
    0b0111111, 0b0000110, 0b1011011, 0b1001111, 0b1100110,
    0b1101101, 0b1111101, 0b0000111, 0b1111111, 0b1101111};
constexpr std::uint8_t kDashSegments = 0b1000000;

QPainterPath horizontalBar(qreal x0, qreal x1, qreal y, qreal t) {
    QPainterPath path;
    path.moveTo(x0, y);
    path.lineTo(x0 + t / 2, y - t / 2);
    path.lineTo(x1 - t / 2, y - t / 2);
    path.lineTo(x1, y);
    path.lineTo(x1 - t / 2, y + t / 2);
    path.lineTo(x0 + t / 2, y + t / 2);
    path.closeSubpath();
    return path;
}

QPainterPath verticalBar(qreal x, qreal y0, qreal y1, qreal t) {
    QPainterPath path;
    path.moveTo(x, y0);
    path.lineTo(x + t / 2, y0 + t / 2);
    path.lineTo(x + t / 2, y1 - t / 2);
    path.lineTo(x, y1);
    path.lineTo(x - t / 2, y1 - t / 2);
    path.lineTo(x - t / 2, y0 + t / 2);
    path.closeSubpath();
    return path;
}

// The seven segment outlines of one cell, slanted slightly forward like a real display.
std::array<QPainterPath, 7> segments(const QRectF& cell) {
    const qreal t = std::max(1.6, std::min(cell.width() * 0.2, cell.height() * 0.11));
    const qreal gap = t * 0.22;
    const qreal slant = cell.height() * 0.08;
    const qreal l = cell.left() + t / 2, r = cell.right() - t / 2 - slant;
    const qreal top = cell.top() + t / 2, bottom = cell.bottom() - t / 2;
    const qreal mid = (top + bottom) / 2;
    std::array<QPainterPath, 7> s = {
        horizontalBar(l + gap, r - gap, top, t),     verticalBar(r, top + gap, mid - gap, t),
        verticalBar(r, mid + gap, bottom - gap, t),  horizontalBar(l + gap, r - gap, bottom, t),
        verticalBar(l, mid + gap, bottom - gap, t),  verticalBar(l, top + gap, mid - gap, t),
        horizontalBar(l + gap, r - gap, mid, t)};
    // x' = x + slant * (bottom - y) / height: the bottom stays, the top leans right.
    const qreal lean = slant / cell.height();
    const QTransform shear(1, 0, -lean, 1, cell.bottom() * lean, 0);
    for (QPainterPath& path : s) path = shear.map(path);
    return s;
}

std::uint8_t segmentsOf(QChar c) {
    if (c.isDigit()) return kDigitSegments[c.digitValue()];
    if (c == u'-') return kDashSegments;
    return 0;
}

}  // namespace

void drawSegmentText(QPainter& painter, const QRectF& box, const QString& text, qreal gap,
                     const SegmentStyle& style) {
    if (text.isEmpty()) return;
    const qreal cellWidth = (box.width() - gap * (text.size() - 1)) / text.size();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QRectF cell(box.left() + i * (cellWidth + gap), box.top(), cellWidth, box.height());
        const std::uint8_t lit = segmentsOf(text[i]);
        const std::array<QPainterPath, 7> shapes = segments(cell);
        QPainterPath litPath, unlitPath;
        for (int s = 0; s < 7; ++s) ((lit >> s) & 1 ? litPath : unlitPath).addPath(shapes[s]);
        painter.fillPath(unlitPath, style.unlit);
        if (style.glow > 0) {
            QColor halo = style.lit;
            halo.setAlphaF(halo.alphaF() * 0.28);
            painter.strokePath(litPath, QPen(halo, style.glow, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        }
        painter.fillPath(litPath, style.lit);
    }
    painter.restore();
}

}  // namespace kelto::viewer
