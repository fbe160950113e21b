// The multi-screen worker over a stand-in for the view: the order of its visits, the settling
// wait, pausing and resuming, and that stopping always ends it, also while it waits for the
// user-interface thread.
#include "viewer/multiscreen/CMultiScreenThread.h"

#include "platform/Clock.h"

#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

namespace kelto::viewer::multiscreen {
namespace {

template <typename T>
std::future<T> ready(T value) {
    std::promise<T> promise;
    promise.set_value(std::move(value));
    return promise.get_future();
}

// Answers at once, or never while `hold` is set; a frame whose colour names the channel tuned.
class FakeView final : public MultiScreenWork {
public:
    explicit FakeView(std::vector<std::optional<int>> channels) : channels_(std::move(channels)) {}
    int cellCount() const override { return int(channels_.size()); }
    std::optional<int> cellChannel(int k) const override {
        std::lock_guard lock(mutex_);
        visits.push_back(k);
        if (onVisit) onVisit(int(visits.size()));
        return channels_[std::size_t(k)];
    }
    std::future<bool> tune(int channel) override {
        std::lock_guard lock(mutex_);
        tuned.push_back(channel);
        tunedAtMs.push_back(platform::tickCountMs());
        current_ = channel;
        if (hold) return held_.get_future();
        return ready(true);
    }
    std::future<QImage> grab() override {
        std::lock_guard lock(mutex_);
        grabbedAtMs.push_back(platform::tickCountMs());
        if (nullGrabs) return ready(QImage());
        QImage frame(160, 120, QImage::Format_RGB32);
        frame.fill(QColor(current_, 0, 0));
        return ready(frame);
    }
    void cellPictureChanged(int k) override {
        std::lock_guard lock(mutex_);
        drawn.push_back(k);
    }
    void paused() override { ++pausedReports; }
    void ended() override { ++endedReports; }

    std::vector<int> visitsSoFar() const {
        std::lock_guard lock(mutex_);
        return visits;
    }
    std::vector<int> tunedSoFar() const {
        std::lock_guard lock(mutex_);
        return tuned;
    }

    mutable std::vector<int> visits;
    std::vector<int> tuned, drawn;
    std::vector<std::uint32_t> tunedAtMs, grabbedAtMs;
    std::function<void(int visits)> onVisit;
    std::atomic<int> pausedReports{0}, endedReports{0};
    bool hold = false;
    bool nullGrabs = false;

private:
    std::vector<std::optional<int>> channels_;
    mutable std::mutex mutex_;
    int current_ = 0;
    std::promise<bool> held_;
};

template <typename Done>
bool eventually(Done done) {
    for (int i = 0; i < 2000; ++i) {
        if (done()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
}

class MultiScreenThreadTest : public ::testing::Test {
protected:
    void SetUp() override { platform::setClock(&clock); }
    void TearDown() override { platform::setClock(nullptr); }
    platform::VirtualClock clock;
};

TEST_F(MultiScreenThreadTest, APassVisitsEveryCellAndTunesOnlyThoseWithAChannelAfterSettling) {
    // Nine cells, channels in slots 1 and 5 only.
    FakeView view({6, std::nullopt, std::nullopt, std::nullopt, 11, std::nullopt, std::nullopt, std::nullopt, std::nullopt});
    CMultiScreenThread worker(view);
    view.onVisit = [&](int visits) {
        if (visits == 9) worker.requestStop();
    };
    worker.start();
    // Made held: nothing happens before the first resume.
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_TRUE(view.visitsSoFar().empty());
    worker.resume();
    worker.join();
    EXPECT_EQ(view.visits, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(view.tuned, (std::vector<int>{6, 11}));
    EXPECT_EQ(view.drawn, (std::vector<int>{0, 4}));
    ASSERT_EQ(view.grabbedAtMs.size(), 2u);
    EXPECT_EQ(view.grabbedAtMs[0] - view.tunedAtMs[0], kSettleMs);
    EXPECT_EQ(view.endedReports, 1);
    // Each filled cell keeps the frame of its own channel.
    EXPECT_EQ(QColor(worker.picture(0).pixel(5, 5)).red(), 6);
    EXPECT_EQ(QColor(worker.picture(4).pixel(5, 5)).red(), 11);
    EXPECT_TRUE(worker.picture(1).isNull());
}

TEST_F(MultiScreenThreadTest, APauseStopsBeforeTheNextCellAndAResumeGoesOnFromThere) {
    FakeView view({6, 7, 9, 11});
    CMultiScreenThread worker(view);
    view.onVisit = [&](int visits) {
        if (visits == 2) worker.requestPause();
    };
    worker.start();
    worker.resume();
    ASSERT_TRUE(eventually([&] { return worker.isPaused(); }));
    EXPECT_EQ(view.pausedReports, 1);
    EXPECT_EQ(view.tunedSoFar(), (std::vector<int>{6, 7}));
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(view.tunedSoFar().size(), 2u);  // nothing while paused

    view.onVisit = [&](int visits) {
        if (visits == 4) worker.requestStop();
    };
    worker.resume();
    worker.join();
    EXPECT_EQ(view.tuned, (std::vector<int>{6, 7, 9, 11}));
    EXPECT_EQ(view.endedReports, 1);
}

TEST_F(MultiScreenThreadTest, AResumeWhileRunningDoesNotLetTheNextPauseGoOnByItself) {
    // The view starts the cycle again (command 32820) while the worker runs, then a click asks
    // for a pause: the worker must stay paused until it is resumed after that.
    FakeView view({6, 7, 9, 11});
    CMultiScreenThread worker(view);
    worker.start();
    worker.resume();
    ASSERT_TRUE(eventually([&] { return view.tunedSoFar().size() >= 3; }));
    worker.resume();
    worker.requestPause();
    ASSERT_TRUE(eventually([&] { return view.pausedReports == 1; }));
    ASSERT_TRUE(eventually([&] { return worker.isPaused(); }));
    const auto tuned = view.tunedSoFar().size();
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_TRUE(worker.isPaused());
    EXPECT_EQ(view.tunedSoFar().size(), tuned);
    worker.requestStop();
    worker.join();
}

TEST_F(MultiScreenThreadTest, StoppingEndsAPausedWorkerAndOneWaitingForAnAnswerThatNeverComes) {
    {
        FakeView view({6, 7});
        CMultiScreenThread worker(view);
        worker.start();
        worker.requestPause();
        worker.resume();
        worker.requestPause();
        ASSERT_TRUE(eventually([&] { return worker.isPaused(); }));
        worker.requestStop();
        worker.join();
        EXPECT_EQ(view.endedReports, 1);
    }
    {
        // The user-interface thread never answers the tuning (it waits in the join below).
        FakeView view({6, 7});
        view.hold = true;
        CMultiScreenThread worker(view);
        worker.start();
        worker.resume();
        ASSERT_TRUE(eventually([&] { return !view.tunedSoFar().empty(); }));
        worker.requestStop();
        worker.join();
        EXPECT_EQ(view.endedReports, 1);
        EXPECT_TRUE(view.drawn.empty());
    }
    {
        // Never started held: the destructor still ends it.
        FakeView view({6});
        { CMultiScreenThread worker(view); worker.start(); }
        EXPECT_EQ(view.endedReports, 1);
    }
}

TEST_F(MultiScreenThreadTest, AGrabWithoutAFrameLeavesTheCellsPictureAsItWas) {
    FakeView view({6});
    CMultiScreenThread worker(view);
    QImage earlier(160, 120, QImage::Format_RGB32);
    earlier.fill(Qt::green);
    worker.setPicture(0, earlier);
    earlier.fill(Qt::blue);  // the cell has a copy of its own
    view.nullGrabs = true;
    view.onVisit = [&](int visits) {
        if (visits == 3) worker.requestStop();
    };
    worker.start();
    worker.resume();
    worker.join();
    EXPECT_EQ(view.tuned.size(), 3u);  // the stop asked for at the third visit ends it after that cell
    EXPECT_TRUE(view.drawn.empty());
    EXPECT_EQ(QColor(worker.picture(0).pixel(1, 1)), QColor(Qt::green));
}

}  // namespace
}  // namespace kelto::viewer::multiscreen
