#include "resources/ArtResource.h"
#include "viewer/panel/PanelLayout.h"

#include "tests/viewer/panel/PanelTestSupport.h"

#include <gtest/gtest.h>

#include <map>

namespace kelto {
namespace {

using viewer::test::argb;
using viewer::test::luminance;

const std::map<int, QSize>& expectedBitmaps() {
    static const std::map<int, QSize> sizes = [] {
        std::map<int, QSize> s;
        for (int id = 1; id <= 14; ++id) s[id] = QSize(28, 22);
        s[11] = s[12] = QSize(16, 22);  // the narrow strip's channel buttons
        s[163] = QSize(480, 60);
        s[164] = QSize(320, 60);
        s[165] = QSize(160, 60);
        s[184] = s[185] = QSize(120, 180);  // the keypad's skin, and with its keys held down
        for (int id = 202; id <= 209; ++id) s[id] = QSize(10, 10);
        s[133] = QSize(105, 15);  // the configuration sheet's tab images, seven of 15 by 15
        s[241] = QSize(30, 15);  // the capture sheet's tab images, two of 15 by 15
        for (int id = 336; id <= 339; ++id) s[id] = QSize(100, 25);  // its "Close" button
        for (int id = 304; id <= 307; ++id) s[id] = QSize(50, 50);  // the multi-screen page's animation
        for (int id = 330; id <= 332; ++id) s[id] = QSize(70, 70);  // and its layout previews
        s[135] = QSize(80, 80);  // the info page's background tile
        s[242] = QSize(96, 76);  // the info page's pictures: the TV set, multi-screen, remote, capture
        s[243] = QSize(80, 64);
        s[244] = s[245] = QSize(72, 64);
        s[308] = QSize(640, 64);  // the multi-screen view's deck under its grid
        s[327] = QSize(160, 120);  // its empty cell
        s[153] = s[310] = QSize(48, 20);  // its exit and minimise buttons held down
        s[295] = QSize(150, 90);  // the recorder controller's face
        for (int id = 166; id <= 176; ++id) s[id] = QSize(15, 24);  // its digits 0 to 9 and the dash
        for (int id = 177; id <= 179; ++id) s[id] = QSize(60, 12);  // its mode symbols
        return s;
    }();
    return sizes;
}

int opaquePixels(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) count += qAlpha(image.pixel(x, y)) == 255;
    return count;
}

TEST(ArtResourceTest, EveryBitmapRendersAtItsSizeWithContent) {
    std::vector<int> expectedIds;
    for (const auto& [id, size] : expectedBitmaps()) {
        expectedIds.push_back(id);
        const QImage image = argb(bitmapImage(id));
        ASSERT_FALSE(image.isNull()) << "bitmap " << id;
        EXPECT_EQ(image.size(), size) << "bitmap " << id;
        // Buttons have see-through rounded corners; most of each picture is solid. The info
        // page's pictures stand free on its background.
        const int solidTenths = id >= 242 && id <= 245 ? 1 : 8;
        EXPECT_GT(opaquePixels(image), size.width() * size.height() * solidTenths / 10) << "bitmap " << id;
        const QPixmap pixmap = bitmapResource(id);
        EXPECT_EQ(pixmap.size(), size) << "bitmap " << id;
    }
    EXPECT_EQ(bitmapResourceIds(), expectedIds) << "an art file without a use, or a use without art";
}

TEST(ArtResourceTest, StripBackgroundsAndFramePiecesCoverEveryPixel) {
    // They are painted over whatever the window held before: a see-through pixel would show it.
    for (int id : {163, 164, 165, 202, 203, 204, 205, 206, 207, 208, 209, 308, 327, 153, 310, 295, 166, 176, 177}) {
        const QImage image = argb(bitmapImage(id));
        EXPECT_EQ(opaquePixels(image), image.width() * image.height()) << "bitmap " << id;
    }
}

TEST(ArtResourceTest, TheStretchedSliceAndTheNarrowStripsJoinWithoutSeams) {
    const QImage wide = argb(bitmapImage(163));
    // Every column of the slice is the same, so stretching it to any width shows no pattern.
    for (int x = viewer::kStretchSliceX + 1; x < viewer::kStretchSliceX + viewer::kStretchSliceWidth; ++x)
        EXPECT_TRUE(viewer::test::sameColumn(wide, x, wide, viewer::kStretchSliceX, 60)) << "column " << x;
    // The narrower strips end in the same plain body the slice continues.
    const QImage medium = argb(bitmapImage(164));
    const QImage narrow = argb(bitmapImage(165));
    EXPECT_TRUE(viewer::test::sameColumn(medium, 319, wide, viewer::kStretchSliceX, 60));
    EXPECT_TRUE(viewer::test::sameColumn(narrow, 159, wide, viewer::kStretchSliceX, 60));
}

TEST(ArtResourceTest, UnknownNumbersGiveNothingOrTheArrow) {
    EXPECT_TRUE(bitmapImage(15).isNull());
    EXPECT_TRUE(bitmapResource(0).isNull());
    EXPECT_TRUE(iconResource(129).isNull());
    EXPECT_FALSE(hasCursorResource(229));
    EXPECT_EQ(cursorResource(229).shape(), Qt::ArrowCursor);
}

TEST(ArtResourceTest, EveryCursorHasAPictureAndItsHotSpotLiesOnIt) {
    const std::vector<int> expected = {227, 228, 235, 236, 237, 239};
    EXPECT_EQ(cursorResourceIds(), expected);
    for (int id : expected) {
        const QImage image = argb(cursorImage(id));
        ASSERT_EQ(image.size(), QSize(32, 32)) << "cursor " << id;
        EXPECT_GT(opaquePixels(image), 60) << "cursor " << id;
        const QPoint hot = cursorHotSpot(id);
        // The point that acts is drawn: white or its outline, not the see-through rest.
        EXPECT_GT(qAlpha(image.pixel(hot)), 128) << "cursor " << id;
        const QCursor cursor = cursorResource(id);
        EXPECT_EQ(cursor.shape(), Qt::BitmapCursor);
        EXPECT_EQ(cursor.hotSpot(), hot) << "cursor " << id;
    }
    EXPECT_EQ(cursorHotSpot(227), QPoint(4, 3));  // the arrow acts at its tip
}

TEST(ArtResourceTest, TheIconRendersSharpAtEverySize) {
    const QIcon icon = iconResource(128);
    ASSERT_FALSE(icon.isNull());
    for (int side : {16, 32, 48, 256}) {
        const QImage image = argb(iconPixmap(128, QSize(side, side)).toImage());
        ASSERT_EQ(image.size(), QSize(side, side));
        EXPECT_GT(opaquePixels(image), side * side / 2) << side;
        EXPECT_EQ(icon.pixmap(side).size(), QSize(side, side));
    }
}

// The backgrounds draw the buttons where the layout has its regions: each region's rectangle
// has the dark button outline on its edges and the lighter strip just outside them.
TEST(ArtResourceTest, BackgroundsDrawTheButtonsOnTheLayoutsRegions) {
    for (int width : {300, 400, 484}) {
        const viewer::PanelLayout layout(width);
        const QImage art = argb(bitmapImage(layout.backgroundBitmap()));
        for (viewer::PanelRegion region : viewer::kAllPanelRegions) {
            const QRect r = layout.regionRect(region);
            if (r.isEmpty()) continue;
            const QPoint c = r.center();
            const struct {
                QPoint edge, outside;
            } probes[] = {{{r.left(), c.y()}, {r.left() - 1, c.y()}},
                          {{r.right(), c.y()}, {r.right() + 1, c.y()}},
                          {{c.x(), r.top()}, {c.x(), r.top() - 1}},
                          {{c.x(), r.bottom()}, {c.x(), r.bottom() + 1}}};
            for (const auto& p : probes) {
                EXPECT_LT(luminance(art.pixel(p.edge)), 20)
                    << "width " << width << " region " << index(region) << " at " << p.edge.x() << "," << p.edge.y();
                EXPECT_GE(luminance(art.pixel(p.outside)) - luminance(art.pixel(p.edge)), 8)
                    << "width " << width << " region " << index(region) << " at " << p.outside.x() << "," << p.outside.y();
            }
        }
    }
}

TEST(ArtResourceTest, PressedImagesHaveTheSizeOfTheirRegions) {
    for (int width : {300, 400, 484}) {
        const viewer::PanelLayout layout(width);
        for (viewer::PanelRegion region : viewer::kAllPanelRegions) {
            const int image = viewer::pressedBitmap(region, layout.widthClass());
            if (!layout.hasRegion(region) || image == 0) continue;
            EXPECT_EQ(bitmapImage(image).size(), layout.regionRect(region).size())
                << "width " << width << " bitmap " << image;
        }
        if (layout.showsMuteLight()) {
            EXPECT_EQ(bitmapImage(viewer::kMuteOnBitmap).size(), layout.regionRect(viewer::PanelRegion::Mute).size());
        }
    }
}

}  // namespace
}  // namespace kelto
