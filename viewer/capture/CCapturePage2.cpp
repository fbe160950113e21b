#include "viewer/capture/CCapturePage2.h"

#include "capture/CCaptureWindow.h"
#include "framework/MessageBoxes.h"
#include "resources/StringTable.h"
#include "viewer/capture/CAudioFormatDlg.h"
#include "viewer/capture/CAviLimitsDlg.h"
#include "viewer/capture/CCaptureFileNameDlg.h"
#include "viewer/capture/CaptureFolderBrowser.h"

#include <QLabel>
#include <QPointer>

namespace kelto::viewer::capturesheet {

namespace {
std::string labelText(const framework::Dialog& page, int id) {
    const auto* label = page.control<QLabel>(id);
    return label ? label->text().toStdString() : std::string();
}
void setLabelText(const framework::Dialog& page, int id, const std::string& text) {
    if (auto* label = page.control<QLabel>(id)) label->setText(QString::fromStdString(text));
}
}  // namespace

CCapturePage2::CCapturePage2(CaptureSheetViewer& viewer, QWidget* parent)
    : PropertyPage(kResourceId, parent), viewer_(viewer) {
    framework::MessageMap& map = messageMap();
    map.onCommand(kStemChangeButton, [this] { changeStem(); });
    map.onCommand(kFolderChangeButton, [this] { changeFolder(); });
    map.onCommand(kSizeButton, [this] { onSize(); });
    map.onCommand(kAudioButton, [this] { onAudio(); });
    map.onCommand(kCompressionButton, [this] { onCompression(); });
    map.onCommand(kSetupButton, [this] { onSetup(); });
    map.onCommand(kCaptureButton, [this] { onCapture(); });
    map.onCommand(kExitButton, [this] {
        if (closeSheet_) closeSheet_();
    });
    // Escape on the page is the sheet's close request (a page never closes on its own); the page
    // has nothing to accept.
    map.onCommand(IDCANCEL, [this] {
        if (closeSheet_) closeSheet_();
    });
    map.onCommand(IDOK, [] {});
    map.onMessage(platform::WM_TIMER, [this](const platform::WindowMessage& m) -> std::int64_t {
        if (int(m.wParam) == kBusyTimer) onBusyTimer();
        return 0;
    });

    refreshSummary();
    refreshLocation();
    if (QWidget* audio = control(kAudioButton)) audio->setEnabled(viewer_.volumeControlHasMixer());
    // The recording type is chosen from the viewer's menu; the page only follows it.
    for (int id : kFileTypeRadios)
        if (QWidget* radio = control(id)) radio->hide();
    if (QWidget* group = control(kFileTypeGroup)) group->hide();
    setStatus(kStartString);
}

CCapturePage2::~CCapturePage2() = default;

void CCapturePage2::adoptRecordingType() { refreshLocation(); }

bool CCapturePage2::onSetActive() {
    if (stillPageBusy_ && stillPageBusy_()) return false;
    // A recording started elsewhere (Ctrl+R, a reservation) may have taken the shown name.
    refreshLocation();
    return true;
}

std::string CCapturePage2::locationText() const { return labelText(*this, kLocationText); }
std::string CCapturePage2::stemText() const { return labelText(*this, kStemText); }
std::string CCapturePage2::statusText() const { return labelText(*this, kStatusText); }

void CCapturePage2::refreshLocation() {
    ViewerSettings& settings = viewer_.viewerSettings();
    setLabelText(*this, kLocationText, nextRecordingFile(settings));
    setLabelText(*this, kStemText, recordingStem(settings));
}

// The summary from the capture window's sound format and recording set-up (with the stored
// choices) and the recording frame size.
void CCapturePage2::refreshSummary() {
    if (auto* window = viewer_.captureWindowOrNull()) {
        if (const auto audio = capture::GetAudioFormat(*window, viewer_.settingsStore())) shown_.audio = *audio;
        if (const auto setup = capture::GetRecordingSetup(*window, viewer_.settingsStore())) shown_.setup = *setup;
    }
    shown_.width = viewer_.viewerSettings().capStreamWidth;
    shown_.height = viewer_.viewerSettings().capStreamHeight;
    summary_ = fileFormatSummaryText(shown_);
    setLabelText(*this, kSummaryText, framework::displayText(summary_));
}

void CCapturePage2::setStatus(int stringId) { setLabelText(*this, kStatusText, LoadMessage(stringId)); }

void CCapturePage2::changeStem() {
    CCaptureFileNameDlg dialog(recordingStem(viewer_.viewerSettings()), this);
    if (dialog.exec() != QDialog::Accepted) return;
    recordingStem(viewer_.viewerSettings()) = dialog.stem();
    refreshLocation();
}

void CCapturePage2::changeFolder() {
    const auto chosen = chooseCaptureFolder(this, recordingFolder(viewer_.viewerSettings()));
    if (!chosen) return;
    recordingFolder(viewer_.viewerSettings()) = *chosen;
    refreshLocation();
}

void CCapturePage2::onSize() {
    if (auto* window = viewer_.captureWindowOrNull()) window->VideoFormatDialog();
    refreshSummary();
}

void CCapturePage2::onAudio() {
    CAudioFormatDlg dialog(viewer_, this);
    dialog.exec();
    refreshSummary();
}

void CCapturePage2::onCompression() {
    if (auto* window = viewer_.captureWindowOrNull()) window->VideoCompressionDialog();
}

void CCapturePage2::onSetup() {
    CAviLimitsDlg dialog(viewer_, this);
    dialog.exec();
    refreshSummary();
}

void CCapturePage2::onCapture() {
    // A recording already runs (a key reached the button meanwhile): one at a time.
    if (busy_ || viewer_.recording()) return;
    busy_ = true;
    timers().set(kBusyTimer, kBusyPeriodMs, framework::WindowTimers::Mode::OneShot);
    if (!viewer_.captureWindowOrNull()) return;
    ViewerSettings& settings = viewer_.viewerSettings();
    if (captureFolderMissing(recordingFolder(settings))) {
        framework::messageBox(this, LoadMessage(kMissingFolderString), framework::MessageButtons::Ok,
                              framework::MessageIcon::Information);
        return;
    }
    const std::string file = nextRecordingFile(settings);
    setStatus(kCapturingString);
    QPointer<CCapturePage2> alive(this);
    viewer_.RecordStream(file);  // blocks until the recording ends
    if (!alive) return;
    setStatus(kFinishedString);
    refreshLocation();
}

void CCapturePage2::onBusyTimer() {
    timers().kill(kBusyTimer);
    busy_ = false;
}

}  // namespace kelto::viewer::capturesheet
