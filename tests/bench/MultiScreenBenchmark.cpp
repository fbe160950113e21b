// The multi-screen view over the viewer on the simulated card (sixteen stations), on the real
// clock and the event loop.
//   BM_FullPass/N (N = 4, 9, 16, every cell filled): one full pass of the worker over the cells,
//     timed between the ends of two passes in steady cycling. Counters: "pass_ms"; "settle_ms"
//     the same run's baseline, one 300 ms settling sleep on the process clock as measured (median
//     of three); "x_settles" = pass over N settles as measured, "x_nominal" = pass over N x 300 ms
//     (target at most 1.1).
//   BM_ClickToLive (N = 9): a left press on a filled cell while the view cycles, to the end of
//     painting the first live picture in that cell that shows the cell's station (told apart by
//     its name plate). The worker finishes the cell it is at first, so the wait includes up to
//     one settle. Counters in ms: median, p95, max; "failures" presses without a live picture
//     within 3 s.
// KELTO_BENCH_CLICKS (default 12) keeps ctest's run short.
#include "tests/bench/ViewerBenchRig.h"

#include "cardsim/CardTestHook.h"
#include "platform/Clock.h"
#include "viewer/multiscreen/CMultiScreenDlg.h"
#include "viewer/multiscreen/MultiScreenLayout.h"

#include <QMouseEvent>

#include <benchmark/benchmark.h>

#include <QApplication>

#include <algorithm>
#include <functional>
#include <filesystem>
#include <random>

namespace {

using namespace kelto;
using namespace kelto::bench;
using namespace std::chrono_literals;
using viewer::multiscreen::CMultiScreenDlg;

bool anyFailed = false;
void fail(benchmark::State& state, const char* why) {
    anyFailed = true;
    state.SkipWithError(why);
}

double msSince(Clock::time_point start, Clock::time_point end) {
    return std::chrono::duration<double, std::milli>(end - start).count();
}

// Runs the event loop until `done` holds (checked every few milliseconds: while the view cycles
// no picture paints) or the time is up; whether it held.
bool runUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    const auto end = Clock::now() + timeout;
    while (Clock::now() < end) {
        QApplication::processEvents(QEventLoop::AllEvents, 2);
        if (done()) return true;
    }
    return done();
}

// US broadcast channels 2 to 17 and their vision carriers.
std::uint32_t carrierOf(int channel) {
    if (channel <= 4) return 55'250'000u + std::uint32_t(channel - 2) * 6'000'000u;
    if (channel <= 6) return 77'250'000u + std::uint32_t(channel - 5) * 6'000'000u;
    if (channel <= 13) return 175'250'000u + std::uint32_t(channel - 7) * 6'000'000u;
    return 471'250'000u + std::uint32_t(channel - 14) * 6'000'000u;
}

ViewerSetup sixteenStations() {
    ViewerSetup setup;
    for (int channel = 2; channel <= 17; ++channel)
        setup.stations.push_back(cardsim::test::tvStation(carrierOf(channel), "KCH " + std::to_string(channel)));
    setup.registeredTv = {7};
    setup.channel = 7;
    return setup;
}

// Opens the view with `cells` cells holding channels 2, 3, ...
CMultiScreenDlg* openView(CTvViewerDlg& viewer, int cells) {
    auto& settings = viewer.sheetViewer().viewerSettings();
    settings.multiSelect = cells;
    for (int slot = 1; slot <= 16; ++slot) settings.multiTv[std::size_t(slot)] = slot <= cells ? slot + 1 : 0;
    viewer.wiring().sendCommand(32776);
    return viewer.multiScreenView();
}

void closeView(CTvViewerDlg& viewer) {
    if (auto* view = viewer.multiScreenView()) view->close();
    runUntil([&] { return viewer.multiScreenView() == nullptr; }, 10s);
    runFor(50ms);
}

// The name plate of a test card by pixel value (rows 6 % to 22 % of the height), whatever the
// image's format.
std::uint64_t plateHash(const QImage& image) {
    if (image.isNull()) return 0;
    std::uint64_t hash = 1469598103934665603ull;
    for (int y = image.height() * 6 / 100; y < image.height() * 22 / 100; ++y)
        for (int x = 0; x < image.width(); ++x) hash = (hash ^ (image.pixel(x, y) & 0xFFFFFFu)) * 1099511628211ull;
    return hash;
}

void BM_FullPass(benchmark::State& state) {
    const int cells = int(state.range(0));
    ViewerRig rig(sixteenStations());
    CTvViewerDlg* viewer = rig.viewer();
    if (!viewer) return fail(state, "the viewer did not open");
    std::vector<double> settles;
    for (int i = 0; i < 3; ++i) {
        const auto start = Clock::now();
        platform::clock().sleepMs(viewer::multiscreen::kSettleMs);
        settles.push_back(msSince(start, Clock::now()));
    }
    const double settle = percentile(settles, 50);
    CMultiScreenDlg* view = openView(*viewer, cells);
    if (!view) return fail(state, "the view did not open");
    double pass = 0;
    for (auto _ : state) {
        const auto passes = [&] { return view->worker().passes(); };
        // Steady cycling: from the end of one pass to the end of the next.
        if (!runUntil([&] { return passes() >= 1; }, 30s)) return fail(state, "no first pass");
        const int first = passes();
        const auto start = Clock::now();
        if (!runUntil([&] { return passes() > first; }, 30s)) return fail(state, "no second pass");
        pass = msSince(start, Clock::now());
    }
    int filled = 0;
    for (int k = 0; k < cells; ++k) filled += !view->cellPicture(k).isNull();
    closeView(*viewer);
    state.counters["cells"] = cells;
    state.counters["pictures"] = filled;
    state.counters["pass_ms"] = pass;
    state.counters["settle_ms"] = settle;
    state.counters["x_settles"] = pass / (cells * settle);
    state.counters["x_nominal"] = pass / (cells * double(viewer::multiscreen::kSettleMs));
}

void BM_ClickToLive(benchmark::State& state) {
    const int clicks = environmentCount("KELTO_BENCH_CLICKS", 12);
    constexpr int kCells = 9;
    ViewerRig rig(sixteenStations());
    CTvViewerDlg* viewer = rig.viewer();
    if (!viewer) return fail(state, "the viewer did not open");
    CMultiScreenDlg* view = openView(*viewer, kCells);
    if (!view || !runUntil([&] { return view->worker().passes() >= 1; }, 30s))
        return fail(state, "the view did not fill its cells");
    // Each cell's plate, from its cycled picture (160 by 120, as the live picture then is).
    std::vector<std::uint64_t> plates;
    for (int k = 0; k < kCells; ++k) plates.push_back(plateHash(view->cellPicture(k)));

    auto& application = PaintTimingApplication::instance();
    auto* picture = rig.picture();
    std::uint64_t aboutToPaint = 0;
    application.beforePicturePaint = [&] { aboutToPaint = plateHash(picture->currentPicture()); };
    Clock::time_point paintedAt{};
    application.afterPicturePaint = [&](const TimedPaint& paint) { paintedAt = paint.end; };

    std::mt19937 random(21);
    std::uniform_int_distribution<int> cellOf(0, kCells - 1), pause(0, 900);
    std::vector<double> latencies;
    int failures = 0;
    for (auto _ : state) {
        for (int i = 0; i < clicks; ++i) {
            // Cycling again, caught at a random moment of its pass.
            view->wiring().sendCommand(32820);
            runFor(std::chrono::milliseconds(pause(random)));
            const int k = cellOf(random);
            aboutToPaint = 0;
            const QPoint at = viewer::multiscreen::cellRect(kCells, k).center();
            QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), QPointF(view->mapToGlobal(at)), Qt::LeftButton,
                              Qt::LeftButton, Qt::NoModifier);
            const auto start = Clock::now();
            QApplication::sendEvent(view, &press);
            if (runUntilPainted([&] { return view->liveCell() == k && aboutToPaint == plates[std::size_t(k)]; }, 3s))
                latencies.push_back(msSince(start, paintedAt));
            else {
                ++failures;
                std::fprintf(stderr, "multiscreen benchmark: cell %d: live cell %d, plate %s\n", k, view->liveCell(),
                             aboutToPaint == 0 ? "never painted" : "another station's");
                view->cellPicture(k).save("/tmp/multi_shots/failcell.png");
                picture->currentPicture().save("/tmp/multi_shots/faillive.png");
            }
        }
    }
    application.beforePicturePaint = nullptr;
    application.afterPicturePaint = nullptr;
    closeView(*viewer);
    state.counters["clicks"] = double(latencies.size());
    state.counters["failures"] = failures;
    state.counters["median_ms"] = percentile(latencies, 50);
    state.counters["p95_ms"] = percentile(latencies, 95);
    state.counters["max_ms"] = percentile(latencies, 100);
    if (latencies.empty()) fail(state, "no live picture after any press");
}

BENCHMARK(BM_FullPass)->Arg(4)->Arg(9)->Arg(16)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ClickToLive)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return runViewerBenchmarks(argc, argv, "multiscreen", anyFailed); }
