// The serial capture's threads on their own: six pictures taken on the thread of the object, the
// waits before each when closed captions are on, and stops that end a worker wherever it waits,
// without a picture taken afterwards.
#include "viewer/window/SerialStillCapture.h"

#include "platform/Clock.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace kelto::viewer {
namespace {

// A clock that never moves: a wait on it ends only by a stop.
class StoppedClock final : public platform::Clock {
public:
    std::uint32_t tickCountMs() override {
        ++reads;
        return 0;
    }
    void busyWaitMs(std::uint32_t) override { std::this_thread::yield(); }
    void sleepMs(std::uint32_t) override { std::this_thread::yield(); }
    std::chrono::system_clock::time_point now() override { return {}; }
    std::atomic<int> reads{0};
};

class SerialStillCaptureTest : public ::testing::Test {
protected:
    void TearDown() override { platform::setClock(nullptr); }

    // Spins (without running the event loop) until the condition holds; false after 5 s.
    template <typename Condition>
    static bool spinUntil(Condition condition) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!condition())
            if (std::chrono::steady_clock::now() > end) return false;
            else std::this_thread::yield();
        return true;
    }

    std::vector<std::thread::id> takenOn;
    SerialStillCapture capture{[this] {
        takenOn.push_back(std::this_thread::get_id());
        return std::string("picture");
    }};
};

TEST_F(SerialStillCaptureTest, SixPicturesOnTheObjectsThreadWithTheCaptionWaitsInVirtualTime) {
    platform::VirtualClock clock;
    platform::setClock(&clock);
    capture.start(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return capture.runs() == 0; }, 5000));
    EXPECT_EQ(takenOn, std::vector<std::thread::id>(6, std::this_thread::get_id()));
    EXPECT_EQ(clock.tickCountMs(), 600u);
    EXPECT_EQ(SerialStillCapture::liveWorkers(), 0);

    capture.start(false);  // without captions: no waits
    ASSERT_TRUE(QTest::qWaitFor([&] { return capture.runs() == 0; }, 5000));
    EXPECT_EQ(takenOn.size(), 12u);
    EXPECT_EQ(clock.tickCountMs(), 600u);
}

TEST_F(SerialStillCaptureTest, AStopEndsAWorkerWaitingOnTheClock) {
    StoppedClock clock;
    platform::setClock(&clock);
    capture.start(true);
    ASSERT_TRUE(spinUntil([&] { return clock.reads.load() >= 3; }));  // waiting
    capture.stopAll();
    EXPECT_EQ(SerialStillCapture::liveWorkers(), 0);
    EXPECT_EQ(capture.runs(), 0u);
    QApplication::processEvents();
    EXPECT_TRUE(takenOn.empty());
    EXPECT_EQ(capture.picturesQueued(), 0);
}

// The worker has queued its first picture and waits for it; the thread it waits for stops it
// instead of running the picture. The queued picture then finds its run stopped.
TEST_F(SerialStillCaptureTest, AStopEndsAWorkerWaitingForItsPictureAndThePictureIsNotTaken) {
    capture.start(false);
    ASSERT_TRUE(spinUntil([&] { return capture.picturesQueued() == 1; }));
    capture.stopAll();
    EXPECT_EQ(SerialStillCapture::liveWorkers(), 0);
    QApplication::processEvents();
    EXPECT_TRUE(takenOn.empty());
    capture.start(false);  // stopped for good
    EXPECT_EQ(capture.runs(), 0u);
}

// A picture whose taking ends the capture (the window closed meanwhile) is the last one: the
// other run waiting at the same moment gets none.
TEST_F(SerialStillCaptureTest, AStopWhileAPictureIsTakenLeavesTheOtherRunsWithout) {
    int taken = 0;
    SerialStillCapture* self = nullptr;
    SerialStillCapture closing([&] {
        ++taken;
        self->stopAll();
        return std::string();
    });
    self = &closing;
    closing.start(false);
    closing.start(false);
    ASSERT_TRUE(spinUntil([&] { return closing.picturesQueued() == 2; }));
    QApplication::processEvents();
    EXPECT_EQ(taken, 1);
    EXPECT_EQ(SerialStillCapture::liveWorkers(), 0);
}

TEST_F(SerialStillCaptureTest, DestroyingTheObjectEndsItsWorkersAndDropsTheirPictures) {
    int taken = 0;
    auto owned = std::make_unique<SerialStillCapture>([&] {
        ++taken;
        return std::string();
    });
    owned->start(false);
    owned->start(false);
    ASSERT_TRUE(spinUntil([&] { return owned->picturesQueued() == 2; }));
    owned.reset();
    EXPECT_EQ(SerialStillCapture::liveWorkers(), 0);
    QApplication::processEvents();
    EXPECT_EQ(taken, 0);
}

}  // namespace
}  // namespace kelto::viewer
