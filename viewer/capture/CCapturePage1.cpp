#include "viewer/capture/CCapturePage1.h"

#include "capture/CCaptureWindow.h"
#include "framework/MessageBoxes.h"
#include "platform/Trace.h"
#include "resources/StringTable.h"
#include "viewer/capture/CCaptureFileNameDlg.h"
#include "viewer/capture/CaptureFolderBrowser.h"
#include "viewer/capture/SerialCaptureRun.h"
#include "viewer/capture/StillPageRules.h"

#include <QAbstractButton>
#include <QLabel>
#include <QSpinBox>

#include <filesystem>
#include <system_error>

namespace kelto::viewer::capturesheet {

CCapturePage1::CCapturePage1(CaptureSheetViewer& viewer, QWidget* parent)
    : PropertyPage(kResourceId, parent),
      viewer_(viewer),
      serialRun_(std::make_unique<SerialCaptureRun>([this] { return captureOneFrame(); }, [this] { serialFinished(); })) {
    mapControls();
    refreshLocation();
    refreshStem();
    refreshSize();
    adoptFileType();
    if (auto* count = control<QSpinBox>(kFrameCount)) {
        count->setRange(kMinFrames, kMaxFrames);
        count->setValue(kMinFrames);
        // The worker reads the count before every picture; it gets it from here, never from the widget.
        connect(count, &QSpinBox::valueChanged, this, [this](int frames) { serialRun_->setCount(frames); });
    }
    setSerialMode(false);
    enable(kStop, false);
    if (auto* show = control<QAbstractButton>(kShowViewer)) show->setChecked(viewer_.viewerSettings().imageShow != 0);
    if (auto* window = viewer_.captureWindowOrNull()) window->RefreshSize();
}

CCapturePage1::~CCapturePage1() {
    // The worker goes before the widgets and the viewer it takes pictures with.
    serialRun_.reset();
}

void CCapturePage1::mapControls() {
    framework::MessageMap& map = messageMap();
    map.onCommand(kChangeStem, [this] { changeStem(); });
    map.onCommand(kChangeFolder, [this] { changeFolder(); });
    map.onCommand(kBmpRadio, [this] { chooseFileType(0); });
    map.onCommand(kJpgRadio, [this] { chooseFileType(1); });
    map.onCommand(kChangeSize, [this] { changeSize(); });
    map.onCommand(kStepRadio, [this] { setSerialMode(false); });
    map.onCommand(kSerialRadio, [this] { setSerialMode(true); });
    map.onCommand(kShowViewer, [this] {
        const auto* show = control<QAbstractButton>(kShowViewer);
        viewer_.viewerSettings().imageShow = show && show->isChecked() ? 1 : 0;
    });
    map.onCommand(kCapture, [this] { capture(); });
    map.onCommand(kStop, [this] { serialRun_->requestStop(); });
    map.onCommand(kExit, [this] {
        if (closeSheet_) closeSheet_();
    });
    // Escape on the page is the sheet's close request (a page never closes on its own); the page
    // has nothing to accept.
    map.onCommand(IDCANCEL, [this] {
        if (closeSheet_) closeSheet_();
    });
    map.onCommand(IDOK, [] {});
}

void CCapturePage1::setText(int controlId, const std::string& text) {
    if (auto* label = control<QLabel>(controlId)) label->setText(QString::fromStdString(text));
}

void CCapturePage1::enable(int controlId, bool enabled) {
    if (QWidget* widget = control(controlId)) widget->setEnabled(enabled);
}

void CCapturePage1::refreshLocation() { setText(kLocationText, nextStillFile(viewer_.viewerSettings())); }

void CCapturePage1::refreshStem() { setText(kStemText, currentStillStem(viewer_.viewerSettings())); }

void CCapturePage1::refreshSize() {
    auto* window = viewer_.captureWindowOrNull();
    setText(kSizeText, pictureSizeText(window ? window->GetImageWidth() : 0));
}

void CCapturePage1::adoptFileType() {
    const int type = viewer_.viewerSettings().imageFormat == 1 ? 1 : 0;
    if (auto* radio = control<QAbstractButton>(type == 1 ? kJpgRadio : kBmpRadio)) radio->setChecked(true);
    refreshLocation();
    refreshStem();
}

void CCapturePage1::setSerialMode(bool serial) {
    serialMode_ = serial;
    if (auto* radio = control<QAbstractButton>(serial ? kSerialRadio : kStepRadio)) radio->setChecked(true);
    enable(kFrameCount, serial);
}

void CCapturePage1::changeStem() {
    std::string& stem = currentStillStem(viewer_.viewerSettings());
    CCaptureFileNameDlg dialog(stem, this);
    if (dialog.exec() != QDialog::Accepted) return;
    stem = dialog.stem();
    refreshLocation();
    refreshStem();
}

void CCapturePage1::changeFolder() {
    const auto chosen = chooseCaptureFolder(this, currentStillFolder(viewer_.viewerSettings()));
    if (!chosen) return;
    currentStillFolder(viewer_.viewerSettings()) = *chosen;
    refreshLocation();
}

void CCapturePage1::chooseFileType(int type) {
    // The viewer announces the type and tells the sheet, which lets this page adopt it; a type
    // that was already current changes nothing there, so the page follows it here as well.
    viewer_.setStillFileType(type);
    adoptFileType();
}

void CCapturePage1::changeSize() {
    auto* window = viewer_.captureWindowOrNull();
    if (!window) return;
    window->VideoFormatDialog();
    refreshSize();
}

bool CCapturePage1::captureOneFrame() {
    auto* window = viewer_.captureWindowOrNull();
    if (!window || !window->IsWindow()) return false;
    ViewerSettings& settings = viewer_.viewerSettings();
    if (captureFolderMissing(currentStillFolder(settings))) {
        framework::messageBox(this, LoadMessage(kMissingFolderString), framework::MessageButtons::Ok,
                              framework::MessageIcon::Information);
        return false;
    }
    const std::string path = nextStillFile(settings);
    // The numbering keeps three digits: past 999 it comes back to names already taken, and a
    // picture never replaces another.
    std::error_code error;
    if (std::filesystem::exists(path, error)) {
        platform::tracef("Capture sheet: %s exists already; no picture is written over it", path.c_str());
        return false;
    }
    return viewer_.CaptureStill(path);
}

void CCapturePage1::capture() {
    if (serialRunning_) return;
    if (!serialMode_) {
        captureOneFrame();
        return;
    }
    const auto* count = control<QSpinBox>(kFrameCount);
    serialRunning_ = true;
    enable(kExit, false);
    enable(kCapture, false);
    enable(kStop, true);
    if (!serialRun_->start(count ? count->value() : kMinFrames)) serialFinished();
}

void CCapturePage1::serialFinished() {
    enable(kExit, true);
    enable(kCapture, true);
    enable(kStop, false);
    serialRunning_ = false;
}

}  // namespace kelto::viewer::capturesheet
