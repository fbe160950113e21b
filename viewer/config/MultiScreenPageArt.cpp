#include "viewer/config/MultiScreenPageArt.h"

#include "resources/ArtResource.h"

#include <QFont>
#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace kelto::viewer::config {

namespace {

// The viewer panel's metal, glass and accent (the artwork's palette).
const QColor kStripTop("#4a515b"), kStripUpper("#353a42"), kStripMiddle("#262a30"), kStripBottom("#181a1e");
const QColor kEdgeDark("#0a0b0d");
const QColor kGlyph("#dde3ea");
const QColor kAccent("#6fe3ff");
const QColor kGlassTop("#061317"), kGlassBottom("#0b2128");

void paintHeader(QPainter& painter, int width) {
    const QRect strip = MultiScreenPageArt::headerRect(width);
    QLinearGradient metal(strip.topLeft(), strip.bottomLeft());
    metal.setColorAt(0.0, kStripTop);
    metal.setColorAt(0.06, kStripUpper);
    metal.setColorAt(0.45, kStripMiddle);
    metal.setColorAt(1.0, kStripBottom);
    painter.fillRect(strip, metal);
    painter.fillRect(QRect(0, strip.bottom(), width, 1), kEdgeDark);
    QColor line = kAccent;
    line.setAlphaF(0.55);
    painter.fillRect(QRect(0, strip.bottom() - 1, width, 1), line);

    // A lit indicator, then the name: the maker's part in the glyph colour, the rest in the accent.
    const QPointF led(11.5, strip.center().y() + 0.5);
    QColor glow = kAccent;
    glow.setAlphaF(0.18);
    painter.setPen(Qt::NoPen);
    painter.setBrush(glow);
    painter.drawEllipse(led, 4.5, 4.5);
    painter.setBrush(kAccent);
    painter.drawEllipse(led, 2.3, 2.3);

    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(12);
    font.setBold(true);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 1.5);
    painter.setFont(font);
    const QString text = QString::fromLatin1(MultiScreenPageArt::kHeaderText);
    const int split = text.indexOf(' ');
    const QString maker = text.left(split + 1), rest = text.mid(split + 1);
    const QFontMetrics metrics(font);
    const int baseline = strip.top() + (strip.height() - 1 + metrics.ascent() - metrics.descent()) / 2;
    painter.setPen(kGlyph);
    painter.drawText(QPoint(22, baseline), maker);
    painter.setPen(kAccent);
    painter.drawText(QPoint(22 + metrics.horizontalAdvance(maker), baseline), rest);
}

void paintWell(QPainter& painter) {
    const QRectF well = QRectF(MultiScreenPageArt::kWellRect).adjusted(0.5, 0.5, -0.5, -0.5);
    QLinearGradient glass(well.topLeft(), well.bottomLeft());
    glass.setColorAt(0.0, kGlassTop);
    glass.setColorAt(1.0, kGlassBottom);
    QPainterPath shape;
    shape.addRoundedRect(well, 6, 6);
    painter.setPen(QPen(kEdgeDark, 1));
    painter.setBrush(glass);
    painter.drawPath(shape);
    // A light edge below, as the panel's wells have.
    QColor bevel(Qt::white);
    bevel.setAlphaF(0.35);
    painter.setPen(QPen(bevel, 1));
    painter.drawLine(QPointF(well.left() + 6, well.bottom() + 1), QPointF(well.right() - 6, well.bottom() + 1));
}

}  // namespace

void MultiScreenPageArt::paint(QPainter& painter, int width, int animationBitmap, int previewBitmap) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    paintHeader(painter, width);
    paintWell(painter);
    painter.restore();
    painter.drawPixmap(kAnimationRect.topLeft(), bitmapResource(animationBitmap));
    painter.drawPixmap(kPreviewRect.topLeft(), bitmapResource(previewBitmap));
}

}  // namespace kelto::viewer::config
