#include "viewer/panel/TvFramePainter.h"

#include "resources/ArtResource.h"

#include "tests/viewer/panel/PanelTestSupport.h"

#include <QPainter>
#include <gtest/gtest.h>

namespace kelto::viewer {
namespace {

using test::argb;
using test::luminance;

const QRgb kSentinel = qRgb(255, 0, 255);

QImage framed(const QRect& outer, QSize canvas = {320, 260}) {
    QImage image(canvas, QImage::Format_ARGB32);
    image.fill(kSentinel);
    QPainter painter(&image);
    TvFramePainter::paint(painter, outer);
    return image;
}

TEST(TvFramePainterTest, TheFrameFillsItsTenPixelRingAndNothingElse) {
    const QRect outer(20, 15, 250, 200);
    const QImage image = framed(outer);
    const QRect picture = TvFramePainter::pictureRect(outer);
    EXPECT_EQ(picture, QRect(30, 25, 230, 180));
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const bool inRing = outer.contains(x, y) && !picture.contains(x, y);
            ASSERT_EQ(image.pixel(x, y) != kSentinel, inRing) << x << "," << y;
        }
}

TEST(TvFramePainterTest, CornersAndEdgesComeFromTheirPieces) {
    const QRect outer(0, 0, 200, 150);
    const QImage image = framed(outer);
    // Inside the pieces, away from the edge lines (outer row/column 0, inner ring at 9).
    const struct {
        int id;
        QPoint at;
    } pieces[] = {{202, {0, 0}},   {203, {190, 0}},  {204, {0, 140}}, {205, {190, 140}},
                  {206, {100, 0}}, {207, {100, 140}}, {208, {0, 70}}, {209, {190, 70}}};
    for (const auto& piece : pieces) {
        const QImage art = argb(bitmapImage(piece.id));
        for (QPoint p : {QPoint(3, 3), QPoint(6, 2), QPoint(2, 6), QPoint(5, 5)})
            EXPECT_EQ(image.pixel(piece.at + p), art.pixel(p)) << "bitmap " << piece.id << " at " << p.x() << "," << p.y();
    }
}

TEST(TvFramePainterTest, TheFrameIsRaisedAndThePictureSunken) {
    const QRect outer(0, 0, 200, 150);
    const QImage image = framed(outer);
    // Outer edge: light along the top and left, dark along the bottom and right.
    EXPECT_GT(luminance(image.pixel(100, 0)), luminance(image.pixel(100, 1)));
    EXPECT_GT(luminance(image.pixel(0, 70)), luminance(image.pixel(1, 70)));
    EXPECT_LT(luminance(image.pixel(100, 149)), 15);
    EXPECT_LT(luminance(image.pixel(199, 70)), 15);
    // Round the picture: dark above and left of it, light below and right.
    EXPECT_LT(luminance(image.pixel(100, 9)), 15);
    EXPECT_LT(luminance(image.pixel(9, 70)), 15);
    EXPECT_GT(luminance(image.pixel(100, 140)), luminance(image.pixel(100, 141)));
    EXPECT_GT(luminance(image.pixel(190, 70)), luminance(image.pixel(191, 70)));
}

TEST(TvFramePainterTest, AnAreaTooSmallForTheFrameGetsNone) {
    const QImage image = framed(QRect(0, 0, 19, 50), {60, 60});
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) ASSERT_EQ(image.pixel(x, y), kSentinel);
    // Exactly the frame's thickness twice: all frame, no picture.
    const QImage tight = framed(QRect(0, 0, 20, 20), {60, 60});
    EXPECT_NE(tight.pixel(10, 10), kSentinel);
}

}  // namespace
}  // namespace kelto::viewer
