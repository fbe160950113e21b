#include "capture/SequenceCapture.h"

#include "platform/Clock.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMouseEvent>

#include <algorithm>
#include <vector>

namespace kelto::capture {

namespace {

using std::chrono::microseconds;
using std::chrono::system_clock;

// The Qt key of a virtual-key code (the abort key of the set-up); 0 for codes without one.
int qtKeyOf(std::uint32_t virtualKey) {
    if (virtualKey == 0x1B) return Qt::Key_Escape;
    if (virtualKey == 0x20) return Qt::Key_Space;
    if (virtualKey == 0x0D) return Qt::Key_Return;
    if ((virtualKey >= '0' && virtualKey <= '9') || (virtualKey >= 'A' && virtualKey <= 'Z')) return int(virtualKey);
    if (virtualKey >= 0x70 && virtualKey <= 0x7B) return Qt::Key_F1 + int(virtualKey - 0x70);
    return 0;
}

// Watches the application's input while the recording runs; an abort input is taken (not
// passed on), so the click that ends a recording does not also press a button.
class AbortWatcher final : public QObject {
public:
    AbortWatcher(const CaptureSequenceSetup& setup, QObject* scope)
        : key_(qtKeyOf(setup.keyAbort)), left_(setup.abortLeftMouse != 0), right_(setup.abortRightMouse != 0),
          scope_(scope) {
        if (QCoreApplication::instance()) QCoreApplication::instance()->installEventFilter(this);
    }
    ~AbortWatcher() override {
        if (QCoreApplication::instance()) QCoreApplication::instance()->removeEventFilter(this);
    }
    bool aborted() const { return aborted_; }

protected:
    bool eventFilter(QObject* receiver, QEvent* event) override {
        bool abort = false;
        if (event->type() == QEvent::KeyPress) {
            abort = key_ != 0 && static_cast<QKeyEvent*>(event)->key() == key_;
        } else if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
            const Qt::MouseButton button = static_cast<QMouseEvent*>(event)->button();
            abort = (button == Qt::LeftButton && left_) || (button == Qt::RightButton && right_);
        }
        if (!abort || !inScope(receiver)) return false;
        aborted_ = true;
        return true;
    }

private:
    bool inScope(QObject* receiver) const {
        if (!scope_) return true;
        for (QObject* object = receiver; object; object = object->parent())
            if (object == scope_) return true;
        return false;
    }

    int key_;
    bool left_;
    bool right_;
    QObject* scope_;
    bool aborted_ = false;
};

std::int64_t microsecondsSinceEpoch(system_clock::time_point time) {
    return std::chrono::duration_cast<microseconds>(time.time_since_epoch()).count();
}

// The absolute index of the sample at a moment (microseconds since the epoch).
std::uint64_t sampleAt(std::int64_t us, std::uint32_t rateHz) {
    return std::uint64_t((unsigned __int128)std::max<std::int64_t>(us, 0) * rateHz / 1'000'000);
}

// The first microsecond at which sample `index` is the current one.
std::int64_t firstMicrosecondOf(std::uint64_t index, std::uint32_t rateHz) {
    return std::int64_t(((unsigned __int128)index * 1'000'000 + rateHz - 1) / rateHz);
}

}  // namespace

SequenceResult runSequenceCapture(drivers::CaptureDriver& driver, const SequenceRequest& request) {
    SequenceResult result;
    const CaptureSequenceSetup& setup = request.setup;
    const std::uint32_t periodUs = setup.requestMicroSecPerFrame;
    if (!driver.isOpen() || periodUs == 0) {
        result.error = "no driver";
        return result;
    }
    const bool withSound = setup.captureAudio != 0 && request.wave && driver.hasAudio();

    RecordingFormat format;
    format.type = request.type;
    format.compressor = request.compressor;
    format.frame = driver.frameFormat();
    format.framePeriodUs = periodUs;
    format.audio = withSound;
    if (withSound) {
        format.wave = *request.wave;
        drivers::SoundFormat sound{format.wave.samplesPerSec, format.wave.channels, 16};
        if (!driver.setSoundFormat(sound)) {
            result.error = "the driver refuses the sound format";
            return result;
        }
    }
    auto recorder = StreamRecorder::create(request.file, format, &result.error);
    if (!recorder) return result;

    platform::Clock& clock = platform::clock();
    AbortWatcher watcher(setup, request.abortScope);
    QEventLoop loop;
    std::vector<std::uint8_t> picture(format.frame.imageBytes());
    std::vector<std::int16_t> sound;
    const std::uint32_t rateHz = format.wave.samplesPerSec;
    const std::uint16_t channels = format.wave.channels;

    const system_clock::time_point start = clock.now();
    const std::int64_t startUs = microsecondsSinceEpoch(start);
    const bool limited = setup.limitEnabled != 0;
    const std::uint64_t limitUs = std::uint64_t(setup.timeLimitSeconds) * 1'000'000;
    std::optional<std::uint64_t> lastShownUs;
    bool ok = true;

    auto stopped = [&request] { return request.stopRequested && request.stopRequested(); };
    for (std::uint64_t index = 0;; ++index) {
        const std::uint64_t dueUs = index * periodUs;
        if (limited && dueUs >= limitUs) break;
        if (stopped()) break;
        const system_clock::time_point due = start + microseconds(dueUs);
        // Wait for the picture's moment, handling events (and watching for the abort) meanwhile.
        for (;;) {
            loop.processEvents(QEventLoop::AllEvents);
            if (watcher.aborted() || stopped()) break;
            const auto now = clock.now();
            if (now >= due) break;
            const auto remainingMs = std::chrono::ceil<std::chrono::milliseconds>(due - now).count();
            clock.sleepMs(std::uint32_t(std::clamp<std::int64_t>(remainingMs, 1, 5)));
        }
        if (watcher.aborted() || stopped()) break;

        if (!driver.grabFrame(picture, due)) {
            result.error = driver.lastError().empty() ? "the driver delivered no picture" : driver.lastError();
            ok = false;
            break;
        }
        const auto leftDriverAt = std::chrono::steady_clock::now();
        if (clock.now() - due > microseconds(periodUs)) ++result.latePictures;
        if (!recorder->addVideoFrame(picture)) {
            result.error = recorder->lastError();
            ok = false;
            break;
        }
        if (withSound) {
            const std::uint64_t first = sampleAt(startUs + std::int64_t(dueUs), rateHz);
            const std::uint64_t end = sampleAt(startUs + std::int64_t(dueUs + periodUs), rateHz);
            sound.resize(std::size_t(end - first) * channels);
            const auto soundStart = system_clock::time_point(microseconds(firstMicrosecondOf(first, rateHz)));
            if (!driver.readSound(soundStart, sound) || !recorder->addSound(sound)) {
                result.error = recorder->lastError().empty() ? "the driver delivered no sound" : recorder->lastError();
                ok = false;
                break;
            }
            result.waveSamples += end - first;
        }
        ++result.pictures;
        if (request.sink && (!lastShownUs || dueUs - *lastShownUs >= std::uint64_t(request.previewRateMs) * 1000)) {
            lastShownUs = dueUs;
            request.sink->presentFrame({format.frame, picture, leftDriverAt});
        }
        if (request.pictureObserver) request.pictureObserver(std::uint32_t(index));
    }

    result.aborted = watcher.aborted();
    result.elapsedMs = std::uint32_t(std::uint64_t(result.pictures) * periodUs / 1000);
    if (!recorder->finish() && ok) {
        result.error = recorder->lastError();
        ok = false;
    }
    result.ok = ok;
    return result;
}

}  // namespace kelto::capture
