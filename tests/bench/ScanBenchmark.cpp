// The auto scan of the channel page over the hardware-control library on the simulated card, on
// the real clock, with the viewer window open and showing its live picture.
//   BM_CableScan: the US cable band (country code 1, channels 1..125) with a few stations.
//     "scan_ms": from the "&Auto Scan" click to the registration question; "floor_ms": the same
//     run's lock-poll waits (every 10 ms wait the tuner's lock polls made, counted during the
//     scan) done again back to back on this thread; "x_floor" scan over floor (target 1.1);
//     "polls_waits" how many there were. "ui_gap_max_ms": the longest time between two turns of
//     the viewer's event loop during the scan (a 0 ms timer stamps every turn); "x_ui_target"
//     over 16 ms. "found": channels the scan found (the stations below: 4).
// KELTO_BENCH_CHANNELS (default 125) scans only the first channels of the band (ctest uses 12);
// by hand: build/bin/scan_benchmark.
#include "tests/bench/ViewerBenchRig.h"

#include "cardsim/CardTestHook.h"
#include "framework/CReportListCtrl.h"
#include "framework/MessageBoxes.h"
#include "platform/Clock.h"
#include "viewer/config/CEnvironmentPage1.h"

#include <QTimer>

#include <benchmark/benchmark.h>

#include <atomic>
#include <filesystem>
#include <thread>

namespace {

using namespace kelto;
using namespace kelto::bench;

bool anyFailed = false;

// The machine's clock, counting the busy waits made off the user-interface thread (the scan's
// lock polls).
class CountingClock final : public platform::Clock {
public:
    explicit CountingClock(std::thread::id uiThread) : ui_(uiThread) {}
    std::uint32_t tickCountMs() override { return system_.tickCountMs(); }
    void busyWaitMs(std::uint32_t periodMs) override {
        if (std::this_thread::get_id() != ui_) {
            ++waits_;
            waitedMs_ += periodMs;
        }
        system_.busyWaitMs(periodMs);
    }
    void sleepMs(std::uint32_t periodMs) override { system_.sleepMs(periodMs); }
    std::chrono::system_clock::time_point now() override { return system_.now(); }
    int waits() const { return waits_; }
    std::uint64_t waitedMs() const { return waitedMs_; }

private:
    platform::SystemClock system_;
    std::thread::id ui_;
    std::atomic<int> waits_{0};
    std::atomic<std::uint64_t> waitedMs_{0};
};

void BM_CableScan(benchmark::State& state) {
    ViewerSetup setup;
    setup.stations = {cardsim::test::tvStation(61'250'000, "CATV 3"), cardsim::test::tvStation(175'250'000, "CATV 7"),
                      cardsim::test::tvStation(319'250'000, "CATV 40"), cardsim::test::tvStation(649'250'000, "CATV 100")};
    setup.registeredTv = {6, 7, 9, 11, 12};
    ViewerRig rig(setup);
    if (!rig.viewer()) {
        anyFailed = true;
        state.SkipWithError("the viewer did not open");
        return;
    }
    rig.viewer()->session()->SetVideoMode(VideoMode::CATV);
    auto& sheet = rig.viewer()->sheetViewer();
    ChannelBounds bounds = sheet.channelModel().bounds();
    bounds.catvHighest = std::min(bounds.catvHighest, bounds.catvLowest - 1 + environmentCount("KELTO_BENCH_CHANNELS", 125));
    sheet.channelModel().setBounds(bounds);
    runFor(std::chrono::milliseconds(300));  // the picture running

    CountingClock counting(std::this_thread::get_id());
    platform::setClock(&counting);
    auto page = std::make_unique<viewer::config::CEnvironmentPage1>(sheet);

    double scanMs = 0, gapMaxMs = 0;
    int found = 0;
    Clock::time_point started, lastTurn;
    bool scanning = false;
    framework::setMessageBoxAnswerer([&](const framework::MessageBoxRequest&) {
        // The registration question: the scan's work is done.
        scanMs = std::chrono::duration<double, std::milli>(Clock::now() - started).count();
        found = page->control<framework::CReportListCtrl>(viewer::config::CEnvironmentPage1::kChannelList)->rowCount();
        scanning = false;
        return framework::IDNO;
    });
    QTimer turns;
    turns.setInterval(0);
    QObject::connect(&turns, &QTimer::timeout, [&] {
        const auto now = Clock::now();
        if (scanning) gapMaxMs = std::max(gapMaxMs, std::chrono::duration<double, std::milli>(now - lastTurn).count());
        lastTurn = now;
    });
    turns.start();
    for (auto _ : state) {
        started = lastTurn = Clock::now();
        scanning = true;
        page->wiring().sendCommand(viewer::config::CEnvironmentPage1::kAutoScan);
        QEventLoop loop;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (!page->scanning()) loop.quit();
        });
        poll.start(5);
        loop.exec();
    }
    turns.stop();
    const int waits = counting.waits();
    const std::uint64_t waitedMs = counting.waitedMs();
    page.reset();
    platform::setClock(nullptr);

    // The floor: the same waits again, back to back.
    platform::SystemClock system;
    const auto floorStart = Clock::now();
    for (int i = 0; i < waits; ++i) system.busyWaitMs(std::uint32_t(waitedMs / std::uint64_t(std::max(waits, 1))));
    const double floorMs = std::chrono::duration<double, std::milli>(Clock::now() - floorStart).count();

    state.counters["channels"] = bounds.catvHighest - bounds.catvLowest + 1;
    state.counters["found"] = found;
    state.counters["scan_ms"] = scanMs;
    state.counters["floor_ms"] = floorMs;
    state.counters["x_floor"] = floorMs > 0 ? scanMs / floorMs : 0;
    state.counters["poll_waits"] = waits;
    state.counters["ui_gap_max_ms"] = gapMaxMs;
    state.counters["x_ui_target"] = gapMaxMs / 16.0;
    framework::setMessageBoxAnswerer(nullptr);
}

BENCHMARK(BM_CableScan)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return runViewerBenchmarks(argc, argv, "scan", anyFailed); }
