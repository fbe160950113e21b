#pragma once
// For the programs that draw the viewer's screenshots on a real display (under Xvfb): a host for
// the viewer that asks nothing of the rest of the program, a wait that keeps the event loop
// turning, a picture of a part of the screen written to a PNG file, and the saved state the
// pictured viewer opens with.
#include "framework/RemoteReceiver.h"
#include "platform/Paths.h"
#include "settings/SettingsStore.h"
#include "settings/ViewerSettings.h"
#include "viewer/window/ViewerHost.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QRect>
#include <QScreen>

#include <cstdio>
#include <initializer_list>
#include <memory>
#include <string>

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

// The state of a viewer that was used before: the factory values, the plan of country 1,
// `channel` on the broadcast band with `registered` as its list, and (when given) the window's
// rectangle.
inline void saveViewerState(SettingsStore& store, int channel, std::initializer_list<int> registered,
                            const QRect& window = {}) {
    writeFactoryDefaults(store, platform::programPath().string());
    store.writeInt("user", "CountryCode", 1);
    store.writeInt("user", "s_flag", 1);
    store.writeInt("user", "s_channel", channel);
    if (!window.isNull()) {
        store.writeInt("user", "s_windowx", window.x());
        store.writeInt("user", "s_windowy", window.y());
        store.writeInt("user", "s_windowwidth", window.width());
        store.writeInt("user", "s_windowheight", window.height());
    }
    int n = 0;
    for (int c : registered) store.writeInt("tvchannel", "s_ch" + std::to_string(++n), c);
    store.writeInt("tvchannel", "tv_count", n);
}

}  // namespace kelto::test
