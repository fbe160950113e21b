#include "viewer/osd/RecordingIndicator.h"

#include "capture/CCaptureWindow.h"
#include "capture/CaptureWindowWidget.h"
#include "viewer/osd/OsdLayout.h"
#include "viewer/osd/OsdText.h"
#include "viewer/osd/RecordingClock.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>

namespace kelto::viewer {

namespace {
// The indicator's font: two thirds of the display's for the picture's width (it sits in a
// corner, the display spans the picture).
QFont indicatorFont(int pictureWidth) { return osdFont(std::max(osdSizeForPictureWidth(pictureWidth).fontPx * 2 / 3, 10)); }
}  // namespace

RecordingIndicator::RecordingIndicator(QWidget& picture, const QColor& colour)
    : QWidget(&picture), picture_(picture), colour_(colour), text_(QString::fromStdString(recordingIndicatorText(0))) {
    setObjectName(QStringLiteral("RecordingIndicator"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setAutoFillBackground(false);
    setFocusPolicy(Qt::NoFocus);
    picture_.installEventFilter(this);
    place();
    raise();
    show();
}

RecordingIndicator::~RecordingIndicator() { picture_.removeEventFilter(this); }

void RecordingIndicator::setRecordedMs(std::uint64_t ms) {
    const QString text = QString::fromStdString(recordingIndicatorText(ms));
    if (text == text_) return;
    text_ = text;
    place();
    update();
}

// The top-right corner of the picture, as large as the dot and the text need.
void RecordingIndicator::place() {
    const QFontMetrics metrics(indicatorFont(picture_.width()));
    const int height = metrics.height() + 2;
    const int width = height + metrics.horizontalAdvance(text_) + 2;
    setGeometry(std::max(picture_.width() - width - kMarginPx, 0), kMarginPx, width, height);
}

void RecordingIndicator::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const QFont font = indicatorFont(picture_.width());
    painter.setFont(font);
    const int cell = QFontMetrics(font).height();
    // The dot: red with the display's blue shadow.
    const int dot = cell * 3 / 5;
    const QRect dotRect((cell - dot) / 2, (height() - dot) / 2, dot, dot);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor::fromRgb(kOsdShadowRgb));
    painter.drawEllipse(dotRect.translated(1, 1));
    painter.setBrush(QColor(255, 0, 0));
    painter.drawEllipse(dotRect);
    // The text: shadow one pixel right and down, then the letters in the display colour.
    const QRect textRect(cell + 1, 0, width() - cell - 2, height() - 2);
    const int flags = Qt::TextSingleLine | Qt::AlignVCenter | Qt::AlignLeft;
    painter.setPen(QColor::fromRgb(kOsdShadowRgb));
    painter.drawText(textRect.translated(1, 1), flags, text_);
    painter.setPen(colour_);
    painter.drawText(textRect, flags, text_);
}

bool RecordingIndicator::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &picture_ && event->type() == QEvent::Resize) place();
    return QWidget::eventFilter(watched, event);
}

RecordingIndicatorShown::RecordingIndicatorShown(capture::CCaptureWindow& capture, const QColor& colour) {
    capture::CaptureWindowWidget* picture = capture.GetWindow();
    if (!picture) return;
    capture::CaptureSequenceSetup setup;
    capture.GetSequenceSetup(setup);
    const std::uint32_t periodUs = setup.requestMicroSecPerFrame;
    indicator_ = new RecordingIndicator(*picture, colour);
    service_ = &picture->service();
    previousObserver_ = service_->sequenceObserver();
    service_->setSequenceObserver([indicator = indicator_, periodUs, previous = previousObserver_](std::uint32_t index) {
        if (indicator) indicator->setRecordedMs(recordedMs(std::uint64_t(index) + 1, periodUs));
        if (previous) previous(index);
    });
}

RecordingIndicatorShown::~RecordingIndicatorShown() {
    if (indicator_) {
        service_->setSequenceObserver(previousObserver_);
        delete indicator_.data();
    }
}

}  // namespace kelto::viewer
