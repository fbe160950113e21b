// The display's size classes at their edges, and its place over the picture.
#include "viewer/core/OsdGeometry.h"

#include <gtest/gtest.h>

namespace kelto::viewer {
namespace {

TEST(OsdGeometryTest, ThePicturesWidthChoosesHeightAndFont) {
    const std::pair<int, OsdSize> cases[] = {
        {160, {30, 20}},  {320, {30, 20}},  {321, {35, 25}},  {380, {35, 25}}, {381, {40, 30}},
        {480, {40, 30}},  {481, {60, 40}},  {640, {60, 40}},  {800, {60, 40}}, {801, {80, 50}},
        {1024, {80, 50}}, {1025, {100, 60}}, {1920, {100, 60}},
    };
    for (const auto& [width, size] : cases) EXPECT_EQ(osdSizeForWidth(width), size) << width;
}

TEST(OsdGeometryTest, TheDisplaySpansThePictureAtItsTopOrBottomEdge) {
    const OsdRect picture{100, 50, 640, 480};
    EXPECT_EQ(osdRect(picture, OsdPosition::Top), (OsdRect{100, 50, 640, 60}));
    EXPECT_EQ(osdRect(picture, OsdPosition::Bottom), (OsdRect{100, 470, 640, 60}));
}

}  // namespace
}  // namespace kelto::viewer
