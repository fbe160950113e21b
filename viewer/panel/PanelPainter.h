#pragma once
// Paints the panel strip with a QPainter (onto a window, a pixmap or an image): the background
// bitmap of the width class sliced to the strip's width, the pressed and lit button images, the
// channel number as lit segment digits, and the volume as a row of sixteen steps.
//
// Slicing, for a strip `w` pixels wide:
//   480 and wider: bitmap 163's left 450 pixels at the left end, its 10-pixel slice at x 440
//                  stretched over the w - 480 pixels between, its last 30 pixels at the right end;
//   320 to 479:    bitmap 164's left 320 pixels, then 163's slice stretched to the right end;
//   below 320:     bitmap 165 (clipped when the strip is narrower), then 163's slice stretched.
#include "viewer/panel/PanelState.h"

#include <QImage>

class QPainter;

namespace kelto::viewer {

class PanelPainter {
public:
    // Paints the strip with its top-left corner at the painter's origin, state.width wide and
    // 60 pixels high. Leaves the painter's state as it found it.
    static void paint(QPainter& painter, const PanelState& state);

    // Only the background of the strip, by the slicing rules above.
    static void paintBackground(QPainter& painter, int width);

    // The strip on a new image (for previews and checks).
    static QImage render(const PanelState& state);

    // The text the channel display shows: the number right-aligned in three places, or dashes
    // for a number it cannot show (below 0 or above 999).
    static QString channelDigits(int channelNumber);
};

}  // namespace kelto::viewer
