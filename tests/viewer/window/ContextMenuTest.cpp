// The context menu's preparation on the menu resource: marks, greyed items and deletions per
// video mode and open companion windows, and the recording types that stay choosable.
#include "viewer/window/ContextMenu.h"

#include <gtest/gtest.h>

namespace kelto::viewer {
namespace {

MenuItem contextPopup(UiLanguage language = UiLanguage::EnglishUS) {
    const auto menu = loadMenu(kContextMenuId, language);
    EXPECT_TRUE(menu);
    for (const MenuItem& child : menu->children)
        if (child.kind == MenuItem::Kind::Popup && child.text == kContextPopup) return child;
    ADD_FAILURE() << "no CONTEXT pop-up";
    return {};
}

bool has(MenuItem popup, int command) { return popup.findCommand(command) != nullptr; }

TEST(ContextMenuTest, NeverShowsTheEpgPopupMultiStereoOrTheFrequencyTable) {
    for (int mode = 0; mode < 4; ++mode) {
        ContextMenuState state;
        state.videoMode = mode;
        const MenuItem menu = prepareContextMenu(contextPopup(), state);
        EXPECT_FALSE(has(menu, 32862));
        EXPECT_FALSE(has(menu, 32863));
        EXPECT_FALSE(has(menu, 32834));
        EXPECT_FALSE(has(menu, 32886));
        EXPECT_FALSE(has(menu, 32879));  // SVHS only with ENABLESVHS
    }
}

TEST(ContextMenuTest, ChannelItemsFollowTheModeAndTheCountry) {
    ContextMenuState video;
    video.videoMode = 2;
    MenuItem menu = prepareContextMenu(contextPopup(), video);
    EXPECT_FALSE(has(menu, 32880));
    EXPECT_FALSE(has(menu, 32881));
    EXPECT_FALSE(has(menu, 32882));
    EXPECT_FALSE(menu.findCommand(32776)->enabled);  // multi-screen greyed outside the tuner
    EXPECT_FALSE(menu.findCommand(32786)->enabled);

    ContextMenuState tv;
    menu = prepareContextMenu(contextPopup(), tv);
    EXPECT_TRUE(has(menu, 32880) && has(menu, 32881) && has(menu, 32882));
    tv.countryCode = 86;
    menu = prepareContextMenu(contextPopup(), tv);
    EXPECT_TRUE(has(menu, 32880));
    EXPECT_FALSE(has(menu, 32881));
    EXPECT_FALSE(has(menu, 32882));
}

// The recording types stay in the stream pop-up: without them MPEG could never be chosen.
TEST(ContextMenuTest, RecordingTypesStayChoosableWithTheirRadioMark) {
    ContextMenuState state;
    state.recordingType = 2;
    for (UiLanguage language : {UiLanguage::EnglishUS, UiLanguage::Japanese, UiLanguage::Korean, UiLanguage::ChineseSimplified}) {
        MenuItem menu = prepareContextMenu(contextPopup(language), state);
        MenuItem* stream = menu.at(13);
        ASSERT_NE(stream, nullptr);
        ASSERT_EQ(stream->kind, MenuItem::Kind::Popup);
        ASSERT_EQ(stream->children.size(), 4u);  // Capture, AVI, MPEG1, MPEG2 (the separator went)
        EXPECT_EQ(stream->children[0].command, 32870);
        EXPECT_FALSE(stream->children[1].checked);
        EXPECT_FALSE(stream->children[2].checked);
        EXPECT_TRUE(stream->children[3].checked);
        EXPECT_EQ(stream->children[3].command, 32874);
    }
}

TEST(ContextMenuTest, CompanionWindowsTakeTheVideoModePopupAndGreyTheirItems) {
    ContextMenuState state;
    state.keypadOpen = true;
    state.alwaysOnTop = true;
    MenuItem menu = prepareContextMenu(contextPopup(), state);
    EXPECT_FALSE(has(menu, 32876));  // the video-mode pop-up went
    EXPECT_FALSE(has(menu, 32862));  // and the EPG pop-up, one place earlier
    EXPECT_TRUE(has(menu, 32786));   // closed captions, right after where the EPG pop-up was
    EXPECT_FALSE(menu.findCommand(32800)->enabled);
    EXPECT_FALSE(menu.findCommand(32790)->enabled);
    EXPECT_TRUE(menu.findCommand(32774)->checked);

    ContextMenuState plain;
    EXPECT_TRUE(has(prepareContextMenu(contextPopup(), plain), 32876));
}

}  // namespace
}  // namespace kelto::viewer
