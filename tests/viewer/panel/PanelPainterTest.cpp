#include "viewer/panel/PanelPainter.h"

#include "resources/ArtResource.h"

#include "tests/viewer/panel/PanelTestSupport.h"

#include <QPainter>
#include <gtest/gtest.h>

namespace kelto::viewer {
namespace {

using test::argb;
using test::differingArea;
using test::sameColumn;

QImage background(int width) {
    QImage image(width, kPanelHeight, QImage::Format_ARGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    PanelPainter::paintBackground(painter, width);
    return image;
}

PanelState stateAt(int width) {
    PanelState state;
    state.width = width;
    state.channelNumber = 7;
    state.volumeStep = 16;
    return state;
}

TEST(PanelPainterTest, AWideStripShowsTheArtsLeftPartStretchedSliceAndRightEnd) {
    const QImage art = argb(bitmapImage(163));
    for (int width : {480, 484, 1000}) {
        const QImage strip = background(width);
        for (int x = 0; x < kWideLeftWidth; ++x)
            ASSERT_TRUE(sameColumn(strip, x, art, x, kPanelHeight)) << "width " << width << " column " << x;
        for (int x = kWideLeftWidth; x < width - kWideRightWidth; ++x)
            ASSERT_TRUE(sameColumn(strip, x, art, kStretchSliceX, kPanelHeight)) << "width " << width << " column " << x;
        for (int i = 0; i < kWideRightWidth; ++i)
            ASSERT_TRUE(sameColumn(strip, width - kWideRightWidth + i, art, 450 + i, kPanelHeight))
                << "width " << width << " end column " << i;
    }
}

TEST(PanelPainterTest, AMediumStripShowsItsOwnArtThenTheStretchedSlice) {
    const QImage wide = argb(bitmapImage(163));
    const QImage medium = argb(bitmapImage(164));
    for (int width : {320, 479}) {
        const QImage strip = background(width);
        for (int x = 0; x < 320; ++x)
            ASSERT_TRUE(sameColumn(strip, x, medium, x, kPanelHeight)) << "width " << width << " column " << x;
        for (int x = 320; x < width; ++x)
            ASSERT_TRUE(sameColumn(strip, x, wide, kStretchSliceX, kPanelHeight)) << "width " << width << " column " << x;
    }
}

TEST(PanelPainterTest, ANarrowStripShowsItsArtCutToFitThenTheStretchedSlice) {
    const QImage wide = argb(bitmapImage(163));
    const QImage narrow = argb(bitmapImage(165));
    for (int width : {100, 160, 319}) {
        const QImage strip = background(width);
        for (int x = 0; x < std::min(width, 160); ++x)
            ASSERT_TRUE(sameColumn(strip, x, narrow, x, kPanelHeight)) << "width " << width << " column " << x;
        for (int x = 160; x < width; ++x)
            ASSERT_TRUE(sameColumn(strip, x, wide, kStretchSliceX, kPanelHeight)) << "width " << width << " column " << x;
    }
}

TEST(PanelPainterTest, TheStripStaysInsideItsWidthAndHeightWhereverItIsPainted) {
    for (int width : {1, 100, 300, 400, 484}) {
        QImage canvas(700, 200, QImage::Format_ARGB32);
        canvas.fill(Qt::magenta);
        QPainter painter(&canvas);
        painter.translate(0, 120);
        PanelState state = stateAt(width);
        state.setPressed(PanelRegion::Exit, true);
        state.muted = true;
        PanelPainter::paint(painter, state);
        painter.end();
        EXPECT_EQ(differingArea(canvas, [&] {
                      QImage blank(canvas.size(), QImage::Format_ARGB32);
                      blank.fill(Qt::magenta);
                      return blank;
                  }()),
                  QRect(0, 120, width, kPanelHeight))
            << "width " << width;
        EXPECT_EQ(painter.isActive(), false);
    }
}

TEST(PanelPainterTest, APressedButtonShowsItsImageAndNothingElseChanges) {
    for (int width : {300, 400, 484}) {
        const PanelLayout layout(width);
        const QImage idle = argb(PanelPainter::render(stateAt(width)));
        for (PanelRegion region : kAllPanelRegions) {
            const int image = pressedBitmap(region, layout.widthClass());
            PanelState state = stateAt(width);
            state.setPressed(region, true);
            const QImage pressed = argb(PanelPainter::render(state));
            if (!layout.hasRegion(region) || image == 0) {
                EXPECT_EQ(pressed, idle) << "width " << width << " region " << index(region);
                continue;
            }
            const QRect rect = layout.regionRect(region);
            EXPECT_TRUE(rect.contains(differingArea(pressed, idle))) << "width " << width << " region " << index(region);
            const QImage art = argb(bitmapImage(image));
            int compared = 0;
            for (int y = 0; y < art.height(); ++y)
                for (int x = 0; x < art.width(); ++x)
                    if (qAlpha(art.pixel(x, y)) == 255) {
                        ASSERT_EQ(pressed.pixel(rect.topLeft() + QPoint(x, y)), art.pixel(x, y))
                            << "width " << width << " bitmap " << image << " at " << x << "," << y;
                        ++compared;
                    }
            EXPECT_GT(compared, rect.width() * rect.height() / 2);
        }
    }
}

TEST(PanelPainterTest, MuteLightsItsButtonFrom320PixelsOnly) {
    for (int width : {320, 484}) {
        PanelState muted = stateAt(width);
        muted.muted = true;
        const QImage image = argb(PanelPainter::render(muted));
        const QRect rect = PanelLayout(width).regionRect(PanelRegion::Mute);
        const QImage light = argb(bitmapImage(kMuteOnBitmap));
        EXPECT_EQ(image.pixel(rect.center()), light.pixel(rect.center() - rect.topLeft())) << width;
    }
    // Narrow: no light, and no volume display to show it either.
    PanelState muted = stateAt(300);
    muted.muted = true;
    EXPECT_EQ(argb(PanelPainter::render(muted)), argb(PanelPainter::render(stateAt(300))));
}

TEST(PanelPainterTest, ButtonsThatDoNothingOutsideTheTunerModesAreDimmed) {
    for (int width : {300, 484}) {
        const PanelLayout layout(width);
        PanelState tv = stateAt(width);
        PanelState video = stateAt(width);
        video.videoMode = 2;
        const QImage tvImage = argb(PanelPainter::render(tv));
        const QImage videoImage = argb(PanelPainter::render(video));
        for (PanelRegion region : kAllPanelRegions) {
            if (!layout.hasRegion(region)) continue;
            const QRect rect = layout.regionRect(region);
            const double before = test::meanLuminance(tvImage, rect);
            const double after = test::meanLuminance(videoImage, rect);
            if (isRegionActive(region, 2))
                EXPECT_EQ(before, after) << index(region);
            else
                EXPECT_LT(after, before * 0.75) << index(region);
        }
    }
}

TEST(PanelPainterTest, TheChannelNumberIsShownInThreePlaces) {
    EXPECT_EQ(PanelPainter::channelDigits(7), "  7");
    EXPECT_EQ(PanelPainter::channelDigits(0), "  0");
    EXPECT_EQ(PanelPainter::channelDigits(69), " 69");
    EXPECT_EQ(PanelPainter::channelDigits(125), "125");
    EXPECT_EQ(PanelPainter::channelDigits(999), "999");
    EXPECT_EQ(PanelPainter::channelDigits(1000), "---");
    EXPECT_EQ(PanelPainter::channelDigits(-1), "---");
}

TEST(PanelPainterTest, ChannelAndVolumeRepaintOnlyTheirDisplays) {
    for (int width : {300, 400, 484}) {
        const PanelLayout layout(width);
        const QImage base = argb(PanelPainter::render(stateAt(width)));
        PanelState channel = stateAt(width);
        channel.channelNumber = 8;
        const QRect channelChange = differingArea(argb(PanelPainter::render(channel)), base);
        EXPECT_FALSE(channelChange.isEmpty()) << width;
        EXPECT_TRUE(layout.channelDisplayRect().contains(channelChange)) << width;

        PanelState volume = stateAt(width);
        volume.volumeStep = 15;
        const QRect volumeChange = differingArea(argb(PanelPainter::render(volume)), base);
        if (layout.volumeDisplayRect().isEmpty()) {
            EXPECT_TRUE(volumeChange.isEmpty()) << width;
        } else {
            EXPECT_FALSE(volumeChange.isEmpty()) << width;
            EXPECT_TRUE(layout.volumeDisplayRect().contains(volumeChange)) << width;
        }
    }
}

TEST(PanelPainterTest, VolumeStepsOutsideTheRangeShowAsItsEnds) {
    PanelState loud = stateAt(484);
    loud.volumeStep = 40;
    EXPECT_EQ(argb(PanelPainter::render(loud)), argb(PanelPainter::render(stateAt(484))));
    PanelState silent = stateAt(484);
    silent.volumeStep = -3;
    PanelState zero = stateAt(484);
    zero.volumeStep = 0;
    EXPECT_EQ(argb(PanelPainter::render(silent)), argb(PanelPainter::render(zero)));
}

TEST(PanelPainterTest, EveryStepLightsOneMoreBar) {
    // The bars light from the left: more steps, more lit bar area (brighter on average).
    const QRect display = PanelLayout(484).volumeDisplayRect();
    const QRect bars(display.left(), display.top() + 20, display.width(), display.height() - 20);
    double previous = -1;
    for (int step = 0; step <= 16; ++step) {
        PanelState state = stateAt(484);
        state.volumeStep = step;
        const double brightness = test::meanLuminance(argb(PanelPainter::render(state)), bars);
        EXPECT_GT(brightness, previous) << step;
        previous = brightness;
    }
}

}  // namespace
}  // namespace kelto::viewer
