#pragma once
// The viewer window on the simulated card (station "WKEL 7" on channel 7), an in-memory sound
// card, virtual time and message boxes answered without showing: a host that counts closes,
// opening and closing the real window.
#include "viewer/window/CTvViewerDlg.h"

#include "capture/CaptureWindowWidget.h"
#include "cardsim/BrooktreeCaptureDriver.h"
#include "cardsim/CardTestHook.h"
#include "framework/MessageBoxes.h"
#include "framework/VirtualTimerScheduler.h"
#include "platform/Clock.h"
#include "platform/Paths.h"
#include "settings/ViewerSettings.h"
#include "tests/mixer/MixerRig.h"
#include "viewer/window/ViewerHost.h"

#include <QApplication>
#include <QPointer>
#include <QTest>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kelto::test {

class CountingViewerHost final : public ViewerHost {
public:
    explicit CountingViewerHost(int& closed) : closed_(closed) {}
    platform::WindowSystem& windowSystem() override { return platform::WindowSystem::instance(); }
    void closeSiblingPrograms() override {}
    std::unique_ptr<framework::RemoteReceiver> createRemoteReceivingWindow() override {
        return std::make_unique<framework::RemoteReceiver>(
            "KELTOTV", [](const platform::WindowMessage&) { return std::optional<std::int64_t>(); });
    }
    void showAboutBox(QWidget*) override {}
    void openReservationList() override {}
    void viewerClosed(ViewerWindow*) override { ++closed_; }
    void recordingEnded() override {}

private:
    int& closed_;
};

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
        mixerRig.buildSoundCard();
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
        viewer = CTvViewerDlg::open(std::make_unique<CountingViewerHost>(closedCount));
        QApplication::processEvents();
        return viewer;
    }
    void close() {
        if (!viewer) return;
        viewer->close();
        QApplication::processEvents();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    // The saved state: the broadcast band on `channel` with 6, 7, 9, 11, 12 registered, the
    // window at `window`.
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
    capture::CaptureWindowWidget* picture() const { return viewer->findChild<capture::CaptureWindowWidget*>(); }
    // Lets the card's clock run frame by frame until the picture holds a frame.
    bool waitForFrame() {
        auto* live = picture();
        return live && QTest::qWaitFor([&] {
                   scheduler.advanceMs(34);
                   return !live->currentPicture().isNull();
               }, 5000);
    }

    mixer::test::MixerRig mixerRig;
    platform::VirtualClock clock{std::chrono::system_clock::now()};
    framework::VirtualTimerScheduler scheduler{clock};
    SettingsStore store;
    QPointer<CTvViewerDlg> viewer;
    int closedCount = 0;
    std::vector<framework::MessageBoxRequest> boxes;
};

}  // namespace kelto::test
