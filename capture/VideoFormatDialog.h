#pragma once
// The driver's picture-format dialog: the capture size, one of 80x60, 160x120, 320x240 and
// 640x480 (radio buttons named "size80x60" ...). OK applies the size to the driver.
#include <QDialog>

class QRadioButton;

namespace kelto::capture {

class CaptureService;

class VideoFormatDialog final : public QDialog {
public:
    VideoFormatDialog(CaptureService& service, QWidget* parent = nullptr);
    void accept() override;

private:
    CaptureService& service_;
    QList<QRadioButton*> sizes_;
};

}  // namespace kelto::capture
