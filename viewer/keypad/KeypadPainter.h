#pragma once
// Paints the keypad with a QPainter (onto its window or an image): skin bitmap 184, each key
// drawn pressed copied from bitmap 185, then the displays on the glass: the video mode, the
// channel number as lit segment digits (in the tuner modes), the mute light and the volume as a
// row of sixteen steps with its number.
#include "viewer/keypad/RemoteKeypad.h"

#include <QImage>

class QPainter;

namespace kelto::viewer {

class KeypadPainter {
public:
    // Paints the keypad with its top-left corner at the painter's origin.
    static void paint(QPainter& painter, const KeypadView& view);
    // The keypad on a new 120 by 180 image (for previews and checks).
    static QImage render(const KeypadView& view);
};

}  // namespace kelto::viewer
