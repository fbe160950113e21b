#pragma once
// The real viewer window for the benchmarks: CTvViewerDlg opened as the program opens it, over
// the hardware-control library on the simulated card (Philips tuner, NTSC, US channel plan), on
// the real clock and the event loop's timers. Around it only what measuring needs:
// - PaintTimingApplication sees every event, so it times the live picture's paint events and
//   its window's repaints (paint and flush) without a hook in the viewer;
// - the card's capture driver is registered wrapped in one that remembers the card frame of
//   each picture taken, so a painted picture can be traced to its card frame (dropped frames).
#include "viewer/window/CTvViewerDlg.h"

#include "capture/CaptureWindowWidget.h"
#include "cardsim/BroadcastWorld.h"

#include <QApplication>
#include <QEventLoop>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace kelto::bench {

using Clock = std::chrono::steady_clock;

struct TimedPaint {
    Clock::time_point start;
    Clock::time_point end;
    double ms() const { return std::chrono::duration<double, std::milli>(end - start).count(); }
};

// The application object of the benchmark programs.
class PaintTimingApplication : public QApplication {
public:
    PaintTimingApplication(int& argc, char** argv) : QApplication(argc, argv) {}
    static PaintTimingApplication& instance() { return *static_cast<PaintTimingApplication*>(qApp); }

    // The live picture widget and its window; null: nothing is watched.
    void watch(QWidget* picture) { picture_ = picture; }
    // Called just before the picture paints (what it paints is its current picture) and after.
    std::function<void()> beforePicturePaint;
    std::function<void(const TimedPaint&)> afterPicturePaint;
    // Called after each repaint of the picture's window (every dirty widget painted and flushed).
    std::function<void(const TimedPaint&)> afterWindowRepaint;

    bool notify(QObject* receiver, QEvent* event) override;

private:
    QWidget* picture_ = nullptr;
};

// The card frame (frames counted from the epoch at the card's rate) of the last picture the
// viewer took from the driver.
std::uint64_t lastGrabbedCardFrame();
std::uint64_t cardFrameAt(std::chrono::system_clock::time_point time);

struct ViewerSetup {
    std::vector<cardsim::Station> stations;
    std::vector<int> registeredTv;  // the broadcast band's registered channels
    int channel = 7;
    QRect window{40, 40, 484, 424};
    // The live picture's format; nullopt: the driver's own (320x240, 24 bits).
    std::optional<QSize> frameSize;
};

class ViewerRig {
public:
    explicit ViewerRig(const ViewerSetup& setup);
    ~ViewerRig();

    CTvViewerDlg* viewer() const { return viewer_; }
    capture::CaptureWindowWidget* picture() const { return picture_; }
    int messageBoxes() const { return boxes_; }

private:
    CTvViewerDlg* viewer_ = nullptr;
    capture::CaptureWindowWidget* picture_ = nullptr;
    int boxes_ = 0;
    struct Mixer;
    std::unique_ptr<Mixer> mixer_;
};

// Runs the event loop until `done` holds (checked after each painted picture) or the time is up;
// whether it held.
bool runUntilPainted(const std::function<bool()>& done, std::chrono::milliseconds timeout);
// Runs the event loop for a while.
void runFor(std::chrono::milliseconds duration);

// Nearest-rank percentile (0..100) of the values; 0 for none.
double percentile(std::vector<double> values, double rank);

// KELTO_BENCH_SECONDS and the like: a positive whole number from the environment, or the default.
int environmentCount(const char* name, int fallback);

double processCpuSeconds();

// The main of a viewer benchmark program: its own root and runtime folder (named after `name`)
// and the off-screen platform, so nothing of the user's is touched; runs the registered
// benchmarks in a PaintTimingApplication. 1 when one of them reported a failure (`anyFailed`).
int runViewerBenchmarks(int argc, char** argv, const char* name, const bool& anyFailed);

}  // namespace kelto::bench
