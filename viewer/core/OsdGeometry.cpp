#include "viewer/core/OsdGeometry.h"

namespace kelto::viewer {

OsdSize osdSizeForWidth(int pictureWidthPx) {
    if (pictureWidthPx <= 320) return {30, 20};
    if (pictureWidthPx <= 380) return {35, 25};
    if (pictureWidthPx <= 480) return {40, 30};
    if (pictureWidthPx <= 800) return {60, 40};
    if (pictureWidthPx <= 1024) return {80, 50};
    return {100, 60};
}

OsdRect osdRect(const OsdRect& picture, OsdPosition position) {
    const int height = osdSizeForWidth(picture.width).heightPx;
    const int y = position == OsdPosition::Top ? picture.y : picture.y + picture.height - height;
    return {picture.x, y, picture.width, height};
}

}  // namespace kelto::viewer
