#include "tests/bench/ViewerBenchRig.h"

#include "cardsim/BrooktreeCaptureDriver.h"
#include "cardsim/CardTestHook.h"
#include "framework/MessageBoxes.h"
#include "platform/Clock.h"
#include "platform/Paths.h"
#include "settings/SettingsStore.h"
#include "settings/ViewerSettings.h"
#include "tests/mixer/MixerRig.h"
#include "tests/viewer/window/RigHost.h"

#include <QTimer>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>

namespace kelto::bench {

bool PaintTimingApplication::notify(QObject* receiver, QEvent* event) {
    if (picture_ && event->type() == QEvent::Paint && receiver == picture_) {
        if (beforePicturePaint) beforePicturePaint();
        TimedPaint paint{Clock::now(), {}};
        const bool handled = QApplication::notify(receiver, event);
        paint.end = Clock::now();
        if (afterPicturePaint) afterPicturePaint(paint);
        return handled;
    }
    if (picture_ && event->type() == QEvent::UpdateRequest && receiver == picture_->window()) {
        TimedPaint repaint{Clock::now(), {}};
        const bool handled = QApplication::notify(receiver, event);
        repaint.end = Clock::now();
        if (afterWindowRepaint) afterWindowRepaint(repaint);
        return handled;
    }
    return QApplication::notify(receiver, event);
}

namespace {

std::atomic<std::uint64_t> lastGrabbed{0};

// The card's own driver, remembering the card frame of every picture it hands out.
class FrameNumberingDriver final : public drivers::CaptureDriver {
public:
    drivers::CaptureDriverDescription description() const override { return card_.description(); }
    bool open() override { return card_.open(); }
    void close() override { card_.close(); }
    bool isOpen() const override { return card_.isOpen(); }
    drivers::FrameFormat frameFormat() const override { return card_.frameFormat(); }
    bool setFrameFormat(const drivers::FrameFormat& format) override { return card_.setFrameFormat(format); }
    double framesPerSecond() const override { return card_.framesPerSecond(); }
    std::uint32_t microsecondsPerFrame() const override { return card_.microsecondsPerFrame(); }
    bool grabFrame(std::span<std::uint8_t> buffer, std::optional<std::chrono::system_clock::time_point> at) override {
        const auto time = at.value_or(platform::clock().now());
        lastGrabbed = cardFrameAt(time);
        return card_.grabFrame(buffer, time);
    }
    bool hasAudio() const override { return card_.hasAudio(); }
    drivers::SoundFormat soundFormat() const override { return card_.soundFormat(); }
    bool setSoundFormat(const drivers::SoundFormat& format) override { return card_.setSoundFormat(format); }
    bool readSound(std::chrono::system_clock::time_point start, std::span<std::int16_t> buffer) override {
        return card_.readSound(start, buffer);
    }

private:
    cardsim::BrooktreeCaptureDriver card_;
};

}  // namespace

std::uint64_t lastGrabbedCardFrame() { return lastGrabbed; }

std::uint64_t cardFrameAt(std::chrono::system_clock::time_point time) {
    cardsim::Scene scene;
    scene.time = time;
    scene.framesPerSecond = cardsim::lockCard()->framesPerSecond();
    return cardsim::FrameSynthesizer::frameNumber(scene);
}

// A sound card with volume and mute on its speakers, so the viewer opens with its mixer.
struct ViewerRig::Mixer {
    mixer::test::MixerRig rig;
};

ViewerRig::ViewerRig(const ViewerSetup& setup) : mixer_(std::make_unique<Mixer>()) {
    platform::prepareInstallRoot();
    framework::setMessageBoxAnswerer([this](const framework::MessageBoxRequest& request) {
        ++boxes_;
        std::fprintf(stderr, "viewer benchmark: message box: %s\n", request.text.c_str());
        return framework::IDOK;
    });
    mixer_->rig.buildSoundCard();
    cardsim::test::buildCard({}, setup.stations);  // Bt878, Philips tuner, NTSC
    drivers::CaptureDriverList::clear();
    drivers::CaptureDriverList::add([] { return std::make_unique<FrameNumberingDriver>(); });

    SettingsStore store;
    store.registry().deleteKey(platform::RegHive::CurrentUser, "Software\\UserVxdKeltoTV");
    writeFactoryDefaults(store, platform::programPath().string());
    store.writeInt("user", "CountryCode", 1);
    store.writeInt("user", "s_flag", 1);
    store.writeInt("user", "s_vmode", 0);
    store.writeInt("user", "s_channel", setup.channel);
    store.writeInt("user", "s_windowx", setup.window.x());
    store.writeInt("user", "s_windowy", setup.window.y());
    store.writeInt("user", "s_windowwidth", setup.window.width());
    store.writeInt("user", "s_windowheight", setup.window.height());
    int n = 0;
    for (int channel : setup.registeredTv) store.writeInt("tvchannel", "s_ch" + std::to_string(++n), channel);
    store.writeInt("tvchannel", "tv_count", n);

    viewer_ = CTvViewerDlg::open(std::make_unique<test::RigHost>());
    QApplication::processEvents();
    if (!viewer_) return;
    picture_ = viewer_->findChild<capture::CaptureWindowWidget*>();
    if (picture_ && setup.frameSize) {
        // What the driver's format dialog does when the user picks another size.
        drivers::FrameFormat format = picture_->service().frameFormat();
        format.width = std::uint32_t(setup.frameSize->width());
        format.height = std::uint32_t(setup.frameSize->height());
        picture_->service().applyFrameFormat(format);
    }
    PaintTimingApplication::instance().watch(picture_);
}

ViewerRig::~ViewerRig() {
    auto& application = PaintTimingApplication::instance();
    application.watch(nullptr);
    application.beforePicturePaint = nullptr;
    application.afterPicturePaint = nullptr;
    application.afterWindowRepaint = nullptr;
    if (viewer_) {
        viewer_->close();
        QApplication::processEvents();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    drivers::CaptureDriverList::clear();
    framework::setMessageBoxAnswerer(nullptr);
}

bool runUntilPainted(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    auto& application = PaintTimingApplication::instance();
    QEventLoop loop;
    bool held = false;
    const auto previous = application.afterPicturePaint;
    application.afterPicturePaint = [&](const TimedPaint& paint) {
        if (previous) previous(paint);
        if (!held && done()) {
            held = true;
            loop.quit();
        }
    };
    QTimer::singleShot(timeout, &loop, &QEventLoop::quit);
    loop.exec();
    application.afterPicturePaint = previous;
    return held;
}

void runFor(std::chrono::milliseconds duration) {
    QEventLoop loop;
    QTimer::singleShot(duration, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

double percentile(std::vector<double> values, double rank) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const auto index = std::size_t(std::ceil(rank / 100.0 * double(values.size())));
    return values[std::clamp<std::size_t>(index, 1, values.size()) - 1];
}

int environmentCount(const char* name, int fallback) {
    const char* text = std::getenv(name);
    const int value = text ? std::atoi(text) : 0;
    return value > 0 ? value : fallback;
}

double processCpuSeconds() {
    timespec time{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &time);
    return double(time.tv_sec) + double(time.tv_nsec) / 1e9;
}

int runViewerBenchmarks(int argc, char** argv, const char* name, const bool& anyFailed) {
    const auto base = std::filesystem::temp_directory_path() /
                      (std::string("kelto-") + name + "-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(base / "root");
    std::filesystem::create_directories(base / "run");
    std::filesystem::permissions(base / "run", std::filesystem::perms::owner_all);
    ::setenv("KELTO_ROOT", (base / "root").c_str(), 1);
    ::setenv("XDG_RUNTIME_DIR", (base / "run").c_str(), 1);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    {
        PaintTimingApplication application(argc, argv);
        application.setQuitOnLastWindowClosed(false);
        benchmark::Initialize(&argc, argv);
        benchmark::RunSpecifiedBenchmarks();
        benchmark::Shutdown();
    }
    std::filesystem::remove_all(base);
    return anyFailed ? 1 : 0;
}

}  // namespace kelto::bench
