// The colour page's rules on their own: level scrolling at the ends of the range, keeping the
// display colour off the colour key, and the quality mode's way through the page.
#include "viewer/config/ColourPageRules.h"

#include <gtest/gtest.h>

namespace kelto::viewer::config {
namespace {

TEST(PictureLevelScroll, StepsByOneAndFiveAndStaysInsideTheRange) {
    EXPECT_EQ(scrolledPictureLevel(127, ScrollCode::PageRight, 0), 127);
    EXPECT_EQ(scrolledPictureLevel(2, ScrollCode::PageLeft, 0), 0);
    EXPECT_EQ(scrolledPictureLevel(0, ScrollCode::LineLeft, 0), 0);
    EXPECT_EQ(scrolledPictureLevel(127, ScrollCode::LineRight, 0), 127);
    EXPECT_EQ(scrolledPictureLevel(64, ScrollCode::LineLeft, 0), 63);
    EXPECT_EQ(scrolledPictureLevel(64, ScrollCode::PageRight, 0), 69);
    EXPECT_EQ(scrolledPictureLevel(124, ScrollCode::PageRight, 0), 127);
}

TEST(PictureLevelScroll, TheThumbDeliversItsPositionOnlyWhenLetGo) {
    EXPECT_EQ(scrolledPictureLevel(64, ScrollCode::ThumbPosition, 100), 100);
    EXPECT_EQ(scrolledPictureLevel(64, ScrollCode::ThumbPosition, 300), 127);
    EXPECT_EQ(scrolledPictureLevel(64, ScrollCode::ThumbPosition, -4), 0);
    EXPECT_EQ(scrolledPictureLevel(64, ScrollCode::ThumbTrack, 100), 64);
    EXPECT_EQ(scrolledPictureLevel(64, ScrollCode::Other, 100), 64);
}

TEST(ColourKeySeparation, OnlyAGreenNearTheKeysGreenIsMoved) {
    const ColorTriple key{255, 0, 255};
    ColorTriple far{255, 5, 40};
    separateFromColourKey(far, key);
    EXPECT_EQ(far, (ColorTriple{255, 5, 40}));

    ColorTriple black{10, 0, 40};
    separateFromColourKey(black, key);
    EXPECT_EQ(black, (ColorTriple{10, 5, 40}));

    ColorTriple near{10, 4, 40};
    separateFromColourKey(near, key);
    EXPECT_EQ(near, (ColorTriple{10, 45, 45}));  // blue up by 5, green takes it

    ColorTriple full{10, 255, 40};
    separateFromColourKey(full, ColorTriple{0, 251, 0});
    EXPECT_EQ(full, (ColorTriple{10, 250, 40}));
}

TEST(ColourKeySeparation, ABlueAtTheTopStaysAComponent) {
    // Raised past 255 the blue would run into the next byte of the packed colour.
    ColorTriple colour{0, 3, 253};
    separateFromColourKey(colour, ColorTriple{255, 0, 255});
    EXPECT_EQ(colour, (ColorTriple{0, 255, 255}));
    EXPECT_EQ(colour.packed(), 0xFFFF00u);
}

TEST(QualityMode, ModeToRadioAndBackAsTheCommitStoresIt) {
    EXPECT_EQ(qualityRadioForMode(2), 0);
    EXPECT_EQ(qualityRadioForMode(3), 2);
    EXPECT_EQ(qualityRadioForMode(0), 1);
    EXPECT_EQ(qualityRadioForMode(1), 1);
    EXPECT_EQ(qualityModeForRadio(1), 0);
    EXPECT_EQ(qualityModeForRadio(2), 1);
    EXPECT_EQ(qualityModeForRadio(0), 2);
    EXPECT_EQ(qualityModeForRadio(7), 2);
    // Opened and closed unchanged: 2 stays 2, 3 becomes 1, 0 and 1 become 0.
    EXPECT_EQ(qualityModeForRadio(qualityRadioForMode(2)), 2);
    EXPECT_EQ(qualityModeForRadio(qualityRadioForMode(3)), 1);
    EXPECT_EQ(qualityModeForRadio(qualityRadioForMode(0)), 0);
    EXPECT_EQ(qualityModeForRadio(qualityRadioForMode(1)), 0);
}

}  // namespace
}  // namespace kelto::viewer::config
