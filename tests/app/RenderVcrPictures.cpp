// Pictures of the recorder controller window (docs/screenshots); not a test. Under Xvfb:
//   xvfb-run -a -s "-screen 0 1280x800x24" build/bin/render_vcr_pictures docs/screenshots
// Writes vcr-controller.png (the window on the screen, broadcast channel 7, the recorder running)
// and vcr-controller-states.png (three times its size: TV 7; cable 27 with the next key held;
// the composite input).
#include "cardsim/CardTestHook.h"
#include "framework/MessageBoxes.h"
#include "links/CPowerVcrControllerDlg.h"
#include "links/LinkMessages.h"
#include "platform/Paths.h"
#include "platform/WindowSystem.h"
#include "settings/ViewerSettings.h"
#include "tests/viewer/window/ScreenPictures.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTemporaryDir>

#include <cstdlib>
#include <string>

using namespace kelto;

namespace {

void mouse(QWidget* target, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
    QMouseEvent event(type, QPointF(at), QPointF(target->mapToGlobal(at)), button, held, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

}  // namespace

int main(int argc, char** argv) {
    // A root and a window folder of its own: the stand-in recorder is seen by nothing else.
    QTemporaryDir root, runtime;
    ::setenv("KELTO_ROOT", root.path().toLocal8Bit().constData(), 1);
    ::setenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit().constData(), 1);
    QApplication app(argc, argv);
    const QString folder = argc > 1 ? argv[1] : ".";
    platform::prepareInstallRoot();
    framework::setMessageBoxAnswerer([](const framework::MessageBoxRequest&) { return framework::IDOK; });
    cardsim::test::buildCard({}, {cardsim::test::tvStation(175'250'000, "WKEL 7")});
    SettingsStore store;
    writeFactoryDefaults(store, platform::programPath().string());
    store.writeInt("user", "CountryCode", 1);
    store.writeInt("user", "s_flag", 1);
    store.writeInt("user", "s_channel", 7);
    store.writeInt("user", "s_ctchannel", 27);
    store.writeInt("user", "s_vmode", 0);
    int n = 0;
    for (int c : {6, 7, 9, 11, 12}) store.writeInt("tvchannel", "s_ch" + std::to_string(++n), c);
    store.writeInt("tvchannel", "tv_count", n);
    store.writeInt("catvchannel", "s_ch1", 3);
    store.writeInt("catvchannel", "s_ch2", 27);
    store.writeInt("catvchannel", "catv_count", 2);
    platform::WindowSystem& windows = platform::WindowSystem::instance();
    const auto recorder = windows.createWindow(kPowerVcrClass, kPowerVcrTitle, [](const platform::WindowMessage&) {
        return std::int64_t(0);
    });

    auto* controller = new CPowerVcrControllerDlg(windows);
    controller->move(80, 80);
    controller->initialise();
    test::settle(500);
    test::shoot(controller->frameGeometry(), folder + "/vcr-controller.png");

    const int scale = 3, gap = 16;
    const QSize size = controller->size() * scale;
    QImage sheet(3 * size.width() + 2 * gap, size.height(), QImage::Format_RGB32);
    sheet.fill(QColor(90, 96, 104));
    QPainter painter(&sheet);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    auto place = [&](int slot) {
        test::settle(100);
        painter.drawImage(QRect(slot * (size.width() + gap), 0, size.width(), size.height()),
                          controller->grab().toImage());
    };
    place(0);
    controller->wiring().sendCommand(CPowerVcrControllerDlg::kModeButton);  // cable 27
    mouse(controller, QEvent::MouseButtonPress, QPoint(120, 15), Qt::LeftButton, Qt::LeftButton);
    place(1);
    mouse(controller, QEvent::MouseButtonRelease, QPoint(5, 80), Qt::LeftButton, Qt::NoButton);  // let go beside it
    controller->wiring().sendCommand(CPowerVcrControllerDlg::kModeButton);  // the composite input
    place(2);
    painter.end();
    const QString file = folder + "/vcr-controller-states.png";
    std::printf("%s: %s\n", qPrintable(file), sheet.save(file) ? "written" : "NOT written");

    controller->closeController();
    test::settle(50);
    windows.destroyWindow(recorder);
    return 0;
}
