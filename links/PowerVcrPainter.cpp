#include "links/PowerVcrPainter.h"

#include "resources/ArtResource.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <string>

namespace kelto {

namespace {

using namespace vcr_art;

const QColor kLit(0x6f, 0xe3, 0xff);
const QColor kLampOn(0xff, 0x5a, 0x4c);

void paintChannel(QPainter& painter, const VcrView& view) {
    const bool shown = view.channel && *view.channel >= 0 && *view.channel <= 999;
    if (!shown) {
        const QPixmap dash = bitmapResource(kDashBitmap);
        for (int x : kDigitCellX) painter.drawPixmap(x, kDigitCellY, dash);
        return;
    }
    // Right-aligned; the cells before the number keep the face's unlit segments.
    const std::string digits = std::to_string(*view.channel);
    const int first = 3 - int(digits.size());
    for (int i = 0; i < int(digits.size()); ++i)
        painter.drawPixmap(kDigitCellX[first + i], kDigitCellY, bitmapResource(kFirstDigitBitmap + (digits[i] - '0')));
}

void paintMode(QPainter& painter, const VcrView& view) {
    if (!view.started) return;
    int symbol = 0;
    switch (view.mode) {
    case VideoMode::TV: symbol = kTvSymbolBitmap; break;
    case VideoMode::CATV: symbol = kCatvSymbolBitmap; break;
    case VideoMode::VIDEO: symbol = kVideoSymbolBitmap; break;
    case VideoMode::SVHS: break;
    }
    if (symbol) {
        painter.drawPixmap(kModeSymbolX, kModeSymbolY, bitmapResource(symbol));
        return;
    }
    // The S-Video input has no symbol of its own (the controller only keeps it): its name.
    QFont font(QStringLiteral("Sans Serif"));
    font.setPixelSize(9);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(kLit);
    painter.drawText(QRect(kModeSymbolX, kModeSymbolY, 60, 12), Qt::AlignCenter, QString::fromLatin1(videoModeLabel(view.mode)));
}

void paintLamp(QPainter& painter, const VcrView& view) {
    if (!view.recorderRunning) return;
    QRadialGradient glow(QPointF(kLampX, kLampY), 4.5);
    glow.setColorAt(0.0, kLampOn);
    glow.setColorAt(0.55, kLampOn);
    glow.setColorAt(1.0, QColor(255, 90, 76, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(glow);
    painter.drawEllipse(QPointF(kLampX, kLampY), 4.5, 4.5);
}

QPainterPath chevron(QPointF centre, bool up, qreal half, qreal rise) {
    const qreal s = up ? -1 : 1;
    QPainterPath path;
    path.moveTo(centre.x() - half, centre.y() - s * rise);
    path.lineTo(centre.x(), centre.y() + s * rise);
    path.lineTo(centre.x() + half, centre.y() - s * rise);
    return path;
}

// A key held down: sunk, darker, its glyph lit and a pixel lower.
void paintPressedKey(QPainter& painter, VcrKey key) {
    const VcrRect r = vcrKeyRect(key);
    const QRectF face(r.left + 0.5, r.top + 0.5, r.width() - 1, r.height() - 1);
    QLinearGradient fill(face.topLeft(), face.bottomLeft());
    fill.setColorAt(0.0, QColor(0x15, 0x17, 0x1a));
    fill.setColorAt(0.6, QColor(0x1f, 0x22, 0x27));
    fill.setColorAt(1.0, QColor(0x2a, 0x2f, 0x35));
    painter.setPen(QPen(QColor(0x0c, 0x0d, 0x10), 1));
    painter.setBrush(fill);
    painter.drawRoundedRect(face, 3.5, 3.5);
    const QPointF centre(r.left + r.width() / 2.0, r.top + r.height() / 2.0 + 1);
    const bool small = key == VcrKey::Mode;
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(kLit, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(chevron(centre, key != VcrKey::Previous, small ? 3.5 : 5.0, small ? 2.0 : 3.0));
}

}  // namespace

void PowerVcrPainter::paint(QPainter& painter, const VcrView& view) {
    painter.save();
    painter.drawPixmap(0, 0, bitmapResource(kFaceBitmap));
    paintChannel(painter, view);
    paintMode(painter, view);
    painter.setRenderHint(QPainter::Antialiasing);
    paintLamp(painter, view);
    if (view.keys)
        for (VcrKey key : kAllVcrKeys)
            if (view.keys->drawnPressed(key)) paintPressedKey(painter, key);
    painter.restore();
}

}  // namespace kelto
