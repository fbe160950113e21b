#include "viewer/capture/CAviLimitsDlg.h"

#include "capture/CCaptureWindow.h"
#include "framework/MessageBoxes.h"
#include "resources/StringTable.h"

#include <QCheckBox>
#include <QSpinBox>

namespace kelto::viewer::capturesheet {

CAviLimitsDlg::CAviLimitsDlg(CaptureSheetViewer& viewer, QWidget* parent) : Dialog(kResourceId, parent), viewer_(viewer) {
    if (auto* spin = control<QSpinBox>(kFrameRateEdit)) spin->setRange(kLowestFrameRate, kHighestFrameRate);
    if (auto* spin = control<QSpinBox>(kMinutesEdit)) spin->setRange(0, kMostMinutes);
    if (auto* spin = control<QSpinBox>(kSecondsEdit)) spin->setRange(0, kMostSeconds);

    capture::RecordingSetupValues setup;
    capture::CCaptureWindow* window = viewer_.captureWindowOrNull();
    if (window)
        if (const auto current = capture::GetRecordingSetup(*window, viewer_.settingsStore())) setup = *current;
    showLimits(recordingLimitsFrom(setup));

    if (auto* audio = control<QCheckBox>(kAudioCheck)) {
        audio->setEnabled(window && window->HasAudioHardware());
        audio->setVisible(capture::recordingTypeFrom(viewer_.viewerSettings().streamFormat) == capture::RecordingType::Avi);
    }
    messageMap().onCommand(kTimeLimitCheck, [this] { enableTimeLimit(); });
    messageMap().onCommand(kAudioCheck, [] {});  // the box's state is read on OK
    messageMap().onCommand(IDOK, [this] { onOk(); });
}

RecordingLimits CAviLimitsDlg::limits() const {
    RecordingLimits limits;
    if (auto* spin = control<QSpinBox>(kFrameRateEdit)) limits.frameRate = spin->value();
    if (auto* check = control<QCheckBox>(kTimeLimitCheck)) limits.limitOn = check->isChecked();
    if (auto* spin = control<QSpinBox>(kMinutesEdit)) limits.minutes = spin->value();
    if (auto* spin = control<QSpinBox>(kSecondsEdit)) limits.seconds = spin->value();
    if (auto* check = control<QCheckBox>(kAudioCheck)) limits.audio = check->isChecked();
    return limits;
}

void CAviLimitsDlg::showLimits(const RecordingLimits& limits) {
    if (auto* spin = control<QSpinBox>(kFrameRateEdit)) spin->setValue(limits.frameRate);
    if (auto* check = control<QCheckBox>(kTimeLimitCheck)) check->setChecked(limits.limitOn);
    if (auto* spin = control<QSpinBox>(kMinutesEdit)) spin->setValue(limits.minutes);
    if (auto* spin = control<QSpinBox>(kSecondsEdit)) spin->setValue(limits.seconds);
    if (auto* check = control<QCheckBox>(kAudioCheck)) check->setChecked(limits.audio);
    enableTimeLimit();
}

// Minutes and seconds take input only while the time limit is on.
void CAviLimitsDlg::enableTimeLimit() {
    const auto* check = control<QCheckBox>(kTimeLimitCheck);
    const bool on = check && check->isChecked();
    for (int id : {kMinutesEdit, kSecondsEdit})
        if (QWidget* edit = control(id)) edit->setEnabled(on);
}

void CAviLimitsDlg::onOk() {
    const RecordingLimits entered = limits();
    const LimitsCheck check = checkRecordingLimits(entered);
    if (check != LimitsCheck::Accepted) {
        framework::messageBox(this, LoadMessage(kInputErrorString), framework::MessageButtons::Ok,
                              framework::MessageIcon::Information);
        showLimits(correctedLimits(entered, check));
        return;
    }
    if (auto* window = viewer_.captureWindowOrNull())
        capture::SetRecordingSetup(*window, viewer_.settingsStore(), recordingSetupFrom(entered));
    accept();
}

}  // namespace kelto::viewer::capturesheet
