#include "platform/qt/QueuedCall.h"

#include <QCoreApplication>
#include <QThread>

#include <gtest/gtest.h>

#include <memory>
#include <thread>

namespace kelto::platform::test {
namespace {

std::future_status settle(std::future<int>& answer) {
    for (int i = 0; i < 100 && answer.wait_for(std::chrono::seconds(0)) != std::future_status::ready; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return answer.wait_for(std::chrono::seconds(0));
}

TEST(QueuedCall, AWorkersCallRunsLaterOnTheContextsThreadWithoutTheWorkerWaiting) {
    QObject context;
    std::thread::id ranOn;
    std::future<int> answer;
    std::thread worker([&] {
        answer = queueCall(&context, -1, [&] {
            ranOn = std::this_thread::get_id();
            return 42;
        });
    });
    worker.join();  // returned before this thread ran anything
    EXPECT_NE(answer.wait_for(std::chrono::seconds(0)), std::future_status::ready);
    ASSERT_EQ(settle(answer), std::future_status::ready);
    EXPECT_EQ(answer.get(), 42);
    EXPECT_TRUE(ranOn == std::this_thread::get_id());
}

TEST(QueuedCall, ACallWhoseContextIsGoneAnswersTheFallbackAndNeverRuns) {
    auto context = std::make_unique<QObject>();
    bool ran = false;
    std::future<int> answer = queueCall(context.get(), -1, [&] {
        ran = true;
        return 1;
    });
    context.reset();
    QCoreApplication::processEvents();
    ASSERT_EQ(answer.wait_for(std::chrono::seconds(0)), std::future_status::ready);
    EXPECT_EQ(answer.get(), -1);
    EXPECT_FALSE(ran);
    EXPECT_EQ(queueCall<int>(nullptr, -2, [] { return 1; }).get(), -2);
}

}  // namespace
}  // namespace kelto::platform::test
