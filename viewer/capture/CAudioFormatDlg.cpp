#include "viewer/capture/CAudioFormatDlg.h"

#include <QRadioButton>

#include <span>

namespace kelto::viewer::capturesheet {

namespace {

void checkRadio(const framework::Dialog& dialog, std::span<const int> radios, int index) {
    if (index < 0 || index >= int(radios.size())) return;
    if (auto* radio = dialog.control<QRadioButton>(radios[std::size_t(index)])) radio->setChecked(true);
}

// The index of the checked radio of a group (the first when none is).
int checkedIndex(const framework::Dialog& dialog, std::span<const int> radios) {
    for (std::size_t i = 0; i < radios.size(); ++i)
        if (auto* radio = dialog.control<QRadioButton>(radios[i]); radio && radio->isChecked()) return int(i);
    return 0;
}

}  // namespace

CAudioFormatDlg::CAudioFormatDlg(CaptureSheetViewer& viewer, QWidget* parent) : Dialog(kResourceId, parent), viewer_(viewer) {
    capture::AudioFormatValues format;
    if (auto* window = viewer_.captureWindowOrNull())
        if (const auto current = capture::GetAudioFormat(*window, viewer_.settingsStore())) format = *current;
    const AudioFormatIndexes shown = audioFormatIndexes(format);
    checkRadio(*this, kSampleSizeRadios, shown.sampleSize);
    checkRadio(*this, kChannelRadios, shown.channels);
    checkRadio(*this, kRateRadios, shown.rate);
    messageMap().onCommand(IDOK, [this] { onOk(); });
}

AudioFormatIndexes CAudioFormatDlg::indexes() const {
    return {checkedIndex(*this, kSampleSizeRadios), checkedIndex(*this, kChannelRadios), checkedIndex(*this, kRateRadios)};
}

void CAudioFormatDlg::onOk() {
    if (auto* window = viewer_.captureWindowOrNull())
        capture::SetAudioFormat(*window, viewer_.settingsStore(), audioFormatFromIndexes(indexes()));
    accept();
}

}  // namespace kelto::viewer::capturesheet
