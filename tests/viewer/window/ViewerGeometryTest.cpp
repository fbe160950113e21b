// Where the viewer opens and how a size change keeps the picture at 4:3 above the panel.
#include "viewer/window/ViewerGeometry.h"

#include <gtest/gtest.h>

namespace kelto::viewer {
namespace {

TEST(ViewerGeometryTest, OpeningRectangle) {
    const QSize screen(1024, 768);
    EXPECT_EQ(openingRect(QRect(100, 80, 484, 424), false, screen), QRect(100, 80, 484, 424));
    // Within 10 pixels of the right or bottom edge, without a size, or in full screen: default.
    const QRect byDefault(256, 192, 484, 364);
    EXPECT_EQ(openingRect(QRect(1014, 80, 484, 424), false, screen), byDefault);
    EXPECT_EQ(openingRect(QRect(1013, 80, 484, 424), false, screen), QRect(1013, 80, 484, 424));
    EXPECT_EQ(openingRect(QRect(100, 758, 484, 424), false, screen), byDefault);
    EXPECT_EQ(openingRect(QRect(100, 80, 0, 424), false, screen), byDefault);
    EXPECT_EQ(openingRect(QRect(100, 80, 484, 424), true, screen), byDefault);
}

TEST(ViewerGeometryTest, FourThreeWithThePanel) {
    const QSize before(400, 360);
    EXPECT_EQ(fourThreeSize(before, QSize(480, 360), SizingEdge::Right, true), QSize(480, 420));
    EXPECT_EQ(fourThreeSize(before, QSize(480, 360), SizingEdge::Right, false), QSize(480, 360));
    EXPECT_EQ(fourThreeSize(before, QSize(400, 420), SizingEdge::Bottom, true), QSize(480, 420));
    EXPECT_EQ(fourThreeSize(before, QSize(401, 420), SizingEdge::BottomRight, true), QSize(401, 360));
    EXPECT_EQ(fourThreeSize(before, before, SizingEdge::Right, true), before);  // a move: unchanged
    // Dragging the left edge keeps the right side where it was.
    EXPECT_EQ(sizedRect(QRect(100, 100, 400, 360), QRect(20, 100, 480, 360), SizingEdge::Left, true),
              QRect(20, 100, 480, 420));
    EXPECT_EQ(sizedRect(QRect(100, 100, 400, 360), QRect(100, 40, 400, 420), SizingEdge::Top, true),
              QRect(100, 40, 480, 420));
}

TEST(ViewerGeometryTest, TrackingLimits) {
    const QSize screen(1024, 768);
    EXPECT_EQ(trackingLimits(true, false, false, screen).smallest, QSize(160, 180));
    EXPECT_EQ(trackingLimits(true, false, false, screen).largest, QSize(1024, 828));
    EXPECT_EQ(trackingLimits(true, true, false, screen).smallest, QSize(160, 120));
    EXPECT_EQ(trackingLimits(false, true, true, screen).smallest, QSize(80, 60));
}

}  // namespace
}  // namespace kelto::viewer
