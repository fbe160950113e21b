#include "viewer/osd/OsdLayout.h"

#include <algorithm>

namespace kelto::viewer {

OsdSize osdSizeForPictureWidth(int w) {
    if (w <= 320) return {30, 20};
    if (w <= 380) return {35, 25};
    if (w <= 480) return {40, 30};
    if (w <= 800) return {60, 40};
    if (w <= 1024) return {80, 50};
    return {100, 60};
}

OsdLayout layoutOsd(const OsdRect& picture, OsdEdge edge, int marginPx) {
    const OsdSize size = osdSizeForPictureWidth(picture.width);
    OsdLayout layout;
    layout.fontPx = size.fontPx;
    const int top = edge == OsdEdge::Top ? picture.y : picture.y + picture.height - size.heightPx;
    layout.display = {picture.x, top, picture.width, size.heightPx};
    const int margin = std::max(marginPx, 0);
    const int textWidth = std::max(picture.width - 2 * margin, 0);
    layout.text = {std::min(margin, std::max(picture.width, 0)), 0, textWidth, size.heightPx};
    return layout;
}

}  // namespace kelto::viewer
