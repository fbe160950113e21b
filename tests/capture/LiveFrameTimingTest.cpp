// The live picture's timing: every card frame taken once, however late the wake-ups come (up to
// most of a frame), where a fixed period loses frames.
#include "capture/LiveFrameTiming.h"

#include "cardsim/FrameSynthesizer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace kelto::capture {
namespace {

using namespace std::chrono_literals;
using Time = std::chrono::system_clock::time_point;

std::uint64_t cardFrame(Time time, double framesPerSecond) {
    cardsim::Scene scene;
    scene.time = time;
    scene.framesPerSecond = framesPerSecond;
    return cardsim::FrameSynthesizer::frameNumber(scene);
}

// The card frames taken by wake-ups that each come `lateness(i)` after the time asked for.
template <typename Lateness>
std::vector<std::uint64_t> framesTaken(double framesPerSecond, Time start, int wakeUps, Lateness lateness) {
    std::vector<std::uint64_t> frames;
    Time asked = start;
    for (int i = 0; i < wakeUps; ++i) {
        const Time woke = asked + lateness(i);
        frames.push_back(cardFrame(woke, framesPerSecond));
        asked = woke + delayToNextFrame(woke, framesPerSecond);
    }
    return frames;
}

void expectEveryFrameOnce(const std::vector<std::uint64_t>& frames) {
    for (std::size_t i = 1; i < frames.size(); ++i)
        ASSERT_EQ(frames[i], frames[i - 1] + 1) << "wake-up " << i;
}

TEST(LiveFrameTimingTest, EveryFrameIsTakenOnceWhenWakeUpsComeLate) {
    const Time start = Time(std::chrono::milliseconds(1'765'000'000'123));
    for (double rate : {30000.0 / 1001.0, 25.0}) {
        std::uint32_t seed = 15;
        // Up to 25 ms late, at random: the ordinary delays of a busy event loop.
        const auto busy = [&](int) {
            seed = seed * 1664525u + 1013904223u;
            return std::chrono::milliseconds(seed >> 27);  // 0..31, mostly below 25
        };
        const auto frames = framesTaken(rate, start, 3000, [&](int i) { return std::min(busy(i), 25ms); });
        expectEveryFrameOnce(frames);
        // On time, or a millisecond early (a timer rounding its wait down), it is the same.
        expectEveryFrameOnce(framesTaken(rate, start, 3000, [](int) { return 0ms; }));
        expectEveryFrameOnce(framesTaken(rate, start, 3000, [](int i) { return i % 2 ? -1ms : 0ms; }));
    }
}

TEST(LiveFrameTimingTest, TheWaitEndsJustAfterTheNextFrameBegins) {
    const double rate = 30000.0 / 1001.0;  // frames begin every 33.37 ms
    Time frameStart = Time(std::chrono::milliseconds(1'765'000'000'000));
    while (cardFrame(frameStart - 1ms, rate) == cardFrame(frameStart, rate)) frameStart += 1ms;
    EXPECT_EQ(delayToNextFrame(frameStart - 1ms, rate), 1ms + kFrameStartMargin);
    EXPECT_GE(delayToNextFrame(frameStart, rate), 33ms + kFrameStartMargin);
    EXPECT_LE(delayToNextFrame(frameStart, rate), 34ms + kFrameStartMargin);
    EXPECT_EQ(delayToNextFrame(frameStart, 0), 1000ms);
}

}  // namespace
}  // namespace kelto::capture
