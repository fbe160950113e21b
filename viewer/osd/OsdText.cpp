#include "viewer/osd/OsdText.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace kelto::viewer {

namespace {

const QString kEllipsis = QStringLiteral("...");

// A cut at n characters that does not split a surrogate pair.
qsizetype safeCut(const QString& text, qsizetype n) {
    if (n > 0 && n < text.size() && text.at(n - 1).isHighSurrogate()) --n;
    return n;
}

QString elideMiddle(const QString& text, const QFontMetrics& metrics, int widthPx) {
    for (qsizetype keep = text.size() - 1; keep >= 0; --keep) {
        const qsizetype front = safeCut(text, (keep + 1) / 2);
        qsizetype back = keep / 2;
        if (back > 0 && text.at(text.size() - back).isLowSurrogate()) --back;
        const QString candidate = text.left(front) + kEllipsis + text.right(back);
        if (metrics.horizontalAdvance(candidate) <= widthPx) return candidate;
    }
    return {};
}

}  // namespace

QFont osdFont(int cellHeightPx) {
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);  // the Swiss family when no Arial-like face is found
    font.setWeight(QFont::Normal);
    const int cell = std::max(cellHeightPx, 1);
    font.setPixelSize(cell);
    // The system's font height names the cell (ascent + descent), Qt's pixel size the em: scale.
    const int measured = QFontMetrics(font).height();
    if (measured > 0 && measured != cell)
        font.setPixelSize(std::max(1, int(std::lround(double(cell) * cell / measured))));
    return font;
}

QString elidePathStyle(const QString& text, const QFontMetrics& metrics, int widthPx) {
    if (metrics.horizontalAdvance(text) <= widthPx) return text;
    const qsizetype slash = text.lastIndexOf(QLatin1Char('/'));
    if (slash > 0) {
        const QString tail = text.mid(slash);
        for (qsizetype n = slash;; n = safeCut(text, n - 1)) {
            const QString candidate = text.left(n) + kEllipsis + tail;
            if (metrics.horizontalAdvance(candidate) <= widthPx) return candidate;
            if (n == 0) break;
        }
    }
    return elideMiddle(text, metrics, widthPx);
}

QImage renderOsdLayer(int widthPx, int heightPx, const OsdRect& textRect, const QString& text, OsdAlign align,
                      const QColor& colour, int fontPx, qreal devicePixelRatio) {
    const qreal ratio = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    QImage layer(int(std::ceil(std::max(widthPx, 1) * ratio)), int(std::ceil(std::max(heightPx, 1) * ratio)),
                 QImage::Format_ARGB32_Premultiplied);
    layer.setDevicePixelRatio(ratio);
    layer.fill(Qt::transparent);
    if (text.isEmpty() || textRect.width <= 0 || textRect.height <= 0) return layer;

    const QFont font = osdFont(fontPx);
    const QFontMetrics metrics(font);
    const QString shown = elidePathStyle(text, metrics, textRect.width);
    const int horizontal = align == OsdAlign::Right    ? Qt::AlignRight
                           : align == OsdAlign::Centre ? Qt::AlignHCenter
                                                       : Qt::AlignLeft;
    const int flags = Qt::TextSingleLine | Qt::AlignVCenter | horizontal;
    const QRect rect(textRect.x, textRect.y, textRect.width, textRect.height);

    QPainter painter(&layer);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setFont(font);
    const QRect shadowRect = rect.translated(1, 1);
    painter.setClipRect(shadowRect);
    painter.setPen(QColor::fromRgb(kOsdShadowRgb));
    painter.drawText(shadowRect, flags, shown);
    painter.setClipRect(rect);
    painter.setPen(colour);
    painter.drawText(rect, flags, shown);
    return layer;
}

}  // namespace kelto::viewer
