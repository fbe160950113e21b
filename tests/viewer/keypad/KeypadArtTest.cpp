// The keypad's skin and its painter: the art draws each key where the keypad takes presses, and
// the displays show what the keypad is told.
#include "resources/ArtResource.h"
#include "viewer/keypad/KeypadPainter.h"

#include "tests/viewer/panel/PanelTestSupport.h"

#include <gtest/gtest.h>

namespace kelto::viewer {
namespace {

using test::argb;
using test::differingArea;

TEST(KeypadArtTest, TheHeldDownSkinDiffersFromTheSkinExactlyAtTheKeys) {
    const QImage skin = argb(bitmapImage(kKeypadSkinBitmap));
    const QImage held = argb(bitmapImage(kKeypadPressedSkinBitmap));
    ASSERT_EQ(skin.size(), kKeypadSize);
    ASSERT_EQ(held.size(), kKeypadSize);
    QImage outside = held;
    for (KeypadRegion region : kAllKeypadRegions) {
        const QRect key = keypadRegionRect(region);
        // The key's picture changes, and its corners stay within its rectangle.
        EXPECT_EQ(differingArea(skin.copy(key), held.copy(key)).isEmpty(), false) << index(region);
        for (int y = key.top(); y <= key.bottom(); ++y)
            for (int x = key.left(); x <= key.right(); ++x) outside.setPixel(x, y, skin.pixel(x, y));
    }
    EXPECT_TRUE(differingArea(skin, outside).isEmpty()) << "held-down art outside the keys";
    // The window shows the skin as it is: every pixel is solid.
    for (int y = 0; y < skin.height(); ++y)
        for (int x = 0; x < skin.width(); ++x) ASSERT_EQ(qAlpha(skin.pixel(x, y)), 255) << x << "," << y;
}

TEST(KeypadArtTest, APressedKeyIsDrawnFromTheHeldDownSkinAndNothingElseChanges) {
    KeypadView view;
    view.channelNumber = 7;
    const QImage up = argb(KeypadPainter::render(view));
    view.drawnPressed[std::size_t(index(KeypadRegion::Digit8))] = true;
    const QImage down = argb(KeypadPainter::render(view));
    const QRect key = keypadRegionRect(KeypadRegion::Digit8);
    EXPECT_EQ(differingArea(up, down), differingArea(up.copy(key), down.copy(key)).translated(key.topLeft()));
    EXPECT_EQ(down.copy(key), argb(bitmapImage(kKeypadPressedSkinBitmap)).copy(key));
}

TEST(KeypadArtTest, TheDisplaysShowChannelModeMuteAndVolumeInTheirAreas) {
    const KeypadDisplayAreas areas = keypadDisplayAreas();
    KeypadView view;
    view.channelNumber = 12;
    const QImage base = argb(KeypadPainter::render(view));

    // The lit segments glow a little beyond their area.
    KeypadView other = view;
    other.channelNumber = 13;
    EXPECT_TRUE(areas.channel.adjusted(-3, -3, 3, 3).contains(differingArea(base, argb(KeypadPainter::render(other)))));
    other = view;
    other.videoMode = VideoMode::CATV;
    EXPECT_TRUE(areas.mode.contains(differingArea(base, argb(KeypadPainter::render(other)))));
    other = view;
    other.volumeStep = 9;
    const QRect volume = differingArea(base, argb(KeypadPainter::render(other)));
    EXPECT_FALSE(volume.isEmpty());
    EXPECT_TRUE(areas.volume.united(areas.mute).contains(volume));
    other = view;
    other.muted = true;
    EXPECT_TRUE(areas.volume.united(areas.mute).contains(differingArea(base, argb(KeypadPainter::render(other)))));
    // Outside the tuner modes no number is lit.
    other = view;
    other.videoMode = VideoMode::VIDEO;
    const QImage video = argb(KeypadPainter::render(other));
    other.channelNumber = 99;
    EXPECT_TRUE(differingArea(video, argb(KeypadPainter::render(other))).isEmpty());
    // Every display sits on the glass, clear of the keys.
    for (const QRect& area : {areas.mode, areas.channel, areas.mute, areas.volume}) {
        EXPECT_TRUE(areas.glass.contains(area));
        for (KeypadRegion region : kAllKeypadRegions) EXPECT_FALSE(area.intersects(keypadRegionRect(region)));
    }
}

}  // namespace
}  // namespace kelto::viewer
