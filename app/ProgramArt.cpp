#include "app/ProgramArt.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace kelto {

namespace {

QPixmap television(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size / 32.0;
    // Antennas.
    p.setPen(QPen(QColor(60, 60, 70), 1.6 * s, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(16 * s, 8 * s), QPointF(10 * s, 1.5 * s));
    p.drawLine(QPointF(16 * s, 8 * s), QPointF(22 * s, 1.5 * s));
    // Cabinet.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(45, 48, 60));
    p.drawRoundedRect(QRectF(1.5 * s, 8 * s, 29 * s, 21 * s), 3.5 * s, 3.5 * s);
    // Screen with a glow.
    QLinearGradient glow(QPointF(0, 10 * s), QPointF(0, 26 * s));
    glow.setColorAt(0, QColor(120, 200, 255));
    glow.setColorAt(1, QColor(30, 90, 180));
    p.setBrush(glow);
    p.drawRoundedRect(QRectF(4 * s, 10.5 * s, 20 * s, 16 * s), 2.5 * s, 2.5 * s);
    // Knobs.
    p.setBrush(QColor(250, 200, 60));
    p.drawEllipse(QPointF(27 * s, 14 * s), 1.6 * s, 1.6 * s);
    p.drawEllipse(QPointF(27 * s, 20 * s), 1.6 * s, 1.6 * s);
    return pixmap;
}

}  // namespace

QIcon programIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64}) icon.addPixmap(television(size));
    return icon;
}

QPixmap aboutPicture() {
    QPixmap pixmap(300, 96);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(QPointF(0, 0), QPointF(0, 96));
    sky.setColorAt(0, QColor(25, 40, 90));
    sky.setColorAt(1, QColor(70, 130, 210));
    p.fillRect(pixmap.rect(), sky);
    // Colour bars across the lower edge.
    const QColor bars[] = {Qt::white, Qt::yellow, Qt::cyan, Qt::green, Qt::magenta, Qt::red, Qt::blue};
    for (int i = 0; i < 7; ++i) p.fillRect(QRect(i * 300 / 7, 82, 300 / 7 + 1, 14), bars[i]);
    p.drawPixmap(12, 14, television(60));
    QFont font("DejaVu Sans", 20, QFont::Bold);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRect(84, 14, 210, 40), Qt::AlignLeft | Qt::AlignVCenter, "Kelto TV");
    font.setPointSize(9);
    font.setBold(false);
    p.setFont(font);
    p.drawText(QRect(86, 50, 210, 24), Qt::AlignLeft | Qt::AlignVCenter, "analogue TV for Bt848/Bt878");
    return pixmap;
}

}  // namespace kelto
