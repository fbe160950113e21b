// The viewer's start and close with the simulated card: saved channels and fine tuning reaching
// the tuner, libraries that do not load, the display check, a country without a channel plan, and
// the values the close writes back.
#include "app/CTrayAgentDlg.h"
#include "viewer/ViewerOpening.h"
#include "settings/ViewerSettings.h"
#include "app/TvViewer.h"
#include "viewer/window/CTvViewerDlg.h"
#include "cardsim/BrooktreeCaptureDriver.h"
#include "cardsim/CardTestHook.h"
#include "channels/FreqFile.h"
#include "framework/MessageBoxes.h"
#include "framework/VirtualTimerScheduler.h"
#include "platform/Clock.h"
#include "platform/DynamicLibrary.h"
#include "platform/Paths.h"
#include "platform/SystemInfo.h"
#include "resources/StringTable.h"
#include "tests/app/ShellTestSupport.h"
#include "tests/mixer/MixerRig.h"

#include <QTest>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <optional>

namespace kelto {
namespace {

using framework::MessageIcon;

class ViewerStartTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::prepareInstallRoot();
        platform::setClock(&clock);
        framework::setTimerScheduler(&scheduler);  // the agent's and the viewer's timers in virtual time
        framework::setMessageBoxAnswerer([this](const framework::MessageBoxRequest& r) {
            boxes.push_back(r);
            return framework::IDOK;
        });
        mixerRig.buildSoundCard();  // the viewer opens the mixer
        cardsim::test::buildCard({}, {cardsim::test::tvStation(175'250'000, "WKEL 7")});
        cardsim::registerCaptureDriver();
        // Each case starts from an empty store, also when the cases share one process.
        store.registry().deleteKey(platform::RegHive::CurrentUser, "Software\\UserVxdKeltoTV");
        writeFactoryDefaults(store, platform::programPath().string());  // as every start does
        store.writeInt("user", "CountryCode", 1);
        agent = std::make_unique<CTrayAgentDlg>(
            [](CTrayAgentDlg& a) -> ViewerWindow* { return openTvViewer(a); }, system);
        ASSERT_TRUE(agent->initialise());
    }
    void TearDown() override {
        if (auto* viewer = currentViewer()) close(dynamic_cast<CTvViewerDlg*>(viewer));
        agent.reset();
        test::pump(system);
        setCurrentViewer(nullptr);
        cardsim::test::clearFaults();
        drivers::CaptureDriverList::clear();
        platform::clearHiddenExports();
        framework::setMessageBoxAnswerer(nullptr);
        framework::setTimerScheduler(nullptr);
        platform::setClock(nullptr);
    }

    CTvViewerDlg* open() {
        agent->openViewer();
        return dynamic_cast<CTvViewerDlg*>(currentViewer());
    }
    void close(CTvViewerDlg* viewer) {
        if (!viewer) return;
        system.sendMessage(viewer->windowHandle(), platform::WM_CLOSE, 0, 0);
        test::pump(system);
    }
    // A saved user state on the broadcast band with the registered channels given.
    void saveState(int channel, std::initializer_list<int> registered) {
        store.writeInt("user", "s_flag", 1);
        store.writeInt("user", "s_vmode", 0);
        store.writeInt("user", "s_channel", channel);
        int n = 0;
        for (int c : registered) store.writeInt("tvchannel", "s_ch" + std::to_string(++n), c);
        store.writeInt("tvchannel", "tv_count", n);
    }
    // The dividers written to the tuner (the first of each pair of two-byte writes to it).
    static std::vector<int> dividersOnTheBus() {
        std::vector<int> dividers;
        const auto log = cardsim::test::i2cLog();
        for (std::size_t i = 0; i + 1 < log.size(); ++i) {
            const auto& t = log[i];
            if (t.read || t.address != 0xC0 || t.bytes.size() != 2 || (t.bytes[0] & 0x80)) continue;
            dividers.push_back(t.bytes[0] << 8 | t.bytes[1]);
        }
        return dividers;
    }
    std::vector<framework::MessageBoxRequest> boxesWith(int stringId) const {
        std::vector<framework::MessageBoxRequest> found;
        for (const auto& b : boxes)
            if (b.text == LoadMessage(stringId)) found.push_back(b);
        return found;
    }

    mixer::test::MixerRig mixerRig;
    platform::VirtualClock clock{std::chrono::system_clock::now()};
    framework::VirtualTimerScheduler scheduler{clock};
    platform::WindowSystem& system = platform::WindowSystem::instance();
    SettingsStore store;
    std::unique_ptr<CTrayAgentDlg> agent;
    std::vector<framework::MessageBoxRequest> boxes;
};

// US channel 7: (45.75 + 175.25) x 16 = 3536; the saved fine tuning +3 makes it 3539.
TEST_F(ViewerStartTest, SavedFineTuningReachesTheTuner) {
    saveState(7, {6, 7, 9});
    store.writeInt("tvfinetune", "s_ch7", 3);
    store.writeInt("tvfinetune", "s_ch6", -5);  // another channel's tuning changes nothing here
    cardsim::test::clearI2cLog();
    auto* viewer = open();
    ASSERT_NE(viewer, nullptr);
    ASSERT_EQ(viewer->currentChannel(), 7);
    const auto dividers = dividersOnTheBus();
    ASSERT_FALSE(dividers.empty());
    EXPECT_EQ(dividers.back(), 3539);

    // The close saves the fine tuning the viewer tuned with.
    close(viewer);
    EXPECT_EQ(store.readInt("tvfinetune", "s_ch7", 0), 3);
    EXPECT_EQ(store.readInt("tvfinetune", "s_ch6", 0), -5);
    EXPECT_EQ(store.readInt("tvchannel", "tv_count", 0), 3);
}

TEST_F(ViewerStartTest, ALibraryThatDoesNotLoadIsReportedAndTheViewerStillOpens) {
    // Without the video driver library neither it nor the hardware library (which needs it) loads.
    cardsim::test::setLibraryLoadFails("BtVid_32.dll");
    auto* viewer = open();
    ASSERT_NE(viewer, nullptr);
    const auto reported = boxesWith(186);
    ASSERT_EQ(reported.size(), 2u);
    EXPECT_EQ(reported[0].icon, MessageIcon::Stop);
    EXPECT_EQ(reported[0].caption, LoadMessage(157));
    EXPECT_EQ(boxes.size(), 2u);  // nothing else: the start went on
    EXPECT_EQ(viewer->currentChannel(), 6);
    close(viewer);
    EXPECT_EQ(store.readInt("user", "s_flag", 0), 1);  // an ordinary close
}

TEST_F(ViewerStartTest, AMissingEntryPointIsReportedAndTheRestWorks) {
    platform::hideExport("RURORIZI.DLL", "GetRadioParam");
    cardsim::test::clearI2cLog();
    auto* viewer = open();
    ASSERT_NE(viewer, nullptr);
    const auto reported = boxesWith(187);
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_EQ(reported[0].icon, MessageIcon::Stop);
    EXPECT_EQ(boxes.size(), 1u);
    // The tuner is programmed through the video driver library, which loaded.
    ASSERT_FALSE(dividersOnTheBus().empty());
    EXPECT_EQ(dividersOnTheBus().back(), (45750 + 83250) * 16 / 1000);  // factory channel 6
}

// Country code 86: the saved channel is checked against the registered list and the limits of
// the tables the viewer tunes with.
TEST_F(ViewerStartTest, Country86TunesTheFirstRegisteredChannelForAnUnregisteredOne) {
    store.writeInt("user", "CountryCode", 86);
    saveState(99, {6, 7, 9, 11, 12});
    auto* viewer = open();
    ASSERT_NE(viewer, nullptr);
    EXPECT_EQ(viewer->currentChannel(), 6);
    close(viewer);
    EXPECT_EQ(store.readInt("user", "s_channel", 0), 6);
}

TEST_F(ViewerStartTest, TheVolumeLineSurvivesOpeningAndClosing) {
    saveState(7, {7});
    store.writeInt("user", "s_volume", 3);
    close(open());
    EXPECT_EQ(store.readInt("user", "s_flag", 0), 1);
    EXPECT_EQ(store.readInt("user", "s_volume", 0), 3);
}

TEST_F(ViewerStartTest, ACountryWithoutAChannelPlanIsToldOnce) {
    // 888 is no country's dialling code: the file can never hold a plan for it.
    store.writeInt("user", "CountryCode", 888);
    auto* viewer = open();
    ASSERT_NE(viewer, nullptr);  // the viewer opens anyway
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].text.find("888 (CountryCode)"), std::string::npos) << boxes[0].text;
    EXPECT_NE(boxes[0].text.find("LC_TELEPHONE"), std::string::npos);
    EXPECT_NE(boxes[0].text.find(platform::Registry::instance().hivePath(platform::RegHive::CurrentUser).string()),
              std::string::npos);
    EXPECT_EQ(boxes[0].icon, MessageIcon::Information);
    close(viewer);
    EXPECT_EQ(store.readInt("user", kCountryPlanNoticeValue, 0), 888);

    close(open());
    EXPECT_EQ(boxes.size(), 1u);  // told already

    store.writeInt("user", "CountryCode", 82);  // a country with a plan: nothing to tell
    close(open());
    EXPECT_EQ(boxes.size(), 1u);

    // A table file of the user's has channels of its own: nothing to tell either.
    store.writeInt("user", "CountryCode", 999);
    FrequencyTables mine;
    mine.broadcast = {5, 5, {}};
    mine.broadcast.frequencyHz[5] = 77250000;
    mine.cable = {1, 1, {}};
    mine.cable.frequencyHz[1] = 73250000;
    std::filesystem::create_directories(platform::programFolder());
    ASSERT_TRUE(FreqFile::write(FreqFile::pathForName("mine"), FreqFile::contentOf(mine)));
    store.writeString("user", "frequencyname", "mine");
    close(open());
    EXPECT_EQ(boxes.size(), 1u);
    store.writeString("user", "frequencyname", "Default");

    // Another country without a plan is told again, named by the locale's territory when the
    // code comes from the locale.
    store.registry().deleteValue(platform::RegHive::CurrentUser, store.sectionPath("user"), "CountryCode");
    const char* lcAll = std::getenv("LC_ALL");
    const std::optional<std::string> savedLcAll = lcAll ? std::optional<std::string>(lcAll) : std::nullopt;
    ::setenv("LC_ALL", "en_AQ.UTF-8", 1);
    platform::setUserLocaleCountryOverride(std::string("672"));
    close(open());
    platform::clearUserLocaleCountryOverride();
    if (savedLcAll) ::setenv("LC_ALL", savedLcAll->c_str(), 1);
    else ::unsetenv("LC_ALL");
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_NE(boxes[1].text.find("672 (AQ)"), std::string::npos) << boxes[1].text;
}

// The on-screen display hides 2000 ms after the last text, on the viewer's timer 24; the arrow
// keys reach the viewer's table as accelerators, the digits its channel entry.
TEST_F(ViewerStartTest, KeysStepChannelsAndTheDisplayHidesTwoSecondsAfterTheLastChange) {
    saveState(7, {6, 7, 9});
    auto* viewer = open();
    ASSERT_NE(viewer, nullptr);
    // The video mode applied during the opening shows nothing: the display is made after it.
    EXPECT_EQ(viewer->onScreenText(), "");
    QTest::keyClick(viewer, Qt::Key_Left);  // volume 15
    scheduler.advanceMs(1500);
    QTest::keyClick(viewer, Qt::Key_Up);  // the next registered channel, and the timer starts again
    EXPECT_EQ(viewer->currentChannel(), 9);
    scheduler.advanceMs(1999);
    EXPECT_EQ(viewer->onScreenText(), "CH   9");
    scheduler.advanceMs(1);
    EXPECT_EQ(viewer->onScreenText(), "");

    // Digits: two end an entry at once in TV mode, one waits a second for the next.
    QTest::keyClick(viewer, Qt::Key_1);
    QTest::keyClick(viewer, Qt::Key_0);
    EXPECT_EQ(viewer->currentChannel(), 10);
    QTest::keyClick(viewer, Qt::Key_8);
    EXPECT_EQ(viewer->currentChannel(), 10);
    scheduler.advanceMs(1000);
    EXPECT_EQ(viewer->currentChannel(), 8);
    QTest::keyClick(viewer, Qt::Key_Down);  // 8 is not registered: the entry before 9, the next above
    EXPECT_EQ(viewer->currentChannel(), 7);
    QTest::keyClick(viewer, Qt::Key_Down);
    EXPECT_EQ(viewer->onScreenText(), "CH   6");
}

// The viewer's receiving window "KELTOTV" registers with the remote-controller program when the
// viewer opens (0x7E8, the window and 0x10000) and withdraws when it closes (0).
TEST_F(ViewerStartTest, TheViewersReceivingWindowRegistersWithTheRemoteController) {
    test::RecordingWindow remote(system, "Norvane Remocon Controller", "");
    auto* viewer = open();
    ASSERT_NE(viewer, nullptr);
    const auto receiving = system.findWindow("KELTOTV", "KELTOTV");
    ASSERT_TRUE(receiving);
    ASSERT_EQ(remote.received.size(), 1u);
    EXPECT_EQ(remote.received[0].message, 0x7E8u);
    EXPECT_EQ(remote.received[0].wParam, receiving.value);
    EXPECT_EQ(remote.received[0].lParam, 0x10000);
    close(viewer);
    EXPECT_FALSE(system.findWindow("KELTOTV", "KELTOTV"));
    ASSERT_EQ(remote.received.size(), 2u);
    EXPECT_EQ(remote.received[1].message, 0x7E8u);
    EXPECT_EQ(remote.received[1].wParam, receiving.value);
    EXPECT_EQ(remote.received[1].lParam, 0);

    // A close request to the receiving window itself withdraws it at once (the controller must not
    // keep a window that is gone) and closes the viewer, which withdraws nothing a second time.
    viewer = open();
    ASSERT_NE(viewer, nullptr);
    const auto second = system.findWindow("KELTOTV", "KELTOTV");
    ASSERT_EQ(remote.received.size(), 3u);
    system.sendMessage(second, platform::WM_CLOSE, 0, 0);
    EXPECT_FALSE(system.findWindow("KELTOTV", "KELTOTV"));
    ASSERT_EQ(remote.received.size(), 4u);
    EXPECT_EQ(remote.received[3].wParam, second.value);
    EXPECT_EQ(remote.received[3].lParam, 0);
    test::pump(system);
    EXPECT_EQ(currentViewer(), nullptr);
    EXPECT_EQ(remote.received.size(), 4u);
}

// Check 4 limits only a capture driver that writes its overlay into video memory; the simulated
// card's driver hands the picture to the program, so today's screens are accepted.
TEST_F(ViewerStartTest, TheDisplayCheckAppliesOnlyToAVideoMemoryOverlay) {
    const auto cardDriver = drivers::CaptureDriverList::describe(0);
    ASSERT_TRUE(cardDriver);
    EXPECT_FALSE(cardDriver->overlayInVideoMemory);
    EXPECT_EQ(checkDisplay(*cardDriver, {32, 1920, 1080}), std::nullopt);
    EXPECT_EQ(checkDisplay(*cardDriver, {32, 3840, 2160}), std::nullopt);

    drivers::CaptureDriverDescription overlay{"overlay driver", "1", true};
    EXPECT_EQ(checkDisplay(overlay, {32, 1920, 1080}), OpeningRefusal::Display);
    EXPECT_EQ(checkDisplay(overlay, {32, 1280, 960}), OpeningRefusal::Display);
    EXPECT_EQ(checkDisplay(overlay, {24, 1280, 960}), std::nullopt);
    EXPECT_EQ(checkDisplay(overlay, {32, 1600, 900}), std::nullopt);
    EXPECT_EQ(refusalMessage(OpeningRefusal::Display).stringId, 141);
    EXPECT_EQ(refusalMessage(OpeningRefusal::Display).icon, MessageIcon::Stop);

    // The viewer opens on this machine's screen with the card's driver.
    auto* viewer = open();
    ASSERT_NE(viewer, nullptr);
    EXPECT_TRUE(boxesWith(141).empty());
}

}  // namespace
}  // namespace kelto
