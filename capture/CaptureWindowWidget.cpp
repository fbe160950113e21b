#include "capture/CaptureWindowWidget.h"

#include "capture/VideoCompressionDialog.h"
#include "capture/VideoDisplayDialog.h"
#include "capture/VideoFormatDialog.h"
#include "platform/Trace.h"

#include <QPainter>

#include <cstring>

namespace kelto::capture {

CaptureWindowWidget::CaptureWindowWidget(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    service_.setFrameSink(this);
    service_.setDialogHost(this);
    service_.setAbortScope(parent ? static_cast<QObject*>(parent->window()) : this);
}

CaptureWindowWidget::~CaptureWindowWidget() {
    service_.setFrameSink(nullptr);
    service_.setDialogHost(nullptr);
}

void CaptureWindowWidget::presentFrame(const LiveFrame& frame) {
    const int width = int(frame.format.width), height = int(frame.format.height);
    // The picture is kept in 32-bit pixels whatever the driver delivers: painting those is a
    // plain copy, while 24-bit ones would be converted again at every paint (several times the
    // cost of converting them once here).
    if (picture_.width() != width || picture_.height() != height || picture_.format() != QImage::Format_RGB32)
        picture_ = QImage(width, height, QImage::Format_RGB32);
    const std::size_t stride = frame.format.bytesPerRow();
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* in = frame.pixels.data() + std::size_t(y) * stride;
        if (frame.format.bitsPerPixel == 32) {
            std::memcpy(picture_.scanLine(y), in, std::size_t(width) * 4);
            continue;
        }
        auto* out = reinterpret_cast<QRgb*>(picture_.scanLine(y));
        for (int x = 0; x < width; ++x, in += 3) out[x] = qRgb(in[2], in[1], in[0]);  // B, G, R bytes
    }
    pictureLeftDriverAt_ = frame.leftDriverAt;
    ++presented_;
    update();
}

void CaptureWindowWidget::presentTrouble(const std::string& text) {
    trouble_ = QString::fromStdString(text);
    if (!text.empty()) platform::traceLine("capture: the live picture stops: " + text);
    update();
}

void CaptureWindowWidget::paintTrouble(QPainter& painter) const {
    if (trouble_.isEmpty()) return;
    const QRect area = rect();
    QRect box = area.adjusted(8, 0, -8, 0);
    box = painter.boundingRect(box, Qt::AlignCenter | Qt::TextWordWrap, trouble_).adjusted(-8, -6, 8, 6);
    box.moveCenter(area.center());
    painter.fillRect(box, QColor(0, 0, 0, 190));
    painter.setPen(Qt::white);
    painter.drawText(box, Qt::AlignCenter | Qt::TextWordWrap, trouble_);
}

void CaptureWindowWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect area = rect();
    if (picture_.isNull()) {
        painter.fillRect(area, Qt::black);
        paintTrouble(painter);
        return;
    }
    const DisplayOptions options = service_.displayOptions();
    QRect target = area;
    if (!options.scaleToWindow) {
        target = QRect(QPoint(0, 0), picture_.size());
        target.moveCenter(area.center());
        painter.fillRect(area, Qt::black);
    }
    // A window larger (or smaller) than the picture gets it filtered, not in blocks.
    if (target.size() != picture_.size()) painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, picture_);
    if (options.showCaption) {
        const QString caption = QStringLiteral("%1*%2  %3 fps")
                                    .arg(picture_.width())
                                    .arg(picture_.height())
                                    .arg(service_.framesPerSecond(), 0, 'f', 2);
        const QRect line(area.left(), area.bottom() - 18, area.width(), 18);
        painter.fillRect(line, QColor(0, 0, 0, 160));
        painter.setPen(Qt::white);
        painter.drawText(line.adjusted(6, 0, -6, 0), Qt::AlignVCenter | Qt::AlignLeft, caption);
    }
    paintTrouble(painter);
    painter.end();
    ++painted_;
    lastDelay_ = std::chrono::steady_clock::now() - pictureLeftDriverAt_;
    if (!firstPictureNoted_) {
        firstPictureNoted_ = true;
        platform::tracef("capture: first picture painted (%dx%d)", picture_.width(), picture_.height());
    }
}

bool CaptureWindowWidget::showVideoFormatDialog(CaptureService& service) {
    VideoFormatDialog dialog(service, this);
    return dialog.exec() == QDialog::Accepted;
}

bool CaptureWindowWidget::showVideoCompressionDialog(CaptureService& service) {
    VideoCompressionDialog dialog(service, this);
    return dialog.exec() == QDialog::Accepted;
}

bool CaptureWindowWidget::showVideoDisplayDialog(CaptureService& service) {
    VideoDisplayDialog dialog(service, this);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    update();
    return accepted;
}

}  // namespace kelto::capture
