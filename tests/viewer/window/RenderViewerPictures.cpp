// Opens the viewer on the simulated card on a real display (run it under Xvfb) and writes
// pictures of the screen: the window at 484 by 424 showing channel 7 and the volume at 16, with
// its context menu open, after a still capture (the announcement, and the image window showing
// the still on its own), at panel widths 400 and 300, with the on-screen keypad open (alone,
// with a key held down, at its place on the desktop and beside the viewer), and in desktop TV
// (the whole screen, the keypad above the picture).
//   xvfb-run -a -s "-screen 0 1280x800x24" build/bin/render_viewer_pictures docs/screenshots
#include "viewer/window/CTvViewerDlg.h"

#include "cardsim/BrooktreeCaptureDriver.h"
#include "cardsim/CardTestHook.h"
#include "framework/MessageBoxes.h"
#include "platform/Paths.h"
#include "settings/ViewerSettings.h"
#include "viewer/keypad/CRemoteKeypadDlg.h"
#include "viewer/osd/CImageWindow.h"
#include "tests/viewer/window/ScreenPictures.h"
#include "viewer/window/ViewerHost.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMenu>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

namespace {

using namespace kelto;

using test::PictureHost;
using test::settle;
using test::shoot;

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString folder = argc > 1 ? argv[1] : ".";
    platform::prepareInstallRoot();
    // Notices (no sound card under Xvfb) are answered without showing.
    framework::setMessageBoxAnswerer([](const framework::MessageBoxRequest&) { return framework::IDOK; });
    cardsim::test::buildCard({}, {cardsim::test::tvStation(175'250'000, "WKEL 7")});
    cardsim::registerCaptureDriver();
    SettingsStore store;
    test::saveViewerState(store, 6, {6, 7, 9, 11, 12}, QRect(60, 60, 484, 424));
    store.writeInt("user", "s_windowtle", 0);
    QTemporaryDir stills;
    store.writeString("user", "bmpdirectory", stills.path().toStdString());

    CTvViewerDlg::setContextMenuExecution(true);
    CTvViewerDlg* viewer = CTvViewerDlg::open(std::make_unique<PictureHost>());
    if (!viewer) return 1;
    settle(800);
    QTest::keyClick(viewer, Qt::Key_Up);  // channel 7
    settle(600);
    shoot(viewer->frameGeometry(), folder + "/viewer-ch7-484.png");
    QTest::keyClick(viewer, Qt::Key_Right);  // at 16 already: the display stays
    viewer->session()->SetVolumeStep(16);
    settle(600);
    shoot(viewer->frameGeometry(), folder + "/viewer-vol-484.png");

    auto* picture = viewer->findChild<QWidget*>();
    (void)picture;
    const QPoint at = viewer->mapToGlobal(QPoint(120, 60));
    QMetaObject::invokeMethod(viewer, [viewer, at] {
        // The menu as a right click on the picture shows it.
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(120, 60), QPointF(at), Qt::RightButton, Qt::RightButton,
                          Qt::NoModifier);
        QApplication::sendEvent(viewer->childAt(120, 60), &press);
    }, Qt::QueuedConnection);
    settle(800);
    if (QMenu* menu = viewer->lastContextMenu()) shoot(viewer->frameGeometry().united(menu->frameGeometry()), folder + "/viewer-menu-484.png");
    if (QMenu* menu = viewer->lastContextMenu()) menu->close();
    settle(200);

    // A still: "CAPTURE : path" centred over the picture, and the picture in the image window
    // (placed beside the viewer: without a window manager it would appear at the screen's corner).
    QTest::keyClick(viewer, Qt::Key_C, Qt::ControlModifier);
    settle(300);
    if (auto* image = viewer->imageWindow()) {
        image->move(viewer->frameGeometry().right() + 20, viewer->y());
        settle(400);
        shoot(viewer->frameGeometry(), folder + "/viewer-capture-484.png");
        shoot(image->frameGeometry(), folder + "/viewer-image-window.png");
        image->hide();
    }

    for (int width : {400, 300}) {
        viewer->resize(width, width * 3 / 4 + 60);
        settle(300);
        QTest::keyClick(viewer, Qt::Key_Down);
        settle(500);
        shoot(viewer->frameGeometry(), folder + QString("/viewer-%1.png").arg(width));
    }
    // The keypad in place of the panel: the viewer at 484 by 424 gives its strip to the picture.
    viewer->resize(484, 424);
    settle(300);
    viewer->wiring().sendCommand(1052);
    if (auto* keypad = viewer->keypad().window()) {
        viewer->session()->TuneChannel(7, false);
        viewer->session()->SetVolumeStep(11);
        settle(600);
        shoot(keypad->frameGeometry(), folder + "/keypad-alone.png");
        shoot(QGuiApplication::primaryScreen()->geometry(), folder + "/keypad-desktop.png");
        // "5" held down, and the sound muted.
        const QPoint five = viewer::keypadRegionRect(viewer::KeypadRegion::Digit5).center();
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(five), QPointF(keypad->mapToGlobal(five)), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(keypad, &press);
        viewer->session()->muteToggle();
        settle(300);
        shoot(keypad->frameGeometry(), folder + "/keypad-pressed.png");
        // Let go outside the key: nothing is typed.
        const QPoint off(40, 30);
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(off), QPointF(keypad->mapToGlobal(off)), Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(keypad, &release);
        viewer->session()->muteToggle();
        // Beside the viewer (where a user might drag it).
        keypad->move(viewer->frameGeometry().right() + 12, viewer->frameGeometry().bottom() - keypad->height() + 1);
        settle(400);
        shoot(viewer->frameGeometry().united(keypad->frameGeometry()).adjusted(-8, -8, 8, 8),
              folder + "/keypad-beside-viewer.png");
    }

    // Desktop TV: after a second the viewer hides and the picture covers the desktop, below
    // every other window (here an ordinary one put over it).
    viewer->resize(484, 424);
    viewer->tuneChannel(7);
    settle(300);
    viewer->wiring().sendCommand(32790);
    settle(1600);
    // Without a window manager nothing keeps the picture below: raise what a desktop would.
    if (auto* keypad = viewer->keypad().window()) keypad->raise();
    QWidget above;
    above.setWindowTitle("Another window");
    above.setGeometry(200, 200, 300, 120);
    above.show();
    settle(400);
    shoot(QGuiApplication::primaryScreen()->geometry(), folder + "/desktop-tv.png");
    above.hide();
    viewer->wiring().sendCommand(32790);
    settle(400);
    viewer->close();
    settle(200);
    return 0;
}
