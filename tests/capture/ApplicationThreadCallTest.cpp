// Calls handed from another thread to the application's thread: they run there, in order, the
// caller sees what they wrote, and a caller is released when the application goes away first.
#include "capture/ApplicationThreadCall.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

namespace kelto::capture {
namespace {

class ApplicationThreadCallTest : public ::testing::Test {
protected:
    int argc = 1;
    char name[5] = "test";
    char* argv[2] = {name, nullptr};
    std::unique_ptr<QCoreApplication> application = std::make_unique<QCoreApplication>(argc, argv);
};

TEST_F(ApplicationThreadCallTest, CallsRunOnTheApplicationThreadInOrder) {
    std::vector<std::thread::id> ranOn;
    std::vector<int> order;
    std::atomic<bool> done = false;
    bool ranBoth = false;
    std::thread worker([&] {
        ranBoth = runOnApplicationThread(application.get(), [&] {
            ranOn.push_back(std::this_thread::get_id());
            order.push_back(1);
        });
        ranBoth = runOnApplicationThread(application.get(), [&] { order.push_back(2); }) && ranBoth;
        done = true;
    });
    while (!done) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    worker.join();
    EXPECT_TRUE(ranBoth);
    ASSERT_EQ(ranOn.size(), 1u);
    EXPECT_TRUE(ranOn.front() == std::this_thread::get_id());
    EXPECT_EQ(order, (std::vector<int>{1, 2}));
    EXPECT_EQ(queuedApplicationThreadCalls(), 0u);
}

TEST_F(ApplicationThreadCallTest, ACallerIsReleasedWhenTheApplicationGoesAwayFirst) {
    bool ran = true;
    bool called = false;
    std::thread worker([&, target = application.get()] {
        ran = runOnApplicationThread(target, [&] { called = true; });
    });
    while (queuedApplicationThreadCalls() == 0) std::this_thread::yield();
    application.reset();  // the queued call was never delivered
    worker.join();
    EXPECT_FALSE(ran);
    EXPECT_FALSE(called);
    EXPECT_EQ(queuedApplicationThreadCalls(), 0u);
}

}  // namespace
}  // namespace kelto::capture
