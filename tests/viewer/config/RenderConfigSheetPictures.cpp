// Opens the viewer on the simulated card on a real display (run it under Xvfb) and writes pictures
// of its configuration sheet: each page, the channel page while the auto scan runs, the sheet
// beside the viewer on the desktop, and the two pages the video inputs have.
//   xvfb-run -a -s "-screen 0 1280x800x24" build/bin/render_config_sheet_pictures docs/screenshots
#include "viewer/window/CTvViewerDlg.h"

#include "cardsim/BrooktreeCaptureDriver.h"
#include "cardsim/CardTestHook.h"
#include "framework/ControlIds.h"
#include "framework/MessageBoxes.h"
#include "platform/Paths.h"
#include "settings/ViewerSettings.h"
#include "viewer/config/CEnvironmentPage1.h"
#include "viewer/config/CEnvironmentSheet.h"
#include "tests/viewer/window/ScreenPictures.h"
#include "viewer/window/ViewerHost.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QScreen>
#include <QTemporaryDir>

#include <cstdio>

namespace {

using namespace kelto;

using test::PictureHost;
using test::settle;
using test::shoot;

void click(QWidget* page, int controlId) {
    if (auto* button = page ? framework::findControl(page, controlId) : nullptr)
        if (auto* b = qobject_cast<QAbstractButton*>(button)) b->click();
}

CTvViewerDlg* openViewer(SettingsStore& store, int mode) {
    store.writeInt("user", "s_vmode", mode);
    CTvViewerDlg* viewer = CTvViewerDlg::open(std::make_unique<PictureHost>());
    if (viewer) settle(800);
    return viewer;
}

void closeViewer(CTvViewerDlg* viewer) {
    viewer->close();
    settle(200);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace

int main(int argc, char** argv) {
    // A settings store and program folder of its own, so earlier runs leave nothing behind.
    QTemporaryDir root;
    qputenv("KELTO_ROOT", root.path().toLocal8Bit());
    QApplication app(argc, argv);
    const QString folder = argc > 1 ? argv[1] : ".";
    platform::prepareInstallRoot();
    // The scan's registration question is answered No, other notices OK, without showing.
    framework::setMessageBoxAnswerer([](const framework::MessageBoxRequest& request) {
        return request.buttons == framework::MessageButtons::YesNo ? framework::IDNO : framework::IDOK;
    });
    // Stations on channels 4, 7, 9 and 13 of the broadcast band.
    cardsim::test::buildCard({}, {cardsim::test::tvStation(67'250'000, "WKEL 4"),
                                  cardsim::test::tvStation(175'250'000, "WKEL 7"),
                                  cardsim::test::tvStation(187'250'000, "KTVN 9"),
                                  cardsim::test::tvStation(211'250'000, "WMLT 13")});
    cardsim::registerCaptureDriver();
    SettingsStore store;
    test::saveViewerState(store, 7, {4, 7, 9, 13}, QRect(40, 40, 484, 424));
    store.writeInt("multi", "s_tv1", 7);
    store.writeInt("multi", "s_tv2", 9);
    store.writeInt("multi", "s_multiselect", 4);

    CTvViewerDlg* viewer = openViewer(store, 0);
    if (!viewer) return 1;
    viewer->wiring().sendCommand(1007);
    settle(600);
    auto* sheet = viewer->configSheet().sheet();
    if (!sheet) return 1;
    const char* names[] = {"config-channels", "config-colour", "config-info", "config-multiscreen"};
    for (int page = 0; page < sheet->pageCount(); ++page) {
        sheet->setActivePage(page);
        settle(page == 2 ? 1500 : 500);  // the info page's text scrolls in
        shoot(sheet->frameGeometry(), folder + "/" + names[page] + ".png");
    }
    // The sheet near the desktop's bottom-right corner, the viewer without its panel meanwhile.
    shoot(QGuiApplication::primaryScreen()->geometry(), folder + "/config-desktop.png");

    // The auto scan, part way through the band.
    sheet->setActivePage(0);
    settle(300);
    click(sheet->channelPage(), 1012);
    settle(700);
    shoot(sheet->frameGeometry(), folder + "/config-channels-scanning.png");
    click(sheet->channelPage(), 1013);
    settle(800);
    closeViewer(viewer);

    // The video inputs: only the colour and info pages.
    viewer = openViewer(store, 2);
    if (!viewer) return 1;
    viewer->wiring().sendCommand(1007);
    settle(600);
    if (auto* videoSheet = viewer->configSheet().sheet()) shoot(videoSheet->frameGeometry(), folder + "/config-video-input.png");
    closeViewer(viewer);
    return 0;
}
