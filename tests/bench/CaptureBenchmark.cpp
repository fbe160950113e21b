// The recording path and the live picture on the simulated card, 640x480 at 29.97 frames/s with
// 44.1 kHz stereo sound.
//   BM_RecordAsFastAsPossible/<type>: a recording under a virtual clock, so it runs as fast as
//     the machine grabs and encodes (one core). "x_realtime": recorded seconds per second of
//     work (encoding speed as a multiple of real time); "late": pictures taken late.
//   BM_RecordInRealTime/<type>: the same recording against the real clock. "cpu_share": process
//     CPU time over the recording's length; "late": pictures taken more than a period late
//     (what a real card would have dropped).
//   BM_PictureDelay: a frame from leaving the driver to the end of its painting in the live
//     picture (offscreen), in ms, and as a share of the 5 ms target.
// KELTO_BENCH_SECONDS sets the recording length (default 1 s, so ctest's run stays short); run
// the program by hand with 60 for the real figures.
#include "settings/SettingsStore.h"
#include "capture/CCaptureWindow.h"
#include "capture/CaptureWindowWidget.h"
#include "cardsim/Card.h"
#include "cardsim/BrooktreeCaptureDriver.h"
#include "cardsim/CardTestHook.h"
#include "platform/Clock.h"

#include <QApplication>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>

namespace {

using namespace kelto;
using namespace kelto::capture;

int recordingSeconds() {
    const char* text = std::getenv("KELTO_BENCH_SECONDS");
    const int seconds = text ? std::atoi(text) : 1;
    return seconds > 0 ? seconds : 1;
}

double processCpuSeconds() {
    timespec time{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &time);
    return double(time.tv_sec) + double(time.tv_nsec) / 1e9;
}

// A viewer with a connected capture window showing the composite input at 640x480.
struct Rig {
    Rig() {
        cardsim::test::buildCard({});
        if (!drivers::CaptureDriverList::describe(0)) cardsim::registerCaptureDriver();
        cardsim::lockCard()->video().selectInput(3);
        viewer.resize(640, 520);
        window.Create(CCaptureWindow::WS_CHILD | CCaptureWindow::WS_VISIBLE, 0, 0, 640, 480, &viewer);
        window.Connect();
        window.SetFrameSize(640, 480);
        window.SetOverlay(true);
    }
    void setUpRecording(int seconds) {
        CaptureSequenceSetup setup;
        window.GetSequenceSetup(setup);
        setup.requestMicroSecPerFrame = 33367;
        setup.limitEnabled = 1;
        setup.timeLimitSeconds = std::uint32_t(seconds);
        setup.captureAudio = 1;
        window.SetSequenceSetup(setup);
        const WaveFormat wave = makePcmWaveFormat(2, 16, 44100);
        window.SetAudioFormat(std::as_bytes(std::span(&wave, 1)));
    }
    CaptureService& service() { return window.GetWindow()->service(); }

    SettingsStore store;
    QWidget viewer;
    CCaptureWindow window{store};
};

std::filesystem::path outputFile(int type) {
    return std::filesystem::temp_directory_path() / (type == 0 ? "kelto-bench.AVI" : "kelto-bench.MPG");
}

void BM_RecordAsFastAsPossible(benchmark::State& state) {
    const int type = int(state.range(0));
    const int seconds = recordingSeconds();
    platform::VirtualClock clock;
    platform::setClock(&clock);
    Rig rig;
    rig.setUpRecording(seconds);
    double workSeconds = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        if (!rig.window.CaptureVideoStream(outputFile(type).string(), type)) state.SkipWithError("recording failed");
        workSeconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    const SequenceResult& result = rig.service().lastSequence();
    state.counters["x_realtime"] = double(result.elapsedMs) / 1000.0 * double(state.iterations()) / workSeconds;
    state.counters["pictures"] = result.pictures;
    state.counters["late"] = result.latePictures;
    std::filesystem::remove(outputFile(type));
    platform::setClock(nullptr);
}

void BM_RecordInRealTime(benchmark::State& state) {
    const int type = int(state.range(0));
    Rig rig;
    rig.setUpRecording(recordingSeconds());
    double cpuSeconds = 0, wallSeconds = 0;
    for (auto _ : state) {
        const double cpuStart = processCpuSeconds();
        const auto start = std::chrono::steady_clock::now();
        if (!rig.window.CaptureVideoStream(outputFile(type).string(), type)) state.SkipWithError("recording failed");
        wallSeconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        cpuSeconds += processCpuSeconds() - cpuStart;
    }
    const SequenceResult& result = rig.service().lastSequence();
    state.counters["cpu_share"] = cpuSeconds / wallSeconds;
    state.counters["pictures"] = result.pictures;
    state.counters["late"] = result.latePictures;
    std::filesystem::remove(outputFile(type));
}

void BM_PictureDelay(benchmark::State& state) {
    Rig rig;
    rig.viewer.show();
    CaptureWindowWidget& live = *rig.window.GetWindow();
    double totalMs = 0, worstMs = 0;
    for (auto _ : state) {
        const auto painted = live.picturesPainted();
        rig.service().deliverLiveFrame();
        while (live.picturesPainted() == painted) QCoreApplication::processEvents();
        const double delayMs = std::chrono::duration<double, std::milli>(live.lastPictureDelay()).count();
        totalMs += delayMs;
        worstMs = std::max(worstMs, delayMs);
    }
    const double meanMs = totalMs / double(state.iterations());
    state.counters["delay_ms"] = meanMs;
    state.counters["worst_ms"] = worstMs;
    state.counters["x_target"] = meanMs / 5.0;
}

BENCHMARK(BM_RecordAsFastAsPossible)->Arg(0)->Arg(2)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecordInRealTime)->Arg(0)->Arg(2)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PictureDelay)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    // Its own settings root and the off-screen platform: the benchmark touches nothing of the user's.
    const auto root = std::filesystem::temp_directory_path() / ("kelto-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(root);
    ::setenv("KELTO_ROOT", root.c_str(), 1);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(root);
    return 0;
}
