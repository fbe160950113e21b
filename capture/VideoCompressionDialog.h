#pragma once
// The driver's compression dialog: the compressor of AVI recordings, "MJPEG" (the default) or
// uncompressed full frames (combo box named "compressor"). OK keeps the choice in the driver.
#include <QDialog>

class QComboBox;

namespace kelto::capture {

class CaptureService;

class VideoCompressionDialog final : public QDialog {
public:
    VideoCompressionDialog(CaptureService& service, QWidget* parent = nullptr);
    void accept() override;

private:
    CaptureService& service_;
    QComboBox* compressor_;
};

}  // namespace kelto::capture
