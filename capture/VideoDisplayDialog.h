#pragma once
// The driver's display dialog: scale the live picture to the window (check box "scale") and
// show a caption line with picture size and frame rate (check box "caption").
#include <QDialog>

class QCheckBox;

namespace kelto::capture {

class CaptureService;

class VideoDisplayDialog final : public QDialog {
public:
    VideoDisplayDialog(CaptureService& service, QWidget* parent = nullptr);
    void accept() override;

private:
    CaptureService& service_;
    QCheckBox* scale_;
    QCheckBox* caption_;
};

}  // namespace kelto::capture
