#pragma once
// The look of the small lit displays on the panel strip and on the on-screen keypad (channel,
// video mode, volume), shared so the two read alike: the colours, the label font and the names of
// the video modes.
#include <QColor>
#include <QFont>

namespace kelto::viewer {

inline const QColor kDisplayLit(98, 224, 255);
inline const QColor kDisplayUnlit(98, 224, 255, 20);
inline const QColor kDisplayLabel(140, 214, 235, 170);
inline const QColor kDisplayMuted(255, 96, 80);

// The label font: "Arial" (or its metric twin), semi-bold, slightly spaced, at `pixelSize`.
QFont displayLabelFont(int pixelSize);

// "TV", "CATV", "VIDEO", "SVHS" for video modes 0 to 3; "" for anything else.
const char* videoModeLabel(int videoMode);

}  // namespace kelto::viewer
