#include "framework/QtTimerScheduler.h"
#include "framework/VirtualTimerScheduler.h"
#include "framework/WindowTimers.h"

#include <QCoreApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

namespace kelto::framework::test {
namespace {

class WindowTimersTest : public ::testing::Test {
protected:
    WindowTimersTest() {
        platform::setClock(&clock);
        map.onMessage(platform::WM_TIMER, [this](const platform::WindowMessage& m) {
            fired.push_back({int(m.wParam), clock.tickCountMs()});
            if (onFire) onFire(int(m.wParam));
            return std::int64_t(0);
        });
    }
    ~WindowTimersTest() override { platform::setClock(nullptr); }

    struct Fired {
        int id;
        std::uint32_t atMs;
        bool operator==(const Fired&) const = default;
    };
    platform::VirtualClock clock;
    VirtualTimerScheduler scheduler{clock};
    MessageMap map;
    WindowTimers timers{map, scheduler};
    std::vector<Fired> fired;
    std::function<void(int)> onFire;
};

TEST_F(WindowTimersTest, RepeatingAndOneShotTimersFireInDueOrderWithTheClockAtTheirTime) {
    timers.set(30, 100);
    timers.set(41, 150, WindowTimers::Mode::OneShot);
    scheduler.advanceMs(350);
    EXPECT_EQ(fired, (std::vector<Fired>{{30, 100}, {41, 150}, {30, 200}, {30, 300}}));
    EXPECT_TRUE(timers.isSet(30));
    EXPECT_FALSE(timers.isSet(41));  // a one-shot ends when it fires
    EXPECT_EQ(clock.tickCountMs(), 350u);
}

TEST_F(WindowTimersTest, KillStopsATimerAndSettingAgainRestartsItsPeriod) {
    timers.set(1, 100);
    scheduler.advanceMs(150);
    timers.set(1, 100);  // restarted at 150: next at 250, not 200
    scheduler.advanceMs(120);
    EXPECT_EQ(fired, (std::vector<Fired>{{1, 100}, {1, 250}}));
    EXPECT_TRUE(timers.kill(1));
    EXPECT_FALSE(timers.kill(1));
    scheduler.advanceMs(1000);
    EXPECT_EQ(fired.size(), 2u);
    EXPECT_EQ(scheduler.pending(), 0u);
}

TEST_F(WindowTimersTest, AHandlerMayKillItsOwnTimerOrSetAOneShotAgain) {
    onFire = [this](int id) {
        if (id == 21) timers.kill(21);
        if (id == 24 && fired.size() < 3) timers.set(24, 10, WindowTimers::Mode::OneShot);
    };
    timers.set(21, 5);
    timers.set(24, 10, WindowTimers::Mode::OneShot);
    scheduler.advanceMs(100);
    EXPECT_EQ(fired, (std::vector<Fired>{{21, 5}, {24, 10}, {24, 20}}));
}

TEST_F(WindowTimersTest, TimersOfAWindowThatIsGoneNeverFire) {
    {
        WindowTimers shortLived(map, scheduler);
        shortLived.set(10, 50);
    }
    scheduler.advanceMs(200);
    EXPECT_TRUE(fired.empty());
}

TEST(QtWindowTimers, TheEventLoopDeliversAOneShotOnceThroughTheMap) {
    QtTimerScheduler scheduler;
    MessageMap map;
    int count = 0;
    map.onMessage(platform::WM_TIMER, [&](const platform::WindowMessage& m) {
        count += m.wParam == 7 ? 1 : 100;
        return std::int64_t(0);
    });
    WindowTimers timers(map, scheduler);
    timers.set(7, 0, WindowTimers::Mode::OneShot);
    EXPECT_TRUE(QTest::qWaitFor([&] { return count > 0; }, 1000));
    QCoreApplication::processEvents();
    EXPECT_EQ(count, 1);
    EXPECT_FALSE(timers.isSet(7));
}

}  // namespace
}  // namespace kelto::framework::test
