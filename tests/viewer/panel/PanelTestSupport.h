#pragma once
// Pixel helpers for the panel and art tests.
#include <QColor>
#include <QImage>
#include <QRect>

namespace kelto::viewer::test {

inline QImage argb(const QImage& image) { return image.convertToFormat(QImage::Format_ARGB32); }

// Whether column `x` of `a` (rows 0..height-1) equals column `sourceX` of `b`.
inline bool sameColumn(const QImage& a, int x, const QImage& b, int sourceX, int height) {
    for (int y = 0; y < height; ++y)
        if (a.pixel(x, y) != b.pixel(sourceX, y)) return false;
    return true;
}

inline int luminance(QRgb pixel) { return qGray(pixel); }

// The rectangle holding every pixel in which the two images differ; empty when none do.
inline QRect differingArea(const QImage& a, const QImage& b) {
    QRect area;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y)) area |= QRect(x, y, 1, 1);
    return area;
}

inline double meanLuminance(const QImage& image, const QRect& rect) {
    double sum = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x) sum += luminance(image.pixel(x, y));
    return sum / (rect.width() * rect.height());
}

}  // namespace kelto::viewer::test
