#include "viewer/multiscreen/MultiScreenPainter.h"

#include "resources/ArtResource.h"
#include "viewer/multiscreen/MultiScreenLayout.h"

#include <QPainter>

namespace kelto::viewer::multiscreen {

namespace {
// The frame is 10 pixels wide round the grid and 6 along the bottom, below the minimise button
// (which reaches 8 pixels above the window's bottom edge).
constexpr int kFrame = 10;
constexpr int kFrameBottom = 6;
}  // namespace

void MultiScreenPainter::paintPart(QPainter& painter, int cells, MultiScreenPart part) {
    const QSize size = windowSize(cells);
    const int w = size.width(), h = size.height();
    const int f = kFrame, b = kFrameBottom;
    switch (part) {
    case MultiScreenPart::Background: {
        // The deck under the grid, as wide as the grid; narrower views show its left part.
        const QRect deck = deckRect(cells);
        painter.drawPixmap(deck.topLeft(), bitmapResource(kBackgroundBitmap), QRect(QPoint(0, 0), deck.size()));
        break;
    }
    case MultiScreenPart::FrameTop: painter.drawPixmap(QRect(f, 0, w - 2 * f, f), bitmapResource(206)); break;
    case MultiScreenPart::FrameBottom: painter.drawPixmap(QRect(f, h - b, w - 2 * f, b), bitmapResource(207)); break;
    case MultiScreenPart::FrameLeft: painter.drawPixmap(QRect(0, f, f, h - f - b), bitmapResource(208)); break;
    case MultiScreenPart::FrameRight: painter.drawPixmap(QRect(w - f, f, f, h - f - b), bitmapResource(209)); break;
    case MultiScreenPart::CornerTopLeft: painter.drawPixmap(QPoint(0, 0), bitmapResource(202)); break;
    case MultiScreenPart::CornerTopRight: painter.drawPixmap(QPoint(w - f, 0), bitmapResource(203)); break;
    case MultiScreenPart::CornerBottomLeft: painter.drawPixmap(QRect(0, h - b, f, b), bitmapResource(204)); break;
    case MultiScreenPart::CornerBottomRight: painter.drawPixmap(QRect(w - f, h - b, f, b), bitmapResource(205)); break;
    case MultiScreenPart::ExitPressed: painter.drawPixmap(exitButtonRect(cells).topLeft(), bitmapResource(153)); break;
    case MultiScreenPart::MinimisePressed:
        painter.drawPixmap(minimiseButtonRect(cells).topLeft(), bitmapResource(310));
        break;
    case MultiScreenPart::EmptyCell: painter.drawPixmap(cellRect(cells, 0).topLeft(), bitmapResource(kEmptyCellBitmap)); break;
    }
}

QRect MultiScreenPainter::deckRect(int cells) {
    const QSize size = windowSize(cells);
    const int top = cellRect(cells, validCellCount(cells) - 1).bottom() + 1;
    return QRect(kFrame, top, size.width() - 2 * kFrame, size.height() - kFrameBottom - top);
}

void MultiScreenPainter::paintBackground(QPainter& painter, int cells) {
    for (int part = int(MultiScreenPart::FrameTop); part <= int(MultiScreenPart::CornerBottomRight); ++part)
        paintPart(painter, cells, MultiScreenPart(part));
    paintPart(painter, cells, MultiScreenPart::Background);
}

void MultiScreenPainter::paintCell(QPainter& painter, int cells, int k, const QImage& picture) {
    const QRect cell = cellRect(cells, k);
    if (picture.isNull()) painter.drawPixmap(cell.topLeft(), bitmapResource(kEmptyCellBitmap));
    else painter.drawImage(cell, picture);
    // A hairline between neighbouring cells, so the pictures read as a wall of screens.
    painter.save();
    painter.setPen(QColor(0, 0, 0, 150));
    painter.drawLine(cell.right(), cell.top(), cell.right(), cell.bottom());
    painter.drawLine(cell.left(), cell.bottom(), cell.right(), cell.bottom());
    painter.restore();
}

}  // namespace kelto::viewer::multiscreen
