// Opens the viewer on the simulated card on a real display (run it under Xvfb) and writes pictures
// of the capture sheet's motion page with its file-format summary, its audio format and
// recording limits dialogs, and the viewer while the page records (the recording indicator over
// the picture).
//   xvfb-run -a -s "-screen 0 1280x800x24" build/bin/render_motion_capture_pictures docs/screenshots
#include "viewer/window/CTvViewerDlg.h"

#include "capture/CaptureWindowWidget.h"
#include "cardsim/BrooktreeCaptureDriver.h"
#include "cardsim/CardTestHook.h"
#include "framework/MessageBoxes.h"
#include "platform/Paths.h"
#include "settings/ViewerSettings.h"
#include "tests/mixer/MixerRig.h"
#include "tests/viewer/window/ScreenPictures.h"
#include "viewer/capture/CAudioFormatDlg.h"
#include "viewer/capture/CAviLimitsDlg.h"
#include "viewer/capture/CCapturePage2.h"
#include "viewer/capture/CCaptureSheet.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>

namespace {

using namespace kelto;
using test::settle;
using test::shoot;
using viewer::capturesheet::CCapturePage2;

// Shoots the dialog of type Dialog that the next button opens, then cancels it.
template <typename Dialog>
void shootNextDialog(const QString& file) {
    QTimer::singleShot(0, [file] {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* dialog = dynamic_cast<Dialog*>(widget); dialog && dialog->isVisible()) {
                settle(400);
                shoot(dialog->frameGeometry(), file);
                dialog->wiring().sendCommand(framework::Dialog::IDCANCEL);
                return;
            }
    });
}

}  // namespace

int main(int argc, char** argv) {
    // A settings store and program folder of its own, so earlier runs leave nothing behind.
    QTemporaryDir root;
    qputenv("KELTO_ROOT", root.path().toLocal8Bit());
    QApplication app(argc, argv);
    const QString folder = argc > 1 ? argv[1] : ".";
    platform::prepareInstallRoot();
    framework::setMessageBoxAnswerer([](const framework::MessageBoxRequest&) { return framework::IDOK; });
    // A sound card with a mixer, so the page offers its audio button.
    mixer::test::MixerRig mixerRig;
    mixerRig.buildSoundCard();
    cardsim::test::buildCard({}, {cardsim::test::tvStation(175'250'000, "WKEL 7")});
    cardsim::registerCaptureDriver();
    SettingsStore store;
    test::saveViewerState(store, 7, {7}, QRect(40, 40, 484, 424));
    const QString recordings = root.path() + "/Recordings";
    QDir().mkpath(recordings);
    store.writeString("user", "avidirectory", recordings.toStdString());
    store.writeInt("user", "framerate", 30);
    store.writeInt("user", "timelimitcheck", 1);
    store.writeInt("user", "totalsecond", 5);
    store.writeInt("user", "nChannel", 2);
    store.writeInt("user", "wSample", 16);
    store.writeInt("user", "dwFrequency", 22050);

    CTvViewerDlg* viewer = CTvViewerDlg::open(std::make_unique<test::PictureHost>());
    if (!viewer) return 1;
    settle(800);
    viewer->wiring().sendCommand(1005);
    settle(600);
    auto* sheet = viewer->captureSheet().sheet();
    if (!sheet) return 1;
    sheet->setActivePage(1);
    settle(500);
    CCapturePage2* page = sheet->motionPage();
    shoot(sheet->frameGeometry(), folder + "/capture-motion.png");

    shootNextDialog<viewer::capturesheet::CAudioFormatDlg>(folder + "/capture-audio-format.png");
    page->wiring().sendCommand(CCapturePage2::kAudioButton);
    shootNextDialog<viewer::capturesheet::CAviLimitsDlg>(folder + "/capture-limits.png");
    page->wiring().sendCommand(CCapturePage2::kSetupButton);

    // Two seconds into a recording from the page: the viewer with its indicator.
    auto* picture = viewer->findChild<capture::CaptureWindowWidget*>();
    if (!picture) return 1;
    picture->service().setSequenceObserver([viewer, folder](std::uint32_t index) {
        if (index != 75) return;
        settle(300);
        shoot(viewer->frameGeometry(), folder + "/capture-recording.png");
    });
    page->wiring().sendCommand(CCapturePage2::kCaptureButton);
    picture->service().setSequenceObserver({});
    settle(300);
    viewer->close();
    settle(200);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return 0;
}
