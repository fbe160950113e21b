#include "capture/VideoFormatDialog.h"

#include "capture/CaptureService.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kelto::capture {

namespace {
constexpr std::array<std::pair<int, int>, 4> kSizes = {{{80, 60}, {160, 120}, {320, 240}, {640, 480}}};
}

VideoFormatDialog::VideoFormatDialog(CaptureService& service, QWidget* parent) : QDialog(parent), service_(service) {
    setWindowTitle(QStringLiteral("Video Format"));
    auto* layout = new QVBoxLayout(this);
    auto* group = new QGroupBox(QStringLiteral("Capture size"), this);
    auto* groupLayout = new QVBoxLayout(group);
    auto* buttons = new QButtonGroup(this);
    const drivers::FrameFormat current = service.frameFormat();
    for (const auto& [width, height] : kSizes) {
        auto* radio = new QRadioButton(QStringLiteral("%1 x %2").arg(width).arg(height), group);
        radio->setObjectName(QStringLiteral("size%1x%2").arg(width).arg(height));
        radio->setChecked(std::uint32_t(width) == current.width && std::uint32_t(height) == current.height);
        buttons->addButton(radio);
        groupLayout->addWidget(radio);
        sizes_.append(radio);
    }
    layout->addWidget(group);
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(box);
}

void VideoFormatDialog::accept() {
    for (int i = 0; i < sizes_.size(); ++i) {
        if (!sizes_[i]->isChecked()) continue;
        drivers::FrameFormat format = service_.frameFormat();
        format.width = std::uint32_t(kSizes[std::size_t(i)].first);
        format.height = std::uint32_t(kSizes[std::size_t(i)].second);
        service_.applyFrameFormat(format);
    }
    QDialog::accept();
}

}  // namespace kelto::capture
