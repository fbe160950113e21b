// Opens the viewer on the simulated card on a real display (run it under Xvfb), opens the
// multi-screen view at 2*2, 3*3 and 4*4 over sixteen stations, lets the worker fill every cell,
// and writes a picture of each view (the 3*3 view with one cell live).
//   xvfb-run -a -s "-screen 0 1280x800x24" build/bin/render_multiscreen_pictures docs/screenshots
#include "viewer/window/CTvViewerDlg.h"

#include "cardsim/BrooktreeCaptureDriver.h"
#include "cardsim/CardTestHook.h"
#include "framework/MessageBoxes.h"
#include "platform/Paths.h"
#include "settings/ViewerSettings.h"
#include "viewer/multiscreen/CMultiScreenDlg.h"
#include "viewer/multiscreen/MultiScreenLayout.h"
#include "tests/viewer/window/ScreenPictures.h"
#include "viewer/window/ViewerHost.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QScreen>

#include <cstdio>
#include <functional>

namespace {

using namespace kelto;

using test::PictureHost;
using test::shoot;

bool settleUntil(const std::function<bool()>& done, int ms) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        if (done && done()) return true;
    }
    return false;
}

// US broadcast channels 2 to 17 and their vision carriers.
std::uint32_t carrierOf(int channel) {
    if (channel <= 4) return 55'250'000u + std::uint32_t(channel - 2) * 6'000'000u;
    if (channel <= 6) return 77'250'000u + std::uint32_t(channel - 5) * 6'000'000u;
    if (channel <= 13) return 175'250'000u + std::uint32_t(channel - 7) * 6'000'000u;
    return 471'250'000u + std::uint32_t(channel - 14) * 6'000'000u;
}

const char* const kNames[] = {"WKEL", "KVIZ", "WNRV", "KTOA", "WBRT", "KSUN", "WDLX", "KMRA",
                              "WOHM", "KLUX", "WAVE", "KRIS", "WFLT", "KPIX", "WGRD", "KORB"};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString folder = argc > 1 ? argv[1] : ".";
    platform::prepareInstallRoot();
    framework::setMessageBoxAnswerer([](const framework::MessageBoxRequest&) { return framework::IDOK; });
    std::vector<cardsim::Station> stations;
    for (int channel = 2; channel <= 17; ++channel)
        stations.push_back(cardsim::test::tvStation(carrierOf(channel), std::string(kNames[channel - 2]) + " " +
                                                                            std::to_string(channel)));
    cardsim::test::buildCard({}, stations);
    cardsim::registerCaptureDriver();
    SettingsStore store;
    test::saveViewerState(store, 7, {}, QRect(60, 60, 484, 424));
    store.writeInt("user", "s_vmode", 0);
    for (int slot = 1; slot <= 16; ++slot) store.writeInt("multi", "s_tv" + std::to_string(slot), slot + 1);

    CTvViewerDlg* viewer = CTvViewerDlg::open(std::make_unique<PictureHost>());
    if (!viewer) return 1;
    settleUntil({}, 800);
    for (const int cells : {4, 9, 16}) {
        viewer->sheetViewer().viewerSettings().multiSelect = cells;
        viewer->wiring().sendCommand(32776);
        auto* view = viewer->multiScreenView();
        if (!view) return 2;
        view->move(60, 60);
        settleUntil([&] { return view->worker().passes() >= 1; }, 30000);
        if (cells == 9) {
            // Channel 6 live in the middle cell.
            const QPoint at = viewer::multiscreen::cellRect(cells, 4).center();
            QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), QPointF(view->mapToGlobal(at)), Qt::LeftButton,
                              Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(view, &press);
            settleUntil([&] { return view->liveCell() == 4; }, 5000);
            settleUntil({}, 600);
        } else {
            settleUntil({}, 300);
        }
        const int size = int(std::lround(std::sqrt(double(cells))));
        shoot(view->frameGeometry(), folder + QString("/multiscreen-%1x%1.png").arg(size));
        view->close();
        settleUntil([&] { return viewer->multiScreenView() == nullptr; }, 10000);
        settleUntil({}, 300);
    }
    viewer->close();
    settleUntil({}, 300);
    return 0;
}
