#pragma once
// For the programs that draw the viewer's screenshots on a real display (under Xvfb): a host for
// the viewer that asks nothing of the rest of the program, a wait that keeps the event loop
// turning, and a picture of a part of the screen written to a PNG file.
#include "framework/RemoteReceiver.h"
#include "viewer/window/ViewerHost.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QScreen>

#include <cstdio>
#include <memory>

namespace kelto::test {

class PictureHost final : public ViewerHost {
public:
    platform::WindowSystem& windowSystem() override { return platform::WindowSystem::instance(); }
    void closeSiblingPrograms() override {}
    std::unique_ptr<framework::RemoteReceiver> createRemoteReceivingWindow() override {
        return std::make_unique<framework::RemoteReceiver>(
            "KELTOTV", [](const platform::WindowMessage&) { return std::optional<std::int64_t>(); });
    }
    void showAboutBox(QWidget*) override {}
    void openReservationList() override {}
    void viewerClosed(ViewerWindow*) override {}
    void recordingEnded() override {}
};

// Runs the event loop for `ms` milliseconds of real time.
inline void settle(int ms) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 20);
}

// Writes what the screen shows in `area` to `file`, saying so on standard output.
inline void shoot(const QRect& area, const QString& file) {
    const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0, area.x(), area.y(), area.width(), area.height());
    std::printf("%s: %s\n", qPrintable(file), shot.save(file) ? "written" : "NOT written");
}

}  // namespace kelto::test
