#pragma once
// The viewer window on the simulated card for tests that drive it by key, click and message:
// virtual time, message boxes answered and recorded, an in-memory sound card, a host that counts
// the closes, and helpers to wait for the live picture and to list a capture folder.
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
#include "viewer/window/LaterWindows.h"
#include "viewer/window/ViewerHost.h"

#include <QApplication>
#include <QPointer>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace kelto::test {

class RigHost final : public ViewerHost {
public:
    explicit RigHost(int& closed) : closed_(closed) {}
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
        if (withSoundCard) mixerRig.buildSoundCard();
        cardsim::test::buildCard({}, {cardsim::test::tvStation(175'250'000, "WKEL 7")});
        cardsim::registerCaptureDriver();
        store.registry().deleteKey(platform::RegHive::CurrentUser, "Software\\UserVxdKeltoTV");
        writeFactoryDefaults(store, platform::programPath().string());
        store.writeInt("user", "CountryCode", 1);
        viewer::clearLaterWindowRequests();
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
        viewer = CTvViewerDlg::open(std::make_unique<RigHost>(closedCount));
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
    // The saved state on the broadcast band, with channels 6, 7, 9, 11, 12 registered.
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
    // Still pictures go to `folder` under the stem "Kelto".
    void stillsInto(const std::filesystem::path& folder) {
        store.writeInt("user", "s_flag", 1);
        store.writeString("user", "bmpdirectory", folder.string());
        store.writeString("user", "bmpfilename", "Kelto");
    }
    // Advances the card frame by frame until the window shows a live picture.
    bool waitForPicture() {
        auto* picture = viewer->findChild<capture::CaptureWindowWidget*>();
        if (!picture) return false;
        return QTest::qWaitFor([&] {
            scheduler.advanceMs(34);
            return !picture->currentPicture().isNull();
        }, 5000);
    }
    // The names of the files in a folder, sorted.
    static std::vector<std::string> fileNames(const std::filesystem::path& folder) {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    // Cleared by a fixture before SetUp to open the viewer without a mixer.
    bool withSoundCard = true;
    mixer::test::MixerRig mixerRig;
    platform::VirtualClock clock{std::chrono::system_clock::now()};
    framework::VirtualTimerScheduler scheduler{clock};
    SettingsStore store;
    QPointer<CTvViewerDlg> viewer;
    int closedCount = 0;
    std::vector<framework::MessageBoxRequest> boxes;
};

}  // namespace kelto::test
