#include "viewer/keypad/KeypadPainter.h"

#include "resources/ArtResource.h"
#include "viewer/VolumeRange.h"
#include "viewer/panel/DisplayLook.h"
#include "viewer/panel/PanelPainter.h"
#include "viewer/panel/SegmentDigits.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace kelto::viewer {
namespace {

bool tunerMode(VideoMode mode) { return mode == VideoMode::TV || mode == VideoMode::CATV; }

void drawLabel(QPainter& painter, const QRect& rect, Qt::Alignment alignment, const QString& text, const QColor& colour) {
    painter.setFont(displayLabelFont(8));
    painter.setPen(colour);
    painter.drawText(rect, alignment | Qt::AlignVCenter, text);
}

void paintChannel(QPainter& painter, const KeypadDisplayAreas& areas, const KeypadView& view) {
    drawLabel(painter, areas.mode, Qt::AlignLeft, QString::fromLatin1(videoModeLabel(int(view.videoMode))), kDisplayLabel);
    // Outside the tuner modes nothing is tuned: the digits stay unlit.
    const QString digits = tunerMode(view.videoMode) ? PanelPainter::channelDigits(view.channelNumber) : QStringLiteral("   ");
    drawSegmentText(painter, QRectF(areas.channel), digits, 3, SegmentStyle{kDisplayLit, kDisplayUnlit, 2.0});
}

void paintSound(QPainter& painter, const KeypadDisplayAreas& areas, const KeypadView& view) {
    const int step = std::clamp(view.volumeStep, kLowestVolumeStep, kHighestVolumeStep);
    if (view.muted) drawLabel(painter, areas.mute, Qt::AlignLeft, QStringLiteral("MUTE"), kDisplayMuted);
    else drawLabel(painter, areas.mute, Qt::AlignLeft, QStringLiteral("VOL"), kDisplayLabel);
    drawLabel(painter, areas.mute, Qt::AlignRight, QString::number(step), view.muted ? kDisplayMuted : kDisplayLit);

    // Sixteen rising bars, as many lit as the step; red while muted.
    const QRect bars = areas.volume;
    const qreal pitch = 3, barWidth = 2;
    const qreal left = bars.left() + std::round((bars.width() - (pitch * (kHighestVolumeStep - 1) + barWidth)) / 2.0);
    const qreal baseline = bars.bottom() + 1;
    const qreal tallest = bars.height() - 4, lowest = 4;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (int i = 0; i < kHighestVolumeStep; ++i) {
        const qreal height = std::round(lowest + (tallest - lowest) * i / (kHighestVolumeStep - 1));
        const QRectF bar(left + i * pitch, baseline - height, barWidth, height);
        if (i < step) {
            QLinearGradient fill(bar.topLeft(), bar.bottomLeft());
            fill.setColorAt(0, view.muted ? kDisplayMuted.darker(130) : kDisplayLit);
            fill.setColorAt(1, view.muted ? kDisplayMuted.darker(190) : QColor(36, 150, 200));
            painter.fillRect(bar, fill);
        } else {
            painter.fillRect(bar, QColor(98, 224, 255, 26));
        }
    }
    painter.restore();
}

}  // namespace

void KeypadPainter::paint(QPainter& painter, const KeypadView& view) {
    painter.save();
    painter.drawPixmap(QPoint(0, 0), bitmapResource(kKeypadSkinBitmap));
    const QPixmap pressed = bitmapResource(kKeypadPressedSkinBitmap);
    for (KeypadRegion region : kAllKeypadRegions) {
        if (!view.isDrawnPressed(region)) continue;
        const QRect rect = keypadRegionRect(region);
        painter.drawPixmap(rect.topLeft(), pressed, rect);
    }
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const KeypadDisplayAreas areas = keypadDisplayAreas();
    paintChannel(painter, areas, view);
    paintSound(painter, areas, view);
    painter.restore();
}

QImage KeypadPainter::render(const KeypadView& view) {
    QImage image(kKeypadSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::black);
    QPainter painter(&image);
    paint(painter, view);
    painter.end();
    return image;
}

}  // namespace kelto::viewer
