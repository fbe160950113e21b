// The program's exported display-mode functions on an in-memory display: the save walks the
// modes (a mode that cannot be read is asked again, the third failure ends it), the switch is
// made for the session and then as the display's setting, and the restore brings back the very
// mode found at the save.
#include "viewer/window/WinModeExports.h"

#include <gtest/gtest.h>

namespace kelto {
namespace {

using platform::DisplayMode;
using platform::InMemoryDisplay;

class WinModeExportsTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::setDisplayModes(&display);
        viewer::forgetSavedWinMode();
    }
    void TearDown() override {
        platform::setDisplayModes(nullptr);
        viewer::forgetSavedWinMode();
    }
    InMemoryDisplay display;
};

TEST_F(WinModeExportsTest, SaveFindsTheModeInUseAndRetriesAFailedQueryTwice) {
    display = platform::typicalDisplay(1024, 768, 32);
    display.failQueries(2);
    EXPECT_EQ(SaveWinMode(nullptr), 1);
    // Two failures at index 0, then indexes 0, 1 and 2 (1024x768).
    EXPECT_EQ(display.queries(), 5);
    const auto& saved = viewer::savedWinMode();
    EXPECT_EQ(saved.bitsPerPixel, 32);
    EXPECT_EQ(saved.width, 1024);
    EXPECT_EQ(saved.height, 768);
    ASSERT_TRUE(saved.description.has_value());

    display.failQueries(3);
    EXPECT_EQ(SaveWinMode(nullptr), 0);
    EXPECT_TRUE(display.switches().empty());
}

TEST_F(WinModeExportsTest, SaveMatchesDepthAndSizeAndFailsWithoutAModeInUse) {
    // The size in use at another depth is not the mode in use.
    display = InMemoryDisplay({{16, 1024, 768, 60, 1}, {24, 1024, 768, 60, 2}}, 1);
    EXPECT_EQ(SaveWinMode(nullptr), 1);
    EXPECT_EQ(display.queries(), 2);
    // A display that cannot say which mode it is in, or lists none: nothing to save.
    display = InMemoryDisplay({{24, 800, 600, 60, 1}}, -1);
    viewer::forgetSavedWinMode();
    EXPECT_EQ(SaveWinMode(nullptr), 0);
    EXPECT_EQ(SetWin640x480Mode(nullptr), 0);  // nothing saved: nothing to switch with
    EXPECT_EQ(RestoreWinMode(nullptr), 0);
    EXPECT_TRUE(display.switches().empty());
}

TEST_F(WinModeExportsTest, SwitchTwiceThenRestoreTheExactModeEvenAmongTwoOfItsSize) {
    // Two 1024x768 modes; the second (75 Hz) is in use.
    display = InMemoryDisplay(
        {{24, 640, 480, 60, 1}, {24, 1024, 768, 60, 2}, {24, 1024, 768, 75, 3}}, 2);
    ASSERT_EQ(SaveWinMode(nullptr), 1);
    EXPECT_EQ(SetWin640x480Mode(nullptr), 1);
    ASSERT_EQ(display.switches().size(), 2u);
    EXPECT_FALSE(display.switches()[0].remember);
    EXPECT_TRUE(display.switches()[1].remember);
    EXPECT_EQ(display.current()->id, 1u);
    EXPECT_EQ(RestoreWinMode(nullptr), 1);
    EXPECT_EQ(display.current()->id, 3u);

    // A refused switch answers 0.
    display.refuseSwitches(true);
    EXPECT_EQ(SetWin640x480Mode(nullptr), 0);
    EXPECT_EQ(display.current()->id, 3u);
}

}  // namespace
}  // namespace kelto
