// The still page's serial worker on its own: pictures taken on the object's thread up to a count
// read afresh before each, a stop that ends the run and is used up by it, a refusal that ends it,
// the finished notice after the join, and destruction wherever the worker waits.
#include "viewer/capture/SerialCaptureRun.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

namespace kelto::viewer::capturesheet {
namespace {

class SerialCaptureRunTest : public ::testing::Test {
protected:
    // Runs the event loop until the condition holds; false after 10 s.
    template <typename Condition>
    static bool pumpUntil(Condition condition) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!condition()) {
            if (std::chrono::steady_clock::now() > end) return false;
            QApplication::processEvents();
            std::this_thread::yield();
        }
        return true;
    }
    // Spins without running the event loop; false after 5 s.
    template <typename Condition>
    static bool spinUntil(Condition condition) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!condition())
            if (std::chrono::steady_clock::now() > end) return false;
            else std::this_thread::yield();
        return true;
    }

    std::vector<std::thread::id> takenOn;
    std::function<void(int taken)> onPicture = [](int) {};
    bool refuse = false;
    int finished = 0;
    int workersAtFinish = -1;
    SerialCaptureRun run{[this] {
                             if (refuse) return false;
                             takenOn.push_back(std::this_thread::get_id());
                             onPicture(int(takenOn.size()));
                             return true;
                         },
                         [this] {
                             ++finished;
                             workersAtFinish = SerialCaptureRun::liveWorkers();
                         }};
};

TEST_F(SerialCaptureRunTest, TakesTheCountOnItsOwnThreadAndTellsTheEndAfterTheJoin) {
    ASSERT_TRUE(run.start(5));
    EXPECT_TRUE(run.running());
    EXPECT_FALSE(run.start(5));  // one run at a time
    ASSERT_TRUE(pumpUntil([&] { return finished == 1; }));
    EXPECT_EQ(takenOn, std::vector<std::thread::id>(5, std::this_thread::get_id()));
    EXPECT_FALSE(run.running());
    EXPECT_EQ(workersAtFinish, 0);

    ASSERT_TRUE(run.start(2));  // and again
    ASSERT_TRUE(pumpUntil([&] { return finished == 2; }));
    EXPECT_EQ(takenOn.size(), 7u);
}

TEST_F(SerialCaptureRunTest, TheCountIsReadBeforeEveryPicture) {
    onPicture = [&](int taken) {
        if (taken == 2) run.setCount(9);
    };
    ASSERT_TRUE(run.start(4));
    ASSERT_TRUE(pumpUntil([&] { return finished == 1; }));
    EXPECT_EQ(takenOn.size(), 9u);

    // Lowered below what is taken already: the run ends after the picture in hand.
    takenOn.clear();
    onPicture = [&](int taken) {
        if (taken == 6) run.setCount(3);
    };
    ASSERT_TRUE(run.start(100));
    ASSERT_TRUE(pumpUntil([&] { return finished == 2; }));
    EXPECT_EQ(takenOn.size(), 6u);
}

TEST_F(SerialCaptureRunTest, AStopEndsTheRunBeforeTheNextPictureAndDoesNotCarryOver) {
    onPicture = [&](int taken) {
        if (taken == 3) run.requestStop();
    };
    ASSERT_TRUE(run.start(100));
    ASSERT_TRUE(pumpUntil([&] { return finished == 1; }));
    EXPECT_EQ(takenOn.size(), 3u);

    // A stop asked for as the last picture is taken is not left for the next run.
    takenOn.clear();
    onPicture = [&](int taken) {
        if (taken == 2) run.requestStop();
    };
    ASSERT_TRUE(run.start(2));
    ASSERT_TRUE(pumpUntil([&] { return finished == 2; }));
    onPicture = [](int) {};
    takenOn.clear();
    ASSERT_TRUE(run.start(4));
    ASSERT_TRUE(pumpUntil([&] { return finished == 3; }));
    EXPECT_EQ(takenOn.size(), 4u);
    run.requestStop();  // nothing runs: nothing to stop
    EXPECT_FALSE(run.running());
}

TEST_F(SerialCaptureRunTest, ARefusedPictureEndsTheRun) {
    refuse = true;
    ASSERT_TRUE(run.start(100));
    ASSERT_TRUE(pumpUntil([&] { return finished == 1; }));
    EXPECT_EQ(run.picturesAsked(), 1);
    EXPECT_TRUE(takenOn.empty());
}

TEST_F(SerialCaptureRunTest, DestroyingTheRunJoinsAWorkerWaitingForItsPictureWhichIsNotTaken) {
    int taken = 0;
    int ends = 0;
    auto owned = std::make_unique<SerialCaptureRun>(
        [&] {
            ++taken;
            return true;
        },
        [&] { ++ends; });
    ASSERT_TRUE(owned->start(100));
    ASSERT_TRUE(spinUntil([&] { return owned->picturesAsked() == 1; }));
    owned.reset();
    EXPECT_EQ(SerialCaptureRun::liveWorkers(), 0);
    QApplication::processEvents();
    EXPECT_EQ(taken, 0);
    EXPECT_EQ(ends, 0);
}

}  // namespace
}  // namespace kelto::viewer::capturesheet
