#pragma once
// What the multi-screen page paints itself, behind its controls: the header strip bearing
// "KELTO MULTISCREEN", the animation frame and the layout preview on a dark well below it.
#include <QRect>

class QPainter;

namespace kelto::viewer::config {

struct MultiScreenPageArt {
    static constexpr int kHeaderHeight = 22;
    static constexpr QRect kAnimationRect{20, 30, 50, 50};
    static constexpr QRect kPreviewRect{80, 30, 70, 70};
    // The well behind the two pictures; the page's controls lie outside it and below the header.
    static constexpr QRect kWellRect{12, 26, 146, 80};
    static constexpr const char* kHeaderText = "KELTO MULTISCREEN";

    // Paints everything over a page `width` pixels wide: bitmaps `animationBitmap` and
    // `previewBitmap` at their places.
    static void paint(QPainter& painter, int width, int animationBitmap, int previewBitmap);
    // Everything the art covers (the controls must stay out of it).
    static QRect headerRect(int width) { return {0, 0, width, kHeaderHeight}; }
};

}  // namespace kelto::viewer::config
