#include "capture/VideoCompressionDialog.h"

#include "capture/CaptureService.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QVBoxLayout>

namespace kelto::capture {

VideoCompressionDialog::VideoCompressionDialog(CaptureService& service, QWidget* parent)
    : QDialog(parent), service_(service), compressor_(new QComboBox(this)) {
    setWindowTitle(QStringLiteral("Video Compression"));
    compressor_->setObjectName(QStringLiteral("compressor"));
    // Item order follows VideoCompressor's numbering.
    compressor_->addItem(QStringLiteral("MJPEG Compressor"));
    compressor_->addItem(QStringLiteral("Full Frames (Uncompressed)"));
    compressor_->setCurrentIndex(int(service.compressor()));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Compressor:"), compressor_);
    layout->addLayout(form);
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(box);
}

void VideoCompressionDialog::accept() {
    service_.setCompressor(compressor_->currentIndex() == 1 ? VideoCompressor::Uncompressed : VideoCompressor::Mjpeg);
    QDialog::accept();
}

}  // namespace kelto::capture
