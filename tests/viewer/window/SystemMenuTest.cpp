// The viewer's system menu and the window's state: Alt+Space opens it (a right click on the
// panel strip opens no menu at all), each item reaches its handler through WM_SYSCOMMAND, and
// the desktop's own minimise and maximise reach the same handlers without setting off one another.
#include "tests/viewer/window/ViewerWindowRig.h"

#include "framework/QtMenus.h"
#include "viewer/panel/PanelLayout.h"

#include <QMenu>
#include <QTest>

namespace kelto {
namespace {

using platform::SC_CLOSE;
using platform::SC_MAXIMIZE;
using platform::SC_MINIMIZE;
using platform::SC_RESTORE;

class SystemMenuTest : public test::ViewerWindowRig {
protected:
    void SetUp() override {
        ViewerWindowRig::SetUp();
        saveState(7, QRect(40, 40, 484, 424));
        ASSERT_TRUE(open());
    }
    std::int64_t systemCommand(std::uint32_t command) {
        return viewer->wiring().dispatch({viewer->windowHandle(), platform::WM_SYSCOMMAND, command, 0, 0, {}, false});
    }
    QAction* item(QMenu* menu, std::uint32_t command) {
        for (QAction* action : menu->actions())
            if (framework::commandOf(action) == int(command)) return action;
        return nullptr;
    }
    // A point of the panel strip outside every button, in window coordinates.
    QPoint panelBackground() const {
        const viewer::PanelLayout layout(viewer->width());
        for (int x = 0; x < viewer->width(); ++x)
            for (int y = 0; y < viewer::kPanelHeight; ++y)
                if (!layout.regionAt({x, y})) return viewer->panelRect().topLeft() + QPoint(x, y);
        return {};
    }
};

TEST_F(SystemMenuTest, AltSpaceOpensTheMenuAndItsItemsReachTheirHandlers) {
    QTest::keyClick(viewer, Qt::Key_Space, Qt::AltModifier);
    QMenu* menu = viewer->lastSystemMenu();
    ASSERT_NE(menu, nullptr);
    for (std::uint32_t command : {SC_RESTORE, SC_MINIMIZE, SC_MAXIMIZE, SC_CLOSE, viewer::kAboutSystemCommand})
        ASSERT_NE(item(menu, command), nullptr) << std::hex << command;
    // Nothing to restore in a normal window.
    EXPECT_FALSE(item(menu, SC_RESTORE)->isEnabled());
    EXPECT_TRUE(item(menu, SC_MAXIMIZE)->isEnabled());

    item(menu, viewer::kAboutSystemCommand)->trigger();
    EXPECT_EQ(counts.aboutBoxes, 1);
    item(menu, SC_MINIMIZE)->trigger();
    EXPECT_TRUE(viewer->isMinimized());
    // Maximise from minimised is full screen.
    item(menu, SC_MAXIMIZE)->trigger();
    EXPECT_FALSE(viewer->isMinimized());
    EXPECT_TRUE(viewer->showState().maximised);
    EXPECT_EQ(viewer->settings().fullScreen, 1);
    // Restore leaves it; the system's low four bits do not change the command.
    systemCommand(SC_RESTORE | 0x2);
    EXPECT_FALSE(viewer->showState().maximised);
    systemCommand(SC_MAXIMIZE | 0x2);
    EXPECT_TRUE(viewer->showState().maximised);
    // Close asks the window to close through its close path.
    item(menu, SC_CLOSE)->trigger();
    EXPECT_TRUE(deliverPostedUntil([&] { return viewer.isNull(); }));
    EXPECT_EQ(counts.closed, 1);
}

TEST_F(SystemMenuTest, InFullScreenRestoreLeavesItAndMaximiseDoesNothing) {
    viewer->wiring().sendCommand(32779);
    ASSERT_TRUE(viewer->showState().maximised);
    QTest::keyClick(viewer, Qt::Key_Space, Qt::AltModifier);
    QMenu* menu = viewer->lastSystemMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(item(menu, SC_RESTORE)->isEnabled());
    EXPECT_FALSE(item(menu, SC_MAXIMIZE)->isEnabled());
    systemCommand(SC_MAXIMIZE);
    EXPECT_TRUE(viewer->showState().maximised);
    item(menu, SC_RESTORE)->trigger();
    EXPECT_FALSE(viewer->showState().maximised);
    EXPECT_EQ(viewer->geometry(), QRect(40, 40, 484, 424));
    // Commands the viewer does not take go to the default handling, which leaves them be.
    systemCommand(platform::SC_MOVE);
    systemCommand(0x1230);
    EXPECT_FALSE(viewer->showState().maximised);
    EXPECT_FALSE(viewer->isMinimized());
}

TEST_F(SystemMenuTest, ARightClickOnThePanelOpensNoMenuOnAButtonOrOnItsBackground) {
    const QPoint button = viewer::PanelLayout(viewer->width()).regionRect(viewer::PanelRegion::Mute).center() +
                          viewer->panelRect().topLeft();
    mouse(viewer, QEvent::MouseButtonPress, button, Qt::RightButton, Qt::RightButton);
    EXPECT_EQ(viewer->lastSystemMenu(), nullptr);
    EXPECT_EQ(viewer->lastContextMenu(), nullptr);

    const QPoint background = panelBackground();
    ASSERT_FALSE(background.isNull());
    mouse(viewer, QEvent::MouseButtonPress, background, Qt::RightButton, Qt::RightButton);
    EXPECT_EQ(viewer->lastSystemMenu(), nullptr);
    EXPECT_EQ(viewer->lastContextMenu(), nullptr);
}

TEST_F(SystemMenuTest, TheDesktopsMinimiseAndMaximiseReachTheSameHandlersWithoutLoops) {
    // Each change of the desktop's finds the window already where the handler would take it, so
    // the window stays as the desktop left it and full screen is never entered or left by it.
    viewer->showMinimized();
    EXPECT_TRUE(viewer->isMinimized());
    viewer->showNormal();
    EXPECT_FALSE(viewer->isMinimized());
    viewer->showMaximized();
    EXPECT_TRUE(viewer->isMaximized());
    viewer->showFullScreen();
    EXPECT_TRUE(viewer->isFullScreen());
    viewer->showMinimized();
    EXPECT_TRUE(viewer->isMinimized());
    viewer->showFullScreen();
    EXPECT_TRUE(viewer->isFullScreen());
    viewer->showNormal();
    EXPECT_FALSE(viewer->showState().maximised);
    EXPECT_FALSE(viewer->isMinimized());
    EXPECT_EQ(viewer->settings().fullScreen, 0);

    // Restore of a minimised window is the system's own: it comes back normal.
    viewer->showMinimized();
    systemCommand(SC_RESTORE);
    EXPECT_FALSE(viewer->isMinimized());
    EXPECT_FALSE(viewer->showState().maximised);
}

}  // namespace
}  // namespace kelto
