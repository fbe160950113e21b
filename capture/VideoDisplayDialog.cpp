#include "capture/VideoDisplayDialog.h"

#include "capture/CaptureService.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QVBoxLayout>

namespace kelto::capture {

VideoDisplayDialog::VideoDisplayDialog(CaptureService& service, QWidget* parent)
    : QDialog(parent),
      service_(service),
      scale_(new QCheckBox(QStringLiteral("&Scale picture to window"), this)),
      caption_(new QCheckBox(QStringLiteral("Show &caption (size and frame rate)"), this)) {
    setWindowTitle(QStringLiteral("Video Display"));
    scale_->setObjectName(QStringLiteral("scale"));
    caption_->setObjectName(QStringLiteral("caption"));
    const DisplayOptions options = service.displayOptions();
    scale_->setChecked(options.scaleToWindow);
    caption_->setChecked(options.showCaption);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(scale_);
    layout->addWidget(caption_);
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(box);
}

void VideoDisplayDialog::accept() {
    service_.setDisplayOptions({scale_->isChecked(), caption_->isChecked()});
    QDialog::accept();
}

}  // namespace kelto::capture
