// Pictures of the capture sheet's still page and the file name dialog (docs/screenshots); not a test.
//   xvfb-run -a -s "-screen 0 1280x800x24" build/bin/render_capture_still_pictures docs/screenshots
// Writes capture-still.png (the still page in the sheet, Serial chosen with 10 frames) and
// capture-file-name.png (dialog 136 with the current stem), over a stand-in viewer.
#include "resources/StringTable.h"
#include "tests/support/WindowPicture.h"
#include "viewer/capture/CCaptureFileNameDlg.h"
#include "viewer/capture/CCapturePage1.h"
#include "viewer/capture/CCaptureSheet.h"

#include <QApplication>
#include <QSpinBox>
#include <QTemporaryDir>

namespace {

using namespace kelto::viewer::capturesheet;

// The viewer as far as the sheet's pages ask: settings only, no capture window.
class StandInViewer final : public CaptureSheetViewer {
public:
    QWidget* viewerWidget() override { return nullptr; }
    kelto::ViewerSettings& viewerSettings() override { return settings; }
    kelto::SettingsStore& settingsStore() override { return store; }
    kelto::capture::CCaptureWindow* captureWindowOrNull() override { return nullptr; }
    void setStillFileType(int type) override { settings.imageFormat = type; }
    bool CaptureStill(const std::string&) override { return false; }
    bool RecordStream(const std::string&) override { return false; }
    bool recording() const override { return false; }
    bool volumeControlHasMixer() const override { return true; }

    kelto::ViewerSettings settings;
    kelto::SettingsStore store;
};

}  // namespace

int main(int argc, char** argv) {
    QTemporaryDir root;
    qputenv("KELTO_ROOT", root.path().toLocal8Bit());
    QApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString("docs/screenshots");
    kelto::setUiLanguage(kelto::UiLanguage::EnglishUS);
    bool ok = true;

    StandInViewer viewer;
    viewer.settings.bmpDirectory = "/home/tv/Pictures/Capture";
    viewer.settings.bmpFileName = "Kelto";
    viewer.settings.imageShow = 1;
    CCaptureSheet sheet(viewer, nullptr);
    CCapturePage1* page = sheet.stillPage();
    page->wiring().sendCommand(CCapturePage1::kSerialRadio);
    if (auto* count = page->control<QSpinBox>(CCapturePage1::kFrameCount)) count->setValue(10);
    sheet.resize(sheet.sizeHint());
    ok = kelto::test::saveWindowPicture(sheet, folder + "/capture-still.png") && ok;

    CCaptureFileNameDlg dialog("Kelto");
    ok = kelto::test::saveWindowPicture(dialog, folder + "/capture-file-name.png") && ok;
    return ok ? 0 : 1;
}
