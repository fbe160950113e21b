#pragma once
// The recording indicator: while a recording runs, a red dot and "REC h:mm:ss" with the
// recorded time in the top-right corner of the live picture, in the on-screen display's look
// (its font for the picture's width, the display colour, a blue shadow). Like the display it is a
// child of the picture that paints only its dot and letters and takes no mouse input, so a click
// on it reaches the picture (and ends the recording).
#include <QColor>
#include <QPointer>
#include <QWidget>

#include <cstdint>
#include <functional>

namespace kelto::capture {
class CCaptureWindow;
class CaptureService;
}  // namespace kelto::capture

namespace kelto::viewer {

class RecordingIndicator final : public QWidget {
    Q_OBJECT
public:
    static constexpr int kMarginPx = 10;

    // Shown over `picture` at once, reading "REC 0:00:00".
    RecordingIndicator(QWidget& picture, const QColor& colour);
    ~RecordingIndicator() override;

    // The recorded time; the indicator repaints when its text changes.
    void setRecordedMs(std::uint64_t ms);
    const QString& text() const { return text_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void place();

    QWidget& picture_;
    QColor colour_;
    QString text_;
};

// The indicator for one recording through the capture window: shown over its picture while this
// object lives, its time advanced with each recorded picture (in the recording's own loop).
// Whoever else watches the recorded pictures keeps being told.
class RecordingIndicatorShown {
public:
    RecordingIndicatorShown(capture::CCaptureWindow& capture, const QColor& colour);
    ~RecordingIndicatorShown();
    RecordingIndicatorShown(const RecordingIndicatorShown&) = delete;
    RecordingIndicatorShown& operator=(const RecordingIndicatorShown&) = delete;

private:
    QPointer<RecordingIndicator> indicator_;
    capture::CaptureService* service_ = nullptr;
    std::function<void(std::uint32_t)> previousObserver_;
};

}  // namespace kelto::viewer
