// The recorder controller on the real hardware-control library over the simulated card: what it
// tunes, when it steps, what it saves, its window, the tray agent that owns it, and the viewer,
// which closes it when it opens or closes. Also the remote controller's buttons through the
// agent's receiving window, with the viewer open and with only the recorder running.
#include "app/AppMessages.h"
#include "app/CTrayAgentDlg.h"
#include "app/TvViewer.h"
#include "links/CPowerVcrControllerDlg.h"
#include "links/LinkMessages.h"
#include "links/PowerVcrController.h"
#include "viewer/RemoteButtons.h"
#include "tests/app/ShellTestSupport.h"
#include "tests/support/TestRoot.h"
#include "tests/viewer/window/ViewerWindowRig.h"

#include <QKeyEvent>
#include <QPointer>

namespace kelto {
namespace {

using platform::WindowSystem;
using test::RecordingWindow;

// Broadcast channels (United States plan, intermediate frequency 45.75 MHz): divider =
// (45.75 + carrier MHz) x 16.
constexpr int kDivider6 = 2064;   // 83.25 MHz
constexpr int kDivider7 = 3536;   // 175.25 MHz
constexpr int kDivider9 = 3728;   // 187.25 MHz
constexpr int kDivider12 = 4016;  // 205.25 MHz

class PowerVcrTest : public test::ViewerWindowRig {
protected:
    void SetUp() override {
        ViewerWindowRig::SetUp();
        cardsim::test::buildCard({}, {cardsim::test::tvStation(175'250'000, "WKEL 7"),
                                      cardsim::test::tvStation(187'250'000, "WKEL 9")});
    }
    void TearDown() override {
        agent_.reset();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        setCurrentViewer(nullptr);
        ViewerWindowRig::TearDown();
    }

    // The saved state: broadcast channels 6, 7, 9, 11, 12 registered, cable 3 and 7.
    void saveChannels(int tvChannel, int catvChannel, VideoMode mode) {
        saveState(tvChannel, QRect(40, 40, 484, 424));
        store.writeInt("user", "s_ctchannel", catvChannel);
        store.writeInt("user", "s_vmode", int(mode));
        store.writeInt("catvchannel", "s_ch1", 3);
        store.writeInt("catvchannel", "s_ch2", 7);
        store.writeInt("catvchannel", "catv_count", 2);
    }
    // The recorder's main window (the controller steps only while it exists).
    std::unique_ptr<RecordingWindow> startRecorder() {
        return std::make_unique<RecordingWindow>(system, kPowerVcrClass, kPowerVcrTitle);
    }

    // The dividers written to the tuner since the log was last cleared.
    static std::vector<int> dividersOnTheBus() {
        std::vector<int> dividers;
        for (const auto& t : cardsim::test::i2cLog()) {
            if (t.read || t.address != 0xC0 || t.bytes.size() != 2 || (t.bytes[0] & 0x80)) continue;
            dividers.push_back(t.bytes[0] << 8 | t.bytes[1]);
        }
        return dividers;
    }
    // The station the card passes on once the tuner has settled.
    std::string stationOnTheCard() {
        scheduler.advanceMs(50);
        const auto received = cardsim::lockCard()->receivedStation();
        return received && received->station ? received->station->name : std::string();
    }

    CTrayAgentDlg& agent() {
        if (!agent_) {
            agent_ = std::make_unique<CTrayAgentDlg>([](CTrayAgentDlg& a) -> ViewerWindow* { return openTvViewer(a); },
                                                     system, folder_.path() / "reserve.rsd");
            EXPECT_TRUE(agent_->initialise());
        }
        return *agent_;
    }
    CTvViewerDlg* agentsViewer() { return dynamic_cast<CTvViewerDlg*>(currentViewer()); }
    void pump() {
        test::pump(system);
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    WindowSystem& system = WindowSystem::instance();
    test::TemporaryFolder folder_;
    std::unique_ptr<CTrayAgentDlg> agent_;
};

// --- the controller's workings

TEST_F(PowerVcrTest, OpeningTunesTheSavedChannelAndTheCardShowsItsStation) {
    saveChannels(7, 3, VideoMode::TV);
    PowerVcrController controller(store, system, nullptr);
    cardsim::test::clearI2cLog();
    ASSERT_TRUE(controller.open());
    EXPECT_EQ(controller.channel(), 7);
    EXPECT_EQ(dividersOnTheBus(), std::vector<int>{kDivider7});
    EXPECT_EQ(stationOnTheCard(), "WKEL 7");
    EXPECT_EQ(cardsim::lockCard()->audioSource(), cardsim::AudioSource::Tuner);
    controller.close();
}

TEST_F(PowerVcrTest, NoFineTuningReachesTheTuner) {
    saveChannels(7, 3, VideoMode::TV);
    store.writeInt("tvfinetune", "s_ch7", 5);
    PowerVcrController controller(store, system, nullptr);
    cardsim::test::clearI2cLog();
    ASSERT_TRUE(controller.open());
    EXPECT_EQ(dividersOnTheBus(), std::vector<int>{kDivider7});
    EXPECT_EQ(stationOnTheCard(), "WKEL 7");
}

TEST_F(PowerVcrTest, AFirstStartUsesTheFactoryListsAndChannel) {
    store.writeInt("user", "s_flag", 0);
    store.writeInt("user", "s_channel", 9);  // not read while nothing was saved
    PowerVcrController controller(store, system, nullptr);
    ASSERT_TRUE(controller.open());
    EXPECT_EQ(controller.channel(), 6);
    auto recorder = startRecorder();
    cardsim::test::clearI2cLog();
    EXPECT_TRUE(controller.previous());  // factory list 6, 7, 9, 11, 12: from the first to the last
    EXPECT_EQ(controller.channel(), 12);
    EXPECT_EQ(dividersOnTheBus(), std::vector<int>{kDivider12});
}

TEST_F(PowerVcrTest, StepsWrapAtBothEndsOfTheRegisteredList) {
    saveChannels(12, 3, VideoMode::TV);
    PowerVcrController controller(store, system, nullptr);
    ASSERT_TRUE(controller.open());
    auto recorder = startRecorder();
    cardsim::test::clearI2cLog();
    EXPECT_TRUE(controller.next());  // the last registered channel: on to the first
    EXPECT_EQ(controller.channel(), 6);
    EXPECT_TRUE(controller.previous());  // the first: back to the last
    EXPECT_EQ(controller.channel(), 12);
    EXPECT_EQ(dividersOnTheBus(), (std::vector<int>{kDivider6, kDivider12}));
    EXPECT_TRUE(controller.previous());
    EXPECT_TRUE(controller.previous());
    EXPECT_TRUE(controller.previous());
    EXPECT_EQ(controller.channel(), 7);
    EXPECT_TRUE(controller.next());
    EXPECT_EQ(controller.channel(), 9);
    EXPECT_EQ(stationOnTheCard(), "WKEL 9");
    EXPECT_EQ(controller.tvChannel(), 9);
}

TEST_F(PowerVcrTest, AChannelOutsideTheListStepsFromTheFirstEntry) {
    saveChannels(8, 3, VideoMode::TV);
    PowerVcrController controller(store, system, nullptr);
    ASSERT_TRUE(controller.open());
    auto recorder = startRecorder();
    EXPECT_TRUE(controller.next());
    EXPECT_EQ(controller.channel(), 7);
}

TEST_F(PowerVcrTest, WithoutTheRecordersWindowNothingChanges) {
    saveChannels(7, 3, VideoMode::TV);
    PowerVcrController controller(store, system, nullptr);
    ASSERT_TRUE(controller.open());
    // Its key window, or a window of its class under another title, is not the recorder running.
    RecordingWindow keyTarget(system, kPowerVcrKeyClass, "");
    RecordingWindow other(system, kPowerVcrClass, "CyberLink PowerVCR 2");
    cardsim::test::clearI2cLog();
    EXPECT_FALSE(controller.recorderRunning());
    EXPECT_FALSE(controller.next());
    EXPECT_FALSE(controller.previous());
    EXPECT_FALSE(controller.nextMode());
    EXPECT_EQ(controller.channel(), 7);
    EXPECT_EQ(controller.mode(), VideoMode::TV);
    EXPECT_TRUE(cardsim::test::i2cLog().empty());
}

TEST_F(PowerVcrTest, TheModeKeyGoesThroughTheBandsAndVideoAndBackToTv) {
    saveChannels(7, 7, VideoMode::TV);
    PowerVcrController controller(store, system, nullptr);
    ASSERT_TRUE(controller.open());
    auto recorder = startRecorder();
    cardsim::test::clearI2cLog();

    EXPECT_TRUE(controller.nextMode());  // cable: its own current channel, on the cable plan
    EXPECT_EQ(controller.mode(), VideoMode::CATV);
    EXPECT_EQ(controller.channel(), 7);
    EXPECT_EQ(stationOnTheCard(), "WKEL 7");  // cable 7 shares broadcast 7's carrier
    EXPECT_TRUE(controller.next());           // cable list 3, 7: on to 3
    EXPECT_EQ(controller.catvChannel(), 3);
    EXPECT_EQ(controller.tvChannel(), 7);

    cardsim::test::clearI2cLog();
    EXPECT_TRUE(controller.nextMode());  // the composite input with its line sound, no tuning
    EXPECT_EQ(controller.mode(), VideoMode::VIDEO);
    EXPECT_EQ(controller.channel(), std::nullopt);
    EXPECT_EQ(cardsim::lockCard()->audioSource(), cardsim::AudioSource::ExternalInput);
    EXPECT_FALSE(controller.next());  // steps do nothing on an input
    EXPECT_FALSE(controller.previous());
    EXPECT_TRUE(dividersOnTheBus().empty());

    EXPECT_TRUE(controller.nextMode());  // and back to TV, on its channel
    EXPECT_EQ(controller.mode(), VideoMode::TV);
    EXPECT_EQ(dividersOnTheBus(), std::vector<int>{kDivider7});
    EXPECT_EQ(cardsim::lockCard()->audioSource(), cardsim::AudioSource::Tuner);
}

TEST_F(PowerVcrTest, ASavedSvhsModeIsKeptAndTheModeKeyGoesOnToTv) {
    saveChannels(7, 3, VideoMode::SVHS);
    PowerVcrController controller(store, system, nullptr);
    cardsim::test::clearI2cLog();
    ASSERT_TRUE(controller.open());
    EXPECT_EQ(controller.mode(), VideoMode::SVHS);
    EXPECT_TRUE(dividersOnTheBus().empty());
    auto recorder = startRecorder();
    EXPECT_FALSE(controller.next());
    EXPECT_TRUE(controller.nextMode());
    EXPECT_EQ(controller.mode(), VideoMode::TV);
    EXPECT_EQ(controller.channel(), 7);
}

TEST_F(PowerVcrTest, ClosingSavesTheTwoChannelsAndTheMode) {
    saveChannels(7, 3, VideoMode::TV);
    store.writeInt("user", "s_flag", 1);
    PowerVcrController controller(store, system, nullptr);
    ASSERT_TRUE(controller.open());
    auto recorder = startRecorder();
    controller.next();       // TV 9
    controller.nextMode();   // CATV 3
    controller.previous();   // CATV 7
    controller.close();
    EXPECT_EQ(store.readInt("user", "s_channel", 0), 9);
    EXPECT_EQ(store.readInt("user", "s_ctchannel", 0), 7);
    EXPECT_EQ(store.readInt("user", "s_vmode", -1), 1);
    // Released: closing again does nothing, and nothing is tuned any more.
    store.writeInt("user", "s_channel", 11);
    controller.close();
    EXPECT_EQ(store.readInt("user", "s_channel", 0), 11);
    EXPECT_FALSE(controller.next());
}

// A tuner that did not start shows nothing and must not overwrite what the viewer saved with
// values it never read.
TEST_F(PowerVcrTest, ATunerThatDoesNotStartLeavesTheSavedStateAlone) {
    saveChannels(9, 3, VideoMode::CATV);
    cardsim::test::setLibraryLoadFails("BtVid_32.dll");
    struct Messages : HardwareMessageSink {
        void showHardwareMessage(int id, const std::string&, const std::string&) override { ids.push_back(id); }
        std::vector<int> ids;
    } messages;
    PowerVcrController controller(store, system, &messages);
    EXPECT_FALSE(controller.open());
    // The video driver library is missing, and with it the hardware library, which loads it too.
    ASSERT_FALSE(messages.ids.empty());
    for (int id : messages.ids) EXPECT_EQ(id, kDriversMissingStringId);
    EXPECT_EQ(controller.channel(), std::nullopt);
    auto recorder = startRecorder();
    EXPECT_FALSE(controller.nextMode());
    controller.close();
    EXPECT_EQ(store.readInt("user", "s_channel", 0), 9);
    EXPECT_EQ(store.readInt("user", "s_ctchannel", 0), 3);
    EXPECT_EQ(store.readInt("user", "s_vmode", 0), 1);
}

// --- the window and the tray agent

TEST_F(PowerVcrTest, TheTrayCommandOpensOneWindowOf150By90WhoseKeysAct) {
    saveChannels(7, 3, VideoMode::TV);
    auto recorder = startRecorder();
    agent().wiring().sendCommand(ID_EXECUTE_POWERVCR);
    QPointer<CPowerVcrControllerDlg> window = agent().powerVcrController();
    ASSERT_NE(window, nullptr);
    agent().wiring().sendCommand(ID_EXECUTE_POWERVCR);
    EXPECT_EQ(agent().powerVcrController(), window.data()) << "at most one";
    EXPECT_EQ(window->size(), QSize(150, 90));
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(system.findWindow("#32770", CPowerVcrControllerDlg::kTitle));
    PowerVcrController& controller = window->controller();

    // A click on a key's rectangle acts on the release inside it.
    mouse(window, QEvent::MouseButtonPress, QPoint(120, 15), Qt::LeftButton, Qt::LeftButton);
    EXPECT_TRUE(window->view().keys->drawnPressed(VcrKey::Next));
    EXPECT_EQ(controller.channel(), 7);
    mouse(window, QEvent::MouseButtonRelease, QPoint(134, 29), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(controller.channel(), 9);
    // Pressed on a key, released beside it: nothing; the key shows up again once left.
    mouse(window, QEvent::MouseButtonPress, QPoint(115, 40), Qt::LeftButton, Qt::LeftButton);
    mouse(window, QEvent::MouseMove, QPoint(115, 60), Qt::NoButton, Qt::LeftButton);
    EXPECT_FALSE(window->view().keys->drawnPressed(VcrKey::Previous));
    mouse(window, QEvent::MouseButtonRelease, QPoint(115, 60), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(controller.channel(), 9);
    // Up and Down, and the hidden buttons' commands.
    QTest::keyClick(window, Qt::Key_Down);
    EXPECT_EQ(controller.channel(), 7);
    QTest::keyClick(window, Qt::Key_Up);
    EXPECT_EQ(controller.channel(), 9);
    window->wiring().sendCommand(CPowerVcrControllerDlg::kModeButton);
    EXPECT_EQ(controller.mode(), VideoMode::CATV);
    mouse(window, QEvent::MouseButtonPress, QPoint(90, 50), Qt::LeftButton, Qt::LeftButton);
    mouse(window, QEvent::MouseButtonRelease, QPoint(90, 50), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(controller.mode(), VideoMode::VIDEO);

    // Escape closes it with its saving; the agent can open a new one.
    QTest::keyClick(window, Qt::Key_Escape);
    EXPECT_EQ(agent().powerVcrController(), nullptr);
    EXPECT_EQ(store.readInt("user", "s_vmode", -1), 2);
    EXPECT_EQ(store.readInt("user", "s_channel", 0), 9);
    pump();
    EXPECT_TRUE(window.isNull());
    EXPECT_FALSE(system.findWindow("#32770", CPowerVcrControllerDlg::kTitle));
    agent().wiring().sendCommand(ID_EXECUTE_POWERVCR);
    EXPECT_NE(agent().powerVcrController(), nullptr);
}

TEST_F(PowerVcrTest, APressBesideTheKeysDragsTheWindowAndActsOnNothing) {
    saveChannels(7, 3, VideoMode::TV);
    auto recorder = startRecorder();
    agent().openPowerVcrController();
    CPowerVcrControllerDlg* window = agent().powerVcrController();
    ASSERT_NE(window, nullptr);
    window->move(200, 150);
    const QPoint grip = window->mapToGlobal(QPoint(40, 75));
    mouseAt(window, QEvent::MouseButtonPress, grip, Qt::LeftButton, Qt::LeftButton);
    mouseAt(window, QEvent::MouseMove, grip + QPoint(30, 20), Qt::NoButton, Qt::LeftButton);
    mouseAt(window, QEvent::MouseButtonRelease, grip + QPoint(30, 20), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(window->pos(), QPoint(230, 170));
    EXPECT_EQ(window->controller().channel(), 7);
}

TEST_F(PowerVcrTest, TheViewersOpeningClosesTheControllerAfterItHasSavedItsValues) {
    saveChannels(7, 3, VideoMode::TV);
    auto recorder = startRecorder();
    agent().openPowerVcrController();
    ASSERT_NE(agent().powerVcrController(), nullptr);
    QTest::keyClick(agent().powerVcrController(), Qt::Key_Up);  // 9
    agent().powerVcrController()->wiring().sendCommand(CPowerVcrControllerDlg::kModeButton);  // CATV 3
    agent().powerVcrController()->wiring().sendCommand(CPowerVcrControllerDlg::kModeButton);  // VIDEO

    agent().openViewer();
    EXPECT_EQ(agent().powerVcrController(), nullptr);
    EXPECT_EQ(store.readInt("user", "s_channel", 0), 9);
    EXPECT_EQ(store.readInt("user", "s_ctchannel", 0), 3);
    EXPECT_EQ(store.readInt("user", "s_vmode", -1), 2);
    viewer = agentsViewer();
    ASSERT_NE(viewer, nullptr) << (boxes.empty() ? "" : boxes[0].text);
    EXPECT_EQ(viewer->videoMode(), VideoMode::VIDEO);  // the viewer opens where the controller left it
    viewer->setVideoMode(VideoMode::TV);
    EXPECT_EQ(viewer->currentChannel(), 9);
    pump();

    // Opened while the viewer runs, it goes when the viewer closes; the viewer's own saving
    // comes after it.
    agent().openPowerVcrController();
    ASSERT_NE(agent().powerVcrController(), nullptr);
    QTest::keyClick(agent().powerVcrController(), Qt::Key_Up);  // 11
    QTest::keyClick(viewer, Qt::Key_Down);                        // the viewer: 7
    close();
    pump();
    EXPECT_EQ(agent().powerVcrController(), nullptr);
    EXPECT_EQ(store.readInt("user", "s_channel", 0), 7);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(PowerVcrTest, TheAgentsExitClosesTheControllerWithItsSaving) {
    saveChannels(7, 3, VideoMode::TV);
    auto recorder = startRecorder();
    agent().openPowerVcrController();
    agent().powerVcrController()->wiring().sendCommand(CPowerVcrControllerDlg::kNextButton);
    EXPECT_TRUE(agent().exitSequence());
    EXPECT_EQ(store.readInt("user", "s_channel", 0), 9);
}

// --- the remote controller's buttons through the agent's receiving window

TEST_F(PowerVcrTest, TheCaptureButtonTakesAStillWithTheViewerOpenAndIsRForTheRecorderWithout) {
    test::TemporaryFolder stills;
    stillsInto(stills.path());
    saveChannels(7, 3, VideoMode::TV);
    RecordingWindow keyTarget(system, kPowerVcrKeyClass, "");
    agent().openViewer();
    viewer = agentsViewer();
    ASSERT_NE(viewer, nullptr);
    ASSERT_TRUE(waitForFrame());
    const platform::WindowHandle remote = agent().remoteWindowHandle();
    ASSERT_TRUE(remote);

    EXPECT_EQ(system.sendMessage(remote, remote::kCapture, 0, 0x1234), 1);
    EXPECT_TRUE(deliverPostedUntil([&] { return fileNames(stills.path()).size() == 1; }));
    EXPECT_TRUE(keyTarget.received.empty()) << "the open viewer takes the buttons";

    close();
    pump();
    ASSERT_EQ(currentViewer(), nullptr);
    EXPECT_EQ(system.sendMessage(remote, remote::kCapture, 0, 0x1234), 1);
    EXPECT_EQ(system.sendMessage(remote, platform::WM_CHAR, 39, 0x4D0001), 1);  // right arrow
    ASSERT_EQ(keyTarget.received.size(), 2u);
    EXPECT_EQ(keyTarget.received[0].message, platform::WM_CHAR);
    EXPECT_EQ(keyTarget.received[0].wParam, std::uint64_t('R'));
    EXPECT_EQ(keyTarget.received[0].lParam, 0x1234);
    EXPECT_EQ(keyTarget.received[1].wParam, std::uint64_t('+'));
    EXPECT_EQ(keyTarget.received[1].lParam, 0x4D0001);
    EXPECT_EQ(fileNames(stills.path()).size(), 1u);
}

}  // namespace
}  // namespace kelto
