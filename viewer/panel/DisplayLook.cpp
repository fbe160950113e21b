#include "viewer/panel/DisplayLook.h"

namespace kelto::viewer {

QFont displayLabelFont(int pixelSize) {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixelSize);
    font.setWeight(QFont::DemiBold);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 0.6);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

const char* videoModeLabel(int videoMode) {
    switch (videoMode) {
    case 0: return "TV";
    case 1: return "CATV";
    case 2: return "VIDEO";
    case 3: return "SVHS";
    default: return "";
    }
}

}  // namespace kelto::viewer
