// The viewer window CTvViewerDlg as the program opens it, over the hardware-control library on the
// simulated card (Philips tuner, NTSC at 29.97 frames/s), on the real clock.
//   BM_ChannelChange: the channel-up key between two registered stations, alternating, from the
//     key to the end of painting the first picture that shows the new station (told apart by the
//     station's name plate on its test card). Counters in ms: median, p95, max; "next_frame" the
//     same run's baseline: from a moment without a change to the end of the next painted
//     picture; "x_next_frame" median over that baseline, "x_period" median over the frame period;
//     "x_target_median" and "x_target_p95" over 50 and 80 ms. "command_ms": median time the key's
//     handling took (mute, tune, display, unmute).
//   BM_LivePicture: watching one station, 640x480 pictures in a 640x480 picture area. "paint_p95"
//     and "paint_median": the live picture's paint in ms; "repaint_p95": the window's whole repaint
//     for a picture (every widget painted and flushed); "blit_p95": the same run's baseline, a bare
//     drawImage of the same picture as 32-bit pixels into a 32-bit image of the area's size; "x_blit" and "x_target"
//     (1.5 ms) for paint_p95. "dropped": card frames never painted between the first and the last
//     painted one; "repeated": a card frame painted again. "cpu_share": process CPU time (viewer and
//     simulated card) over wall time, "x_cpu_target" over 15 %.
// KELTO_BENCH_CHANGES (default 20) and KELTO_BENCH_SECONDS (default 1) keep ctest's run short; by
// hand: KELTO_BENCH_CHANGES=400 KELTO_BENCH_SECONDS=60 build/bin/viewer_benchmark.
#include "tests/bench/ViewerBenchRig.h"

#include "cardsim/CardTestHook.h"

#include <QPainter>
#include <QTest>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>

namespace {

using namespace kelto;
using namespace kelto::bench;
using namespace std::chrono_literals;

// A benchmark that could not measure makes the program fail, so ctest notices.
bool anyFailed = false;
void fail(benchmark::State& state, const char* why) {
    anyFailed = true;
    state.SkipWithError(why);
}

double msSince(Clock::time_point start, Clock::time_point end) {
    return std::chrono::duration<double, std::milli>(end - start).count();
}

// The rows of the test card that hold the station's name plate (and nothing that moves): equal
// hashes, the same station.
std::uint64_t namePlateHash(const QImage& image) {
    if (image.isNull()) return 0;
    const int h = image.height();
    const auto rowBytes = std::size_t(image.width()) * std::size_t(image.depth() / 8);
    std::uint64_t hash = 1469598103934665603ull;
    for (int y = h * 6 / 100; y < h * 22 / 100; ++y) {
        const uchar* row = image.constScanLine(y);
        for (std::size_t i = 0; i < rowBytes; ++i) hash = (hash ^ row[i]) * 1099511628211ull;
    }
    return hash;
}

// The colour bars of the test card (yellow at 3/16 of the width, green at 7/16).
bool showsTestCard(const QImage& image) {
    if (image.isNull()) return false;
    const QColor yellow = image.pixelColor(image.width() * 3 / 16, image.height() / 4);
    const QColor green = image.pixelColor(image.width() * 7 / 16, image.height() / 4);
    return yellow.red() > 150 && yellow.green() > 150 && yellow.blue() < 80 && green.green() > 150 &&
           green.red() < 80 && green.blue() < 80;
}

// Waits until three pictures in a row show the same test card; its name plate hash, or 0.
std::uint64_t settledStation(capture::CaptureWindowWidget& picture) {
    std::uint64_t last = 0;
    int same = 0;
    runUntilPainted([&] {
        const QImage& image = picture.currentPicture();
        const std::uint64_t hash = showsTestCard(image) ? namePlateHash(image) : 0;
        same = hash != 0 && hash == last ? same + 1 : 0;
        last = hash;
        return same >= 2;
    }, 3s);
    return same >= 2 ? last : 0;
}

void BM_ChannelChange(benchmark::State& state) {
    const int changes = environmentCount("KELTO_BENCH_CHANGES", 20);
    ViewerRig rig({.stations = {cardsim::test::tvStation(175'250'000, "WNRV 7"), cardsim::test::tvStation(199'250'000, "KDUZ 11")},
                   .registeredTv = {7, 11},
                   .channel = 7,
                   .window = QRect(40, 40, 484, 424),
                   .frameSize = std::nullopt});
    CTvViewerDlg* viewer = rig.viewer();
    if (!viewer || !rig.picture()) return fail(state, "the viewer did not open");
    capture::CaptureWindowWidget& picture = *rig.picture();

    // Each station's plate, and the tuner that took the words (the Philips one answers at 0xC0).
    std::uint64_t plate[2] = {settledStation(picture), 0};
    QTest::keyClick(viewer, Qt::Key_Up);
    plate[1] = settledStation(picture);
    bool philips = false;
    for (const auto& transfer : cardsim::test::i2cLog()) philips = philips || (transfer.address == 0xC0 && !transfer.read);
    cardsim::test::clearI2cLog();
    if (viewer->currentChannel() != 11 || !plate[0] || !plate[1] || plate[0] == plate[1] || !philips)
        return fail(state, "the two stations cannot be told apart on screen (or no Philips tuner)");

    auto& application = PaintTimingApplication::instance();
    std::uint64_t aboutToPaint = 0;
    application.beforePicturePaint = [&] { aboutToPaint = namePlateHash(picture.currentPicture()); };
    Clock::time_point paintedAt{};
    application.afterPicturePaint = [&](const TimedPaint& paint) { paintedAt = paint.end; };

    std::mt19937 random(15);
    std::uniform_int_distribution<int> pause(0, 66);
    std::vector<double> changeMs, nextFrameMs, commandMs;
    int failures = 0;
    int shown = 1;  // index of the station on screen
    for (auto _ : state) {
        for (int i = 0; i < changes; ++i) {
            // Baseline: a moment without a change, to the next picture painted.
            runFor(std::chrono::milliseconds(pause(random)));
            auto start = Clock::now();
            if (runUntilPainted([] { return true; }, 1s)) nextFrameMs.push_back(msSince(start, paintedAt));

            runFor(std::chrono::milliseconds(pause(random)));
            const std::uint64_t wanted = plate[1 - shown];
            start = Clock::now();
            QTest::keyClick(viewer, Qt::Key_Up);
            commandMs.push_back(msSince(start, Clock::now()));
            if (runUntilPainted([&] { return aboutToPaint == wanted; }, 2s)) {
                changeMs.push_back(msSince(start, paintedAt));
                shown = 1 - shown;
            } else {
                ++failures;
                settledStation(picture);
                shown = namePlateHash(picture.currentPicture()) == plate[0] ? 0 : 1;
            }
        }
    }
    const double median = percentile(changeMs, 50), p95 = percentile(changeMs, 95);
    const double nextFrame = percentile(nextFrameMs, 50);
    const double periodMs = 1000.0 / cardsim::lockCard()->framesPerSecond();
    state.counters["changes"] = double(changeMs.size());
    state.counters["failures"] = failures;
    state.counters["median_ms"] = median;
    state.counters["p95_ms"] = p95;
    state.counters["max_ms"] = percentile(changeMs, 100);
    state.counters["next_frame_ms"] = nextFrame;
    state.counters["x_next_frame"] = nextFrame > 0 ? median / nextFrame : 0;
    state.counters["x_period"] = median / periodMs;
    state.counters["x_target_median"] = median / 50.0;
    state.counters["x_target_p95"] = p95 / 80.0;
    state.counters["command_ms"] = percentile(commandMs, 50);
    state.counters["boxes"] = rig.messageBoxes();
}

// Drawing a picture into an image of the window's size, with nothing else: p95 in ms.
double bareBlitP95(const QImage& picture, QSize area, int rounds) {
    QImage target(area, QImage::Format_RGB32);
    std::vector<double> ms;
    for (int i = 0; i < rounds; ++i) {
        const auto start = Clock::now();
        QPainter painter(&target);
        painter.drawImage(QRect(QPoint(0, 0), area), picture);
        painter.end();
        ms.push_back(msSince(start, Clock::now()));
        benchmark::DoNotOptimize(target.constBits());
    }
    return percentile(ms, 95);
}

void BM_LivePicture(benchmark::State& state) {
    const int seconds = environmentCount("KELTO_BENCH_SECONDS", 1);
    ViewerRig rig({.stations = {cardsim::test::tvStation(175'250'000, "WNRV 7")},
                   .registeredTv = {7},
                   .channel = 7,
                   .window = QRect(40, 40, 640, 540),
                   .frameSize = QSize(640, 480)});
    CTvViewerDlg* viewer = rig.viewer();
    if (!viewer || !rig.picture()) return fail(state, "the viewer did not open");
    capture::CaptureWindowWidget& picture = *rig.picture();
    if (!settledStation(picture) || picture.currentPicture().size() != QSize(640, 480) ||
        picture.size() != QSize(640, 480))
        return fail(state, "no 640x480 picture in a 640x480 area");
    runFor(300ms);

    auto& application = PaintTimingApplication::instance();
    std::vector<double> paintMs, repaintMs;
    std::uint64_t paintingFrame = 0, lastPainted = 0, firstPainted = 0;
    std::uint64_t dropped = 0, repeated = 0, painted = 0;
    application.beforePicturePaint = [&] { paintingFrame = lastGrabbedCardFrame(); };
    application.afterPicturePaint = [&](const TimedPaint& paint) {
        paintMs.push_back(paint.ms());
        ++painted;
        if (firstPainted == 0) firstPainted = paintingFrame;
        else if (paintingFrame == lastPainted) ++repeated;
        else if (paintingFrame > lastPainted + 1) dropped += paintingFrame - lastPainted - 1;
        lastPainted = paintingFrame;
    };
    application.afterWindowRepaint = [&](const TimedPaint& paint) { repaintMs.push_back(paint.ms()); };

    double cpuSeconds = 0, wallSeconds = 0;
    for (auto _ : state) {
        const double cpuStart = processCpuSeconds();
        const auto start = Clock::now();
        runFor(std::chrono::seconds(seconds));
        wallSeconds += std::chrono::duration<double>(Clock::now() - start).count();
        cpuSeconds += processCpuSeconds() - cpuStart;
    }
    application.beforePicturePaint = nullptr;
    application.afterPicturePaint = nullptr;
    application.afterWindowRepaint = nullptr;

    const double paintP95 = percentile(paintMs, 95);
    const double blitP95 = bareBlitP95(picture.currentPicture().convertToFormat(QImage::Format_RGB32), picture.size(), 300);
    state.counters["painted"] = double(painted);
    state.counters["card_frames"] = double(lastPainted - firstPainted + 1);
    state.counters["dropped"] = double(dropped);
    state.counters["repeated"] = double(repeated);
    state.counters["paint_p95"] = paintP95;
    state.counters["paint_median"] = percentile(paintMs, 50);
    state.counters["repaint_p95"] = percentile(repaintMs, 95);
    state.counters["blit_p95"] = blitP95;
    state.counters["x_blit"] = blitP95 > 0 ? paintP95 / blitP95 : 0;
    state.counters["x_target"] = paintP95 / 1.5;
    state.counters["cpu_share"] = cpuSeconds / wallSeconds;
    state.counters["x_cpu_target"] = cpuSeconds / wallSeconds / 0.15;
    state.counters["boxes"] = rig.messageBoxes();
}

BENCHMARK(BM_ChannelChange)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LivePicture)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return runViewerBenchmarks(argc, argv, "viewer", anyFailed); }
