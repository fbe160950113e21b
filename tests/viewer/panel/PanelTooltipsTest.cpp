#include "viewer/panel/PanelTooltips.h"

#include "resources/StringTable.h"

#include <gtest/gtest.h>

#include <set>

namespace kelto::viewer {
namespace {

TEST(PanelTooltipsTest, EachRegionHasItsOwnString) {
    const std::pair<PanelRegion, int> expected[] = {
        {PanelRegion::ChannelUp, 213},      {PanelRegion::ChannelDown, 214},
        {PanelRegion::VolumeUp, 215},       {PanelRegion::VolumeDown, 216},
        {PanelRegion::Mute, 217},           {PanelRegion::VideoSource, 218},
        {PanelRegion::Exit, 219},           {PanelRegion::Configuration, 220},
        {PanelRegion::Capture, 221},        {PanelRegion::Keypad, 222},
        {PanelRegion::Information, 32851},  {PanelRegion::ChannelInformation, 32852}};
    for (const auto& [region, id] : expected) EXPECT_EQ(tooltipStringId(region), id) << index(region);
}

TEST(PanelTooltipsTest, TheTextsStandInTheUsersLanguage) {
    setUiLanguage(UiLanguage::EnglishUS);
    EXPECT_EQ(tooltipText(PanelRegion::ChannelUp), "Channel Up");
    EXPECT_EQ(tooltipText(PanelRegion::VideoSource), "Video Source Change");
    EXPECT_EQ(tooltipText(PanelRegion::Keypad), "Remocon");
    EXPECT_EQ(tooltipText(PanelRegion::ChannelInformation), "EPG channel information");
    setUiLanguage(UiLanguage::Japanese);
    EXPECT_EQ(tooltipText(PanelRegion::Mute), QString::fromUtf8("消音"));
    setUiLanguage(std::nullopt);
}

TEST(PanelTooltipsTest, EveryLanguageTranslatesEveryTooltip) {
    for (PanelRegion region : kAllPanelRegions) {
        const int id = tooltipStringId(region);
        const auto english = findString(UiLanguage::EnglishUS, id);
        ASSERT_TRUE(english) << id;
        std::set<std::string> texts{*english};
        for (UiLanguage language : {UiLanguage::Japanese, UiLanguage::Korean, UiLanguage::ChineseSimplified}) {
            const auto text = findString(language, id);
            ASSERT_TRUE(text) << id;
            texts.insert(*text);
        }
        // A language that lacked the string would answer with the English text.
        EXPECT_EQ(texts.size(), 4u) << id;
    }
}

}  // namespace
}  // namespace kelto::viewer
