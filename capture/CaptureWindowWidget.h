#pragma once
// The capture window: a child window of the viewer that shows the live picture and owns the
// capture service behind it. Frames arrive from the service (every frame with overlay, one per
// preview period with preview, the recorded ones during a recording) and are painted scaled to
// the window (or at their own size, centred, when the display dialog says so), with an optional
// caption line. The driver's dialogs open from here, owned by this window. The first picture it
// paints is noted in the trace log ("capture: first picture painted"), so the time from a
// start to the live picture can be read from the log.
#include "capture/CaptureService.h"

#include <QImage>
#include <QPainter>
#include <QWidget>

#include <chrono>

namespace kelto::capture {

class CaptureWindowWidget final : public QWidget, public FrameSink, public DriverDialogHost {
public:
    explicit CaptureWindowWidget(QWidget* parent = nullptr);
    ~CaptureWindowWidget() override;

    CaptureService& service() { return service_; }

    void presentFrame(const LiveFrame& frame) override;
    // Shown over the picture (its last frame stays) until pictures arrive again; traced once.
    void presentTrouble(const std::string& text) override;
    const QString& troubleText() const { return trouble_; }
    bool showVideoFormatDialog(CaptureService& service) override;
    bool showVideoCompressionDialog(CaptureService& service) override;
    bool showVideoDisplayDialog(CaptureService& service) override;

    // The picture shown (a copy of the last frame presented); null before the first.
    const QImage& currentPicture() const { return picture_; }
    std::uint64_t picturesPresented() const { return presented_; }
    std::uint64_t picturesPainted() const { return painted_; }
    // From the last painted frame leaving the driver to the end of its painting (real time).
    std::chrono::nanoseconds lastPictureDelay() const { return lastDelay_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void paintTrouble(QPainter& painter) const;

    CaptureService service_;
    QImage picture_;
    QString trouble_;
    std::chrono::steady_clock::time_point pictureLeftDriverAt_{};
    std::chrono::nanoseconds lastDelay_{0};
    std::uint64_t presented_ = 0;
    std::uint64_t painted_ = 0;
    bool firstPictureNoted_ = false;
};

}  // namespace kelto::capture
