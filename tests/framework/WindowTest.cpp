#include "framework/ControlIds.h"
#include "framework/QtMenus.h"
#include "framework/VirtualTimerScheduler.h"
#include "framework/Window.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

namespace kelto::framework::test {
namespace {

// A window with an edit field and a button 1005, recording every command with its source.
class CommandWindow : public ::testing::Test {
protected:
    CommandWindow() {
        setUiLanguage(UiLanguage::EnglishUS);
        edit = new QLineEdit(&window);
        button = new QPushButton("Capture", &window);
        stampControlId(button, 1005);
        window.wiring().bindButtons();
        for (int command : {1005, 32771, 32774, 32881, 32895, 32901})
            window.messageMap().onCommand(command, [this, command] { commands.push_back(command); });
        window.messageMap().onMessage(platform::WM_COMMAND, [this](const platform::WindowMessage& m) {
            sources.push_back(int(m.wParam >> 16));
            window.messageMap().dispatchCommand(int(m.wParam & 0xFFFF));
            return std::int64_t(0);
        });
    }
    ~CommandWindow() override { setUiLanguage(std::nullopt); }

    Window window;
    QLineEdit* edit;
    QPushButton* button;
    std::vector<int> commands;
    std::vector<int> sources;
};

TEST_F(CommandWindow, AcceleratorKeysBecomeCommandsBeforeTheFocusedControlSeesThem) {
    ASSERT_TRUE(window.wiring().loadAccelerators(390));
    QTest::keyClick(edit, Qt::Key_S);
    QTest::keyClick(edit, Qt::Key_S, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Up);
    QTest::keyClick(edit, Qt::Key_Q);  // no accelerator: the field gets it
    EXPECT_EQ(commands, (std::vector<int>{32881, 32901, 32774, 32895}));
    EXPECT_EQ(sources, (std::vector<int>{1, 1, 1, 1}));
    EXPECT_EQ(edit->text(), "q");
}

TEST_F(CommandWindow, KeysOfAnotherWindowAreNotTranslated) {
    ASSERT_TRUE(window.wiring().loadAccelerators(390));
    QWidget other;
    auto* otherEdit = new QLineEdit(&other);
    QTest::keyClick(otherEdit, Qt::Key_S);
    EXPECT_TRUE(commands.empty());
    EXPECT_EQ(otherEdit->text(), "s");

    // A modal dialog of the window is a window of its own: its fields take their keys.
    QWidget dialog(&window, Qt::Dialog);
    auto* dialogEdit = new QLineEdit(&dialog);
    QTest::keyClick(dialogEdit, Qt::Key_S);
    EXPECT_TRUE(commands.empty());
    EXPECT_EQ(dialogEdit->text(), "s");
}

TEST_F(CommandWindow, ButtonsAndMenuItemsReachTheSameTable) {
    QTest::mouseClick(button, Qt::LeftButton);
    window.wiring().bindButtons();  // binding twice must not double the command
    QTest::mouseClick(button, Qt::LeftButton);

    QMenu* menu = window.wiring().buildPopupMenu(129, 0, &window);
    ASSERT_NE(menu, nullptr);
    QAction* execute = nullptr;
    for (QAction* action : menu->actions())
        if (commandOf(action) == 32771) execute = action;
    ASSERT_NE(execute, nullptr);
    execute->trigger();
    EXPECT_EQ(commands, (std::vector<int>{1005, 1005, 32771}));
    EXPECT_EQ(sources, (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(window.wiring().buildPopupMenu(129, 5, &window), nullptr);
    QMenu* byName = window.wiring().buildPopupMenu(129, "TRAY", &window);
    ASSERT_NE(byName, nullptr);
    EXPECT_EQ(byName->actions().size(), menu->actions().size());
    EXPECT_EQ(window.wiring().buildPopupMenu(129, "NO SUCH POPUP", &window), nullptr);
    EXPECT_EQ(window.wiring().buildPopupMenu(4242, 0, &window), nullptr);
}

TEST_F(CommandWindow, MessagesFromOtherProcessesGoThroughTheTableThenTheDefaultHandling) {
    platform::WindowSystem& system = platform::WindowSystem::instance();
    ASSERT_TRUE(window.wiring().createPlatformWindow("KeltoTestWindow", "Test Window"));
    const auto found = system.findWindow("KeltoTestWindow", "Test Window");
    ASSERT_TRUE(found);
    EXPECT_EQ(found, window.windowHandle());
    system.sendMessage(found, platform::WM_COMMAND, 32881, 0);
    EXPECT_EQ(commands, (std::vector<int>{32881}));

    window.show();
    ASSERT_TRUE(window.isVisible());
    system.sendMessage(found, platform::WM_CLOSE, 0, 0);  // not in the table: the window closes
    EXPECT_FALSE(window.isVisible());
}

TEST(WindowTimersOfAWindow, RunOnTheInstalledVirtualSchedulerAndReachTheWindowsTable) {
    platform::VirtualClock clock;
    platform::setClock(&clock);
    VirtualTimerScheduler scheduler(clock);
    setTimerScheduler(&scheduler);
    {
        Window window;
        std::vector<int> timers;
        window.messageMap().onMessage(platform::WM_TIMER, [&](const platform::WindowMessage& m) {
            timers.push_back(int(m.wParam));
            return std::int64_t(0);
        });
        window.timers().set(287, 1000);
        window.timers().set(40, 250, WindowTimers::Mode::OneShot);
        scheduler.advanceMs(2000);
        EXPECT_EQ(timers, (std::vector<int>{40, 287, 287}));
    }
    EXPECT_EQ(scheduler.pending(), 0u);  // a closed window leaves no timer behind
    setTimerScheduler(nullptr);
    platform::setClock(nullptr);
}

TEST(ControlIds, FindsAControlBelowARootByItsIdentifier) {
    QWidget root;
    auto* outer = new QWidget(&root);
    auto* inner = new QPushButton(outer);
    stampControlId(inner, 1008);
    stampResourceId(&root, 104);
    EXPECT_EQ(findControl(&root, 1008), inner);
    EXPECT_EQ(findControl(&root, 1009), nullptr);
    EXPECT_EQ(findControl(&root, 0), nullptr);
    EXPECT_EQ(controlIdOf(inner), 1008);
    EXPECT_EQ(resourceIdOf(&root), 104);
    EXPECT_EQ(controlIdOf(outer), 0);
}

}  // namespace
}  // namespace kelto::framework::test
