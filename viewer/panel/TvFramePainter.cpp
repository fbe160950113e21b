#include "viewer/panel/TvFramePainter.h"

#include "resources/ArtResource.h"

#include <QPainter>

namespace kelto::viewer {
namespace {

const QColor kOuterLight(118, 127, 138);
const QColor kOuterDark(8, 9, 10);
const QColor kInnerDark(6, 7, 8);
const QColor kInnerLight(96, 104, 114);

}  // namespace

QRect TvFramePainter::pictureRect(const QRect& outer) {
    return outer.adjusted(kTvFrameWidth, kTvFrameWidth, -kTvFrameWidth, -kTvFrameWidth);
}

void TvFramePainter::paint(QPainter& painter, const QRect& outer) {
    const int f = kTvFrameWidth;
    if (outer.width() < 2 * f || outer.height() < 2 * f) return;
    const int l = outer.left(), t = outer.top();
    const int r = outer.right() + 1 - f, b = outer.bottom() + 1 - f;  // left/top of the far pieces
    const int innerWidth = outer.width() - 2 * f, innerHeight = outer.height() - 2 * f;

    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.drawPixmap(QPoint(l, t), bitmapResource(202));
    painter.drawPixmap(QPoint(r, t), bitmapResource(203));
    painter.drawPixmap(QPoint(l, b), bitmapResource(204));
    painter.drawPixmap(QPoint(r, b), bitmapResource(205));
    if (innerWidth > 0) {
        painter.drawPixmap(QRect(l + f, t, innerWidth, f), bitmapResource(206));
        painter.drawPixmap(QRect(l + f, b, innerWidth, f), bitmapResource(207));
    }
    if (innerHeight > 0) {
        painter.drawPixmap(QRect(l, t + f, f, innerHeight), bitmapResource(208));
        painter.drawPixmap(QRect(r, t + f, f, innerHeight), bitmapResource(209));
    }

    // Outer edge: raised.
    const int right = outer.right(), bottom = outer.bottom();
    painter.setPen(kOuterLight);
    painter.drawLine(l, t, right - 1, t);
    painter.drawLine(l, t, l, bottom - 1);
    painter.setPen(kOuterDark);
    painter.drawLine(l, bottom, right, bottom);
    painter.drawLine(right, t, right, bottom);
    // Round the picture: sunken.
    const QRect picture = pictureRect(outer).adjusted(-1, -1, 1, 1);
    painter.setPen(kInnerDark);
    painter.drawLine(picture.left(), picture.top(), picture.right() - 1, picture.top());
    painter.drawLine(picture.left(), picture.top(), picture.left(), picture.bottom() - 1);
    painter.setPen(kInnerLight);
    painter.drawLine(picture.left(), picture.bottom(), picture.right(), picture.bottom());
    painter.drawLine(picture.right(), picture.top(), picture.right(), picture.bottom());
    painter.restore();
}

}  // namespace kelto::viewer
