// The cost of one 640x480 picture of the simulated card, next to a baseline measured in the same
// run: copying a frame buffer of the same size (what any capture path does at least once).
// Counters: "fps" frames per second on one core; "x_copy" the frame's cost in frame copies.
#include "cardsim/FrameSynthesizer.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <vector>

namespace {

using kelto::cardsim::FrameSynthesizer;
using kelto::cardsim::Scene;
using kelto::cardsim::SceneKind;

constexpr int kWidth = 640;
constexpr int kHeight = 480;

// Nanoseconds for one plain copy of a 640x480 32-bit frame.
double copyBaselineNs() {
    static const double ns = [] {
        std::vector<std::uint32_t> from(kWidth * kHeight, 0x12345678u), to(kWidth * kHeight);
        constexpr int kRounds = 300;
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < kRounds; ++i) {
            from[std::size_t(i)] = std::uint32_t(i);
            std::memcpy(to.data(), from.data(), from.size() * 4);
            benchmark::DoNotOptimize(to.data());
            benchmark::ClobberMemory();
        }
        return double(std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now() - start).count()) /
               kRounds;
    }();
    return ns;
}

void renderFrames(benchmark::State& state, Scene scene) {
    std::vector<std::uint32_t> pixels(kWidth * kHeight);
    const double baseline = copyBaselineNs();
    std::int64_t frame = 0;
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        scene.time = std::chrono::system_clock::time_point(std::chrono::milliseconds(1'000'000'000'000 + 33 * frame++));
        FrameSynthesizer::render(scene, kWidth, kHeight, pixels.data());
        benchmark::DoNotOptimize(pixels.data());
        benchmark::ClobberMemory();
    }
    const double perFrameNs =
        double(std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now() - start).count()) /
        double(std::max<std::int64_t>(frame, 1));
    state.counters["fps"] = 1e9 / perFrameNs;
    state.counters["x_copy"] = perFrameNs / baseline;
}

void BM_TestCard(benchmark::State& state) {
    renderFrames(state, Scene{.kind = SceneKind::TestCard, .title = "WKEL 2"});
}
void BM_TestCardDetunedWithControls(benchmark::State& state) {
    renderFrames(state, Scene{.kind = SceneKind::TestCard, .title = "WKEL 2", .noise = 0.4,
                              .controls = {.brightness = 150, .contrast = 100, .hue = 140, .saturation = 90}});
}
void BM_Snow(benchmark::State& state) { renderFrames(state, Scene{.kind = SceneKind::Snow}); }
void BM_CompositeInput(benchmark::State& state) {
    renderFrames(state, Scene{.kind = SceneKind::CompositeInput, .title = "VIDEO IN"});
}
void BM_FrameCopyBaseline(benchmark::State& state) {
    std::vector<std::uint32_t> from(kWidth * kHeight, 1), to(kWidth * kHeight);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), from.size() * 4);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
}

BENCHMARK(BM_FrameCopyBaseline);
BENCHMARK(BM_TestCard);
BENCHMARK(BM_TestCardDetunedWithControls);
BENCHMARK(BM_Snow);
BENCHMARK(BM_CompositeInput);

}  // namespace

BENCHMARK_MAIN();
