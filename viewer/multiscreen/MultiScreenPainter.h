#pragma once
// The multi-screen view's own painting, part by part:
//   1 the background (bitmap 308): the control deck below the grid, drawn from its left end
//     (deckRect), with the two buttons in their up state and the name plate;
//   2 to 5 the frame's edges (bitmaps 206 top, 207 bottom, 208 left, 209 right) stretched along
//     the window's sides, 10 pixels wide and 6 along the bottom, and 6 to 9 its corners (202 to
//     205, the bottom ones 6 pixels high);
//   10 the exit button pressed (153) and 11 the minimise button pressed (310), over the buttons;
//   12 the empty cell (327), in a cell without a channel or without a picture yet.
// The platform shows true colour, so no palette is built or realised.
#include <QImage>
#include <QRect>

class QPainter;

namespace kelto::viewer::multiscreen {

enum class MultiScreenPart {
    Background = 1,
    FrameTop,
    FrameBottom,
    FrameLeft,
    FrameRight,
    CornerTopLeft,
    CornerTopRight,
    CornerBottomLeft,
    CornerBottomRight,
    ExitPressed,
    MinimisePressed,
    EmptyCell,
};

class MultiScreenPainter {
public:
    static constexpr int kBackgroundBitmap = 308;
    static constexpr int kEmptyCellBitmap = 327;

    // One part in the window of `cells` cells (EmptyCell: in cell 0).
    static void paintPart(QPainter& painter, int cells, MultiScreenPart part);
    // Where the deck lies: below the grid, between the side frames, down to the bottom frame.
    static QRect deckRect(int cells);
    // Frame parts 2 to 9, then the background.
    static void paintBackground(QPainter& painter, int cells);
    // Cell k: its picture, or the empty cell when it has none (a null image).
    static void paintCell(QPainter& painter, int cells, int k, const QImage& picture);
};

}  // namespace kelto::viewer::multiscreen
