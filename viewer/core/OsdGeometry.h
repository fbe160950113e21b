#pragma once
// (Used by the viewer window's interim display until it moves to viewer/osd's OsdWindow.)
// Where the on-screen display sits over the picture and how large its letters are: the display
// spans the picture's width at its top or bottom edge, and the picture's width chooses the
// display's height and font height.
#include "viewer/core/ViewerPorts.h"

namespace kelto::viewer {

struct OsdRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const OsdRect&) const = default;
};

struct OsdSize {
    int heightPx = 0;
    int fontPx = 0;
    bool operator==(const OsdSize&) const = default;
};

OsdSize osdSizeForWidth(int pictureWidthPx);

// The display's rectangle over the picture's (screen) rectangle.
OsdRect osdRect(const OsdRect& picture, OsdPosition position);

}  // namespace kelto::viewer
