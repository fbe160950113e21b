#include "viewer/panel/PanelPainter.h"

#include "resources/ArtResource.h"
#include "viewer/panel/DisplayLook.h"
#include "viewer/panel/SegmentDigits.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace kelto::viewer {
namespace {

void drawLabel(QPainter& painter, const QRect& rect, Qt::Alignment alignment, const QString& text,
               const QColor& colour, int pixelSize) {
    painter.setFont(displayLabelFont(pixelSize));
    painter.setPen(colour);
    painter.drawText(rect, alignment | Qt::AlignVCenter, text);
}

// Channel display: a label row ("CH" and the video mode) over three digits. In the narrow class
// only the mode is written, centred. Outside the tuner modes the number is shown dimmed: it is
// the tuner's channel, not what is on screen.
void paintChannelDisplay(QPainter& painter, const PanelLayout& layout, const PanelState& state) {
    const QRect display = layout.channelDisplayRect();
    if (display.isEmpty()) return;
    const bool wide = layout.widthClass() == PanelWidthClass::Wide;
    const bool narrow = layout.widthClass() == PanelWidthClass::Narrow;
    const int pad = narrow ? 3 : 6;
    const QRect labels(display.left() + pad, display.top() + 4, display.width() - 2 * pad, 9);
    const QString mode = QString::fromLatin1(videoModeLabel(state.videoMode));
    if (!wide) {
        drawLabel(painter, labels, Qt::AlignHCenter, mode, kDisplayLabel, 8);
    } else {
        drawLabel(painter, labels, Qt::AlignLeft, QStringLiteral("CH"), kDisplayLabel, 8);
        drawLabel(painter, labels, Qt::AlignRight, mode, kDisplayLabel, 8);
    }

    const qreal digitHeight = wide ? 26 : narrow ? 24 : 25;
    const qreal digitWidth = wide ? 17 : narrow ? 10 : 13;
    const qreal gap = wide ? 6 : narrow ? 2 : 3;
    const qreal digitsWidth = 3 * digitWidth + 2 * gap;
    const QRectF digits(display.left() + (display.width() - digitsWidth) / 2.0,
                        display.bottom() + 1 - 6 - digitHeight, digitsWidth, digitHeight);
    SegmentStyle style{kDisplayLit, kDisplayUnlit, wide ? 3.0 : 2.0};
    if (!isRegionActive(PanelRegion::ChannelUp, state.videoMode)) style.lit.setAlpha(70), style.glow = 0;
    drawSegmentText(painter, digits, PanelPainter::channelDigits(state.channelNumber), gap, style);
}

// Volume display: "VOL" (or "MUTE") and the step in two digits over a rising row of sixteen
// bars, as many lit as the step. Muted, the lit bars turn red.
void paintVolumeDisplay(QPainter& painter, const PanelLayout& layout, const PanelState& state) {
    const QRect display = layout.volumeDisplayRect();
    if (display.isEmpty()) return;
    const bool wide = layout.widthClass() == PanelWidthClass::Wide;
    const int step = std::clamp(state.volumeStep, kLowestVolumeStep, kHighestVolumeStep);
    const int pad = wide ? 7 : 4;
    const QRect labels(display.left() + pad, display.top() + 4, display.width() - 2 * pad, 9);
    if (state.muted)
        drawLabel(painter, labels, Qt::AlignLeft, QStringLiteral("MUTE"), kDisplayMuted, 8);
    else
        drawLabel(painter, labels, Qt::AlignLeft, QStringLiteral("VOL"), kDisplayLabel, 8);

    const qreal numberWidth = wide ? 17 : 15, numberHeight = 13;
    const QRectF number(display.right() + 1 - pad - numberWidth, display.top() + 4, numberWidth, numberHeight);
    QColor numberColour = state.muted ? kDisplayMuted : kDisplayLit;
    drawSegmentText(painter, number, QStringLiteral("%1").arg(step, 2, 10, QLatin1Char(' ')), 2,
                    SegmentStyle{numberColour, kDisplayUnlit, 0});

    const qreal pitch = wide ? 7 : 4, barWidth = wide ? 5 : 3;
    const qreal barsWidth = pitch * (kHighestVolumeStep - 1) + barWidth;
    const qreal left = display.left() + std::round((display.width() - barsWidth) / 2.0);
    const qreal baseline = display.bottom() + 1 - 6;
    const qreal tallest = wide ? 20 : 18, lowest = 5;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (int i = 0; i < kHighestVolumeStep; ++i) {
        const qreal height = std::round(lowest + (tallest - lowest) * i / (kHighestVolumeStep - 1));
        const QRectF bar(left + i * pitch, baseline - height, barWidth, height);
        if (i < step) {
            QColor top = state.muted ? kDisplayMuted.darker(130) : kDisplayLit;
            QColor bottom = state.muted ? kDisplayMuted.darker(190) : QColor(36, 150, 200);
            QLinearGradient fill(bar.topLeft(), bar.bottomLeft());
            fill.setColorAt(0, top);
            fill.setColorAt(1, bottom);
            painter.fillRect(bar, fill);
        } else {
            painter.fillRect(bar, QColor(98, 224, 255, 26));
        }
    }
    painter.restore();
}

// A button that does nothing in the current video mode is drawn sunk into the strip.
void dimInactiveButtons(QPainter& painter, const PanelLayout& layout, int videoMode) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(18, 20, 24, 150));
    for (PanelRegion region : kAllPanelRegions) {
        if (isRegionActive(region, videoMode) || !layout.hasRegion(region)) continue;
        painter.drawRoundedRect(QRectF(layout.regionRect(region)).adjusted(0.5, 0.5, -0.5, -0.5), 3.5, 3.5);
    }
    painter.restore();
}

}  // namespace

QString PanelPainter::channelDigits(int channelNumber) {
    if (channelNumber < 0 || channelNumber > 999) return QStringLiteral("---");
    return QStringLiteral("%1").arg(channelNumber, 3, 10, QLatin1Char(' '));
}

void PanelPainter::paintBackground(QPainter& painter, int width) {
    if (width <= 0) return;
    const QPixmap wideArt = bitmapResource(kWidePanelBitmap);
    const QRect slice(kStretchSliceX, 0, kStretchSliceWidth, kPanelHeight);
    painter.save();
    // Stretching copies whole columns of the slice: no smoothing, so the fill matches the art.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.setClipRect(QRect(0, 0, width, kPanelHeight), Qt::IntersectClip);
    auto stretchSlice = [&](int from, int to) {
        if (to > from) painter.drawPixmap(QRect(from, 0, to - from, kPanelHeight), wideArt, slice);
    };
    switch (panelWidthClass(width)) {
    case PanelWidthClass::Wide:
        painter.drawPixmap(QPoint(0, 0), wideArt, QRect(0, 0, kWideLeftWidth, kPanelHeight));
        stretchSlice(kWideLeftWidth, width - kWideRightWidth);
        painter.drawPixmap(QPoint(width - kWideRightWidth, 0), wideArt,
                           QRect(wideArt.width() - kWideRightWidth, 0, kWideRightWidth, kPanelHeight));
        break;
    case PanelWidthClass::Medium:
        painter.drawPixmap(QPoint(0, 0), bitmapResource(kMediumPanelBitmap),
                           QRect(0, 0, kMediumLeftWidth, kPanelHeight));
        stretchSlice(kMediumLeftWidth, width);
        break;
    case PanelWidthClass::Narrow: {
        const QPixmap narrowArt = bitmapResource(kNarrowPanelBitmap);
        const int shown = std::min(width, narrowArt.width());
        painter.drawPixmap(QPoint(0, 0), narrowArt, QRect(0, 0, shown, kPanelHeight));
        stretchSlice(shown, width);
        break;
    }
    }
    painter.restore();
}

void PanelPainter::paint(QPainter& painter, const PanelState& state) {
    const PanelLayout layout(state.width);
    painter.save();
    paintBackground(painter, state.width);
    painter.setClipRect(QRect(0, 0, state.width, kPanelHeight), Qt::IntersectClip);
    for (PanelRegion region : kAllPanelRegions) {
        if (!layout.hasRegion(region)) continue;
        int image = 0;
        if (state.isPressed(region)) image = pressedBitmap(region, layout.widthClass());
        if (region == PanelRegion::Mute && state.muted && layout.showsMuteLight()) image = kMuteOnBitmap;
        if (image) painter.drawPixmap(layout.regionRect(region).topLeft(), bitmapResource(image));
    }
    dimInactiveButtons(painter, layout, state.videoMode);
    paintChannelDisplay(painter, layout, state);
    paintVolumeDisplay(painter, layout, state);
    painter.restore();
}

QImage PanelPainter::render(const PanelState& state) {
    QImage image(std::max(state.width, 1), kPanelHeight, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::black);
    QPainter painter(&image);
    paint(painter, state);
    painter.end();
    return image;
}

}  // namespace kelto::viewer
