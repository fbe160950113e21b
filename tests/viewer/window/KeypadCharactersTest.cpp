// Characters from the remote control's receiving window while the on-screen keypad is open belong
// to the keypad: they reach it unchanged and neither the volume nor the channel moves.
#include "tests/viewer/window/ViewerWindowRig.h"

#include "platform/WindowMessageIds.h"
#include "viewer/keypad/CRemoteKeypadDlg.h"

namespace kelto::test {
namespace {

using Passed = viewer::RemoteKeypad::PassedOn;

class KeypadCharactersTest : public ViewerWindowRig {
protected:
    // A character as the receiving window hands it to the viewer.
    void character(std::uint32_t code) {
        platform::WindowSystem::instance().sendMessage(viewer->windowHandle(), platform::WM_CHAR, code, 0);
    }
};

TEST_F(KeypadCharactersTest, ArrowAndDigitCharactersGoToTheOpenKeypadNotToVolumeOrChannel) {
    saveState(7, QRect(40, 40, 484, 424));
    ASSERT_TRUE(open());
    scheduler.advanceMs(3000);  // the opening's display has gone
    viewer->wiring().sendCommand(1052);
    auto* keypad = viewer->keypad().window();
    ASSERT_TRUE(keypad);
    for (std::uint32_t code : {37u, 38u, 39u, 40u, std::uint32_t('5')}) character(code);
    const std::uint32_t ch = platform::WM_CHAR;
    EXPECT_EQ(keypad->keypad().passedOn(), (std::vector<Passed>{{ch, 37}, {ch, 38}, {ch, 39}, {ch, 40}, {ch, '5'}}));
    EXPECT_EQ(viewer->session()->volumeStep(), 16);
    EXPECT_EQ(viewer->currentChannel(), 7);
    EXPECT_FALSE(viewer->session()->numericEntryActive());
    EXPECT_EQ(viewer->onScreenText(), "");
    scheduler.advanceMs(1000);  // no channel entry ends either
    EXPECT_EQ(viewer->currentChannel(), 7);

    // Closed again, the same characters step the volume and the channel.
    keypad->keypad().restore();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(viewer->keypad().isOpen());
    character(37);
    EXPECT_EQ(viewer->session()->volumeStep(), 15);
    character(38);
    EXPECT_EQ(viewer->currentChannel(), 9);
}

}  // namespace
}  // namespace kelto::test
