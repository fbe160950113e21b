#include "viewer/osd/OsdLayout.h"

#include <gtest/gtest.h>

namespace kelto::viewer::test {
namespace {

TEST(OsdLayoutTest, ThePictureWidthChoosesHeightAndFontAtEveryBoundary) {
    struct Row {
        int width;
        OsdSize size;
    };
    const Row rows[] = {
        {0, {30, 20}},     {320, {30, 20}},  {321, {35, 25}}, {380, {35, 25}},  {381, {40, 30}},
        {480, {40, 30}},   {481, {60, 40}},  {800, {60, 40}}, {801, {80, 50}},  {1024, {80, 50}},
        {1025, {100, 60}}, {4096, {100, 60}},
    };
    for (const Row& row : rows) EXPECT_EQ(osdSizeForPictureWidth(row.width), row.size) << "width " << row.width;
}

TEST(OsdLayoutTest, TheDisplaySpansThePictureAtItsTopOrBottomEdge) {
    const OsdRect picture{5, 7, 640, 480};
    const OsdLayout top = layoutOsd(picture, OsdEdge::Top, 20);
    EXPECT_EQ(top.display, (OsdRect{5, 7, 640, 60}));
    EXPECT_EQ(top.fontPx, 40);
    const OsdLayout bottom = layoutOsd(picture, OsdEdge::Bottom, 10);
    EXPECT_EQ(bottom.display, (OsdRect{5, 7 + 480 - 60, 640, 60}));

    const OsdLayout small = layoutOsd({0, 0, 484, 364}, OsdEdge::Bottom, 10);
    EXPECT_EQ(small.display, (OsdRect{0, 304, 484, 60}));
}

TEST(OsdLayoutTest, TheTextKeepsTheMarginOnBothSidesAndNeverGetsANegativeWidth) {
    EXPECT_EQ(layoutOsd({0, 0, 640, 480}, OsdEdge::Top, 20).text, (OsdRect{20, 0, 600, 60}));
    EXPECT_EQ(layoutOsd({0, 0, 320, 240}, OsdEdge::Top, 10).text, (OsdRect{10, 0, 300, 30}));
    const OsdRect squeezed = layoutOsd({0, 0, 30, 20}, OsdEdge::Top, 20).text;
    EXPECT_EQ(squeezed.width, 0);
    EXPECT_LE(squeezed.x, 30);
}

}  // namespace
}  // namespace kelto::viewer::test
