#include "viewer/panel/PanelLayout.h"

#include <gtest/gtest.h>

#include <optional>
#include <set>

namespace kelto::viewer {
namespace {

using R = PanelRegion;

TEST(PanelLayoutTest, WidthClassesChangeAt320And480) {
    EXPECT_EQ(panelWidthClass(0), PanelWidthClass::Narrow);
    EXPECT_EQ(panelWidthClass(319), PanelWidthClass::Narrow);
    EXPECT_EQ(panelWidthClass(320), PanelWidthClass::Medium);
    EXPECT_EQ(panelWidthClass(479), PanelWidthClass::Medium);
    EXPECT_EQ(panelWidthClass(480), PanelWidthClass::Wide);
    EXPECT_EQ(PanelLayout(319).backgroundBitmap(), 165);
    EXPECT_EQ(PanelLayout(320).backgroundBitmap(), 164);
    EXPECT_EQ(PanelLayout(479).backgroundBitmap(), 164);
    EXPECT_EQ(PanelLayout(480).backgroundBitmap(), 163);
}

struct Probe {
    int x, y;
    std::optional<R> region;
};

void expectHits(int width, std::initializer_list<Probe> probes) {
    const PanelLayout layout(width);
    for (const Probe& p : probes) {
        const auto hit = layout.regionAt(QPoint(p.x, p.y));
        EXPECT_EQ(hit.has_value(), p.region.has_value()) << "width " << width << " at " << p.x << "," << p.y;
        if (hit && p.region) {
            EXPECT_EQ(index(*hit), index(*p.region)) << "width " << width << " at " << p.x << "," << p.y;
        }
    }
}

TEST(PanelLayoutTest, HitsJustBelowTheMediumWidthUseTheNarrowButtons) {
    expectHits(319, {{56, 18, R::ChannelUp}, {56, 40, R::ChannelDown}, {63, 28, R::ChannelUp},
                     {64, 18, std::nullopt}, {56, 29, std::nullopt}, {56, 30, std::nullopt},
                     {80, 18, R::VolumeUp}, {80, 40, R::VolumeDown}, {110, 18, R::Mute},
                     {110, 40, R::VideoSource}, {140, 18, R::Exit}, {140, 40, R::Configuration},
                     {20, 30, std::nullopt}, {200, 30, std::nullopt}, {300, 18, std::nullopt}});
}

TEST(PanelLayoutTest, HitsFrom320To479UseTheMediumButtons) {
    for (int width : {320, 479}) {
        expectHits(width, {{56, 18, std::nullopt}, {70, 18, R::ChannelUp}, {70, 40, R::ChannelDown},
                           {170, 18, R::VolumeUp}, {170, 40, R::VolumeDown}, {200, 18, R::Mute},
                           {200, 40, R::VideoSource}, {230, 18, R::Capture}, {230, 40, R::Keypad},
                           {260, 18, R::Information}, {260, 40, R::ChannelInformation},
                           {300, 18, R::Exit}, {300, 40, R::Configuration},
                           {314, 52, R::Configuration}, {315, 52, std::nullopt},
                           {110, 18, std::nullopt}, {400, 18, std::nullopt}});
    }
}

TEST(PanelLayoutTest, HitsFrom480UseTheWideButtons) {
    for (int width : {480, 1280}) {
        expectHits(width, {{70, 18, std::nullopt}, {110, 18, R::ChannelUp}, {110, 40, R::ChannelDown},
                           {275, 18, R::VolumeUp}, {275, 40, R::VolumeDown}, {310, 18, R::Mute},
                           {310, 40, R::VideoSource}, {340, 18, R::Capture}, {340, 40, R::Keypad},
                           {380, 18, R::Information}, {380, 40, R::ChannelInformation},
                           {420, 18, R::Exit}, {420, 40, R::Configuration},
                           {436, 18, std::nullopt}, {470, 30, std::nullopt}, {200, 30, std::nullopt}});
    }
}

TEST(PanelLayoutTest, NothingOutsideTheStripIsHit) {
    const PanelLayout layout(484);
    EXPECT_FALSE(layout.regionAt({110, -1}));
    EXPECT_FALSE(layout.regionAt({110, 60}));
    EXPECT_FALSE(layout.regionAt({-1, 18}));
    EXPECT_FALSE(layout.regionAt({484, 18}));
    // A strip narrower than its art: the cut-off exit button is pressable on its visible part only.
    const PanelLayout clipped(140);
    EXPECT_EQ(clipped.regionAt({135, 18}), R::Exit);
    EXPECT_FALSE(clipped.regionAt({140, 18}));
    EXPECT_FALSE(clipped.regionAt({150, 18}));
}

TEST(PanelLayoutTest, RegionsAndDisplaysNeverOverlapAndStayOnTheirArt) {
    for (int width : {160, 319, 320, 479, 480}) {
        const PanelLayout layout(width);
        // The art that draws them: the narrow and medium bitmaps whole, the wide one's left part.
        const int artWidth = width >= 480 ? kStretchSliceX : width >= 320 ? 320 : 160;
        std::vector<QRect> taken = {layout.channelDisplayRect()};
        if (!layout.volumeDisplayRect().isEmpty()) taken.push_back(layout.volumeDisplayRect());
        for (R region : kAllPanelRegions)
            if (layout.hasRegion(region)) taken.push_back(layout.regionRect(region));
        for (std::size_t i = 0; i < taken.size(); ++i) {
            EXPECT_TRUE(QRect(0, 0, artWidth, kPanelHeight).contains(taken[i])) << "width " << width << " rect " << i;
            for (std::size_t j = i + 1; j < taken.size(); ++j)
                EXPECT_FALSE(taken[i].intersects(taken[j])) << "width " << width << " rects " << i << ", " << j;
        }
    }
}

TEST(PanelLayoutTest, TheNarrowStripLeavesOutFourButtonsAndTheVolumeDisplay) {
    const PanelLayout narrow(300);
    std::set<int> missing;
    for (R region : kAllPanelRegions)
        if (!narrow.hasRegion(region)) missing.insert(index(region));
    EXPECT_EQ(missing, (std::set<int>{index(R::Capture), index(R::Keypad), index(R::Information),
                                      index(R::ChannelInformation)}));
    EXPECT_TRUE(narrow.volumeDisplayRect().isEmpty());
    EXPECT_FALSE(narrow.showsMuteLight());
    for (int width : {320, 480})
        for (R region : kAllPanelRegions) EXPECT_TRUE(PanelLayout(width).hasRegion(region)) << width;
}

TEST(PanelLayoutTest, PressedImagesFollowTheWidthClass) {
    const std::pair<R, int> images[] = {{R::ChannelUp, 1},  {R::ChannelDown, 2},   {R::VolumeUp, 3},
                                        {R::VolumeDown, 4}, {R::Exit, 5},          {R::Capture, 6},
                                        {R::Configuration, 7}, {R::Mute, 0},       {R::VideoSource, 9},
                                        {R::Keypad, 10},    {R::Information, 13},  {R::ChannelInformation, 14}};
    for (PanelWidthClass c : {PanelWidthClass::Medium, PanelWidthClass::Wide})
        for (const auto& [region, image] : images) EXPECT_EQ(pressedBitmap(region, c), image) << index(region);
    EXPECT_EQ(pressedBitmap(R::ChannelUp, PanelWidthClass::Narrow), 11);
    EXPECT_EQ(pressedBitmap(R::ChannelDown, PanelWidthClass::Narrow), 12);
    for (const auto& [region, image] : images) {
        if (region != R::ChannelUp && region != R::ChannelDown) {
            EXPECT_EQ(pressedBitmap(region, PanelWidthClass::Narrow), image) << index(region);
        }
    }
}

TEST(PanelLayoutTest, ChannelKeypadAndInformationButtonsActOnlyWithTheTuner) {
    const std::set<int> tunerOnly = {index(R::ChannelUp), index(R::ChannelDown), index(R::Keypad),
                                     index(R::Information), index(R::ChannelInformation)};
    for (R region : kAllPanelRegions) {
        EXPECT_TRUE(isRegionActive(region, 0));
        EXPECT_TRUE(isRegionActive(region, 1));
        const bool expected = !tunerOnly.contains(index(region));
        EXPECT_EQ(isRegionActive(region, 2), expected) << index(region);
        EXPECT_EQ(isRegionActive(region, 3), expected) << index(region);
    }
}

}  // namespace
}  // namespace kelto::viewer
