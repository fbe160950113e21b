#pragma once
// The viewer window on the simulated card for tests that drive it with mouse events, keys and
// window messages: a host that counts what the viewer asks of the program, virtual time, answered
// message boxes (answered and recorded), an in-memory sound card, context menus that are built but
// not popped up, and helpers to wait for the live picture and to list a capture folder. The card
// shows station "WKEL 7" on channel 7.
#include "viewer/window/CTvViewerDlg.h"

#include "capture/CaptureWindowWidget.h"
#include "cardsim/BrooktreeCaptureDriver.h"
#include "cardsim/CardTestHook.h"
#include "framework/MessageBoxes.h"
#include "framework/VirtualTimerScheduler.h"
#include "platform/Clock.h"
#include "platform/Paths.h"
#include "resources/StringTable.h"
#include "settings/ViewerSettings.h"
#include "tests/mixer/MixerRig.h"
#include "tests/viewer/window/RigHost.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPointer>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace kelto::test {

class ViewerWindowRig : public ::testing::Test {
protected:
    void SetUp() override {
        platform::prepareInstallRoot();
        platform::setClock(&clock);
        framework::setTimerScheduler(&scheduler);
        framework::setMessageBoxAnswerer([this](const framework::MessageBoxRequest& r) {
            boxes.push_back(r);
            return framework::IDOK;
        });
        CTvViewerDlg::setContextMenuExecution(false);
        if (withSoundCard) mixerRig.buildSoundCard();
        cardsim::test::buildCard({}, {cardsim::test::tvStation(175'250'000, "WKEL 7")});
        cardsim::registerCaptureDriver();
        store.registry().deleteKey(platform::RegHive::CurrentUser, "Software\\UserVxdKeltoTV");
        writeFactoryDefaults(store, platform::programPath().string());
        store.writeInt("user", "CountryCode", 1);
    }
    void TearDown() override {
        if (viewer) close();
        cardsim::test::clearFaults();
        drivers::CaptureDriverList::clear();
        framework::setMessageBoxAnswerer(nullptr);
        framework::setTimerScheduler(nullptr);
        platform::setClock(nullptr);
    }

    CTvViewerDlg* open() {
        viewer = CTvViewerDlg::open(std::make_unique<RigHost>(counts));
        QApplication::processEvents();
        return viewer;
    }
    // Closes the viewer and lets it be destroyed.
    void close() {
        if (!viewer) return;
        viewer->close();
        QApplication::processEvents();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    // The saved state on the broadcast band with channels 6, 7, 9, 11, 12 registered, the window
    // at `window`.
    void saveState(int channel, QRect window) {
        store.writeInt("user", "s_flag", 1);
        store.writeInt("user", "s_vmode", 0);
        store.writeInt("user", "s_channel", channel);
        store.writeInt("user", "s_windowx", window.x());
        store.writeInt("user", "s_windowy", window.y());
        store.writeInt("user", "s_windowwidth", window.width());
        store.writeInt("user", "s_windowheight", window.height());
        int n = 0;
        for (int c : {6, 7, 9, 11, 12}) store.writeInt("tvchannel", "s_ch" + std::to_string(++n), c);
        store.writeInt("tvchannel", "tv_count", n);
    }
    // Runs what was posted to the viewer's window (no pump runs in tests) until `done` holds;
    // false when it did not within ten seconds.
    template <typename Done>
    static bool deliverPostedUntil(Done done) {
        return QTest::qWaitFor([&] {
            platform::WindowSystem::instance().dispatchPending();
            QApplication::processEvents();
            QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            return done();
        }, 10000);  // a bound, not a wait: a worker under a sanitizer on a busy machine is slow
    }
    capture::CaptureWindowWidget* picture() const { return viewer->findChild<capture::CaptureWindowWidget*>(); }
    // Lets the card's clock run frame by frame until the picture holds a frame.
    bool waitForFrame() {
        auto* live = picture();
        return live && QTest::qWaitFor([&] {
                   scheduler.advanceMs(34);
                   return !live->currentPicture().isNull();
               }, 5000);
    }
    bool waitForPicture() { return waitForFrame(); }
    // Still pictures go to `folder` under the stem "Kelto".
    void stillsInto(const std::filesystem::path& folder) {
        store.writeInt("user", "s_flag", 1);
        store.writeString("user", "bmpdirectory", folder.string());
        store.writeString("user", "bmpfilename", "Kelto");
    }
    // The names of the files in a folder, sorted.
    static std::vector<std::string> fileNames(const std::filesystem::path& folder) {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    // A mouse event at `at` in `target`'s coordinates, with the global position the screen has.
    static void mouse(QWidget* target, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
        QMouseEvent event(type, QPointF(at), QPointF(target->mapToGlobal(at)), button, held, Qt::NoModifier);
        QApplication::sendEvent(target, &event);
    }
    // The same with the global position given (a drag: the window moves under the pointer).
    static void mouseAt(QWidget* target, QEvent::Type type, QPoint global, Qt::MouseButton button,
                        Qt::MouseButtons held) {
        QMouseEvent event(type, QPointF(target->mapFromGlobal(global)), QPointF(global), button, held,
                          Qt::NoModifier);
        QApplication::sendEvent(target, &event);
    }

    mixer::test::MixerRig mixerRig;
    platform::VirtualClock clock{std::chrono::system_clock::now()};
    framework::VirtualTimerScheduler scheduler{clock};
    SettingsStore store;
    QPointer<CTvViewerDlg> viewer;
    RigHost::Counts counts;
    int& closedCount = counts.closed;
    // Cleared by a fixture before SetUp to open the viewer without a mixer.
    bool withSoundCard = true;
    std::vector<framework::MessageBoxRequest> boxes;
};

}  // namespace kelto::test
