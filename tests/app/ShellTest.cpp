#include "app/AppMessages.h"
#include "app/CAboutDlg.h"
#include "app/CReservationEditDlg.h"
#include "app/CReservationListDlg.h"
#include "framework/CReportListCtrl.h"
#include "app/CTrayAgentDlg.h"
#include "app/CTvViewerApp.h"
#include "viewer/ViewerOpening.h"
#include "app/SiblingPrograms.h"
#include "app/TvViewer.h"
#include "viewer/window/CTvViewerDlg.h"
#include "viewer/RemoteButtons.h"
#include "framework/ControlIds.h"
#include "framework/MessageBoxes.h"
#include "framework/ShellServices.h"
#include "framework/VirtualTimerScheduler.h"
#include "links/RemoteForwarding.h"
#include "platform/Clock.h"
#include "platform/Paths.h"
#include "app/AgentReservationLinks.h"
#include "platform/Power.h"
#include "platform/WindowMessageIds.h"
#include "reservations/ReservationEngine.h"
#include "reservations/ReservationRequest.h"
#include "capture/CaptureWindowWidget.h"
#include "cardsim/BrooktreeCaptureDriver.h"
#include "platform/qt/WindowPump.h"
#include "reservations/ReserveFile.h"
#include "tests/app/ShellTestSupport.h"
#include "tests/mixer/MixerRig.h"
#include "tests/capture/MediaProbe.h"
#include "tests/support/TestRoot.h"

#include <QApplication>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QLineEdit>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace kelto {
namespace {

using platform::WindowSystem;
using test::FakeViewer;
using test::RecordingWindow;

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override {
        mixerRig.buildSoundCard();  // the viewer opens the mixer
        platform::prepareInstallRoot();
        cardsim::registerCaptureDriver();
        // Window timers (the scheduler's 30 and 31, the viewer's display timer) run in virtual time.
        platform::setClock(&testClock);
        framework::setTimerScheduler(&scheduler);
        framework::setMessageBoxAnswerer([this](const framework::MessageBoxRequest& r) {
            boxes.push_back(r);
            return boxAnswer;
        });
    }
    void TearDown() override {
        framework::setMessageBoxAnswerer(nullptr);
        drivers::CaptureDriverList::clear();
        setCurrentViewer(nullptr);
        viewers.clear();
        framework::setTimerScheduler(nullptr);
        platform::setClock(nullptr);
    }
    // A viewer factory whose viewers are fakes kept by the test.
    CTrayAgentDlg::ViewerFactory factory() {
        return [this](CTrayAgentDlg&) -> ViewerWindow* {
            viewers.push_back(std::make_unique<FakeViewer>(system));
            return viewers.back().get();
        };
    }

    mixer::test::MixerRig mixerRig;
    platform::VirtualClock testClock{std::chrono::system_clock::now()};
    framework::VirtualTimerScheduler scheduler{testClock};
    WindowSystem& system = WindowSystem::instance();
    SettingsStore settings;
    std::vector<std::unique_ptr<FakeViewer>> viewers;
    std::vector<framework::MessageBoxRequest> boxes;
    int boxAnswer = framework::IDOK;
};

TEST_F(ShellTest, TheSwitchIsEverythingFromTheFirstSlash) {
    EXPECT_EQ(CTvViewerApp::switchOf("/t"), "/t");
    EXPECT_EQ(CTvViewerApp::switchOf("--x /t more"), "/t more");
    EXPECT_EQ(CTvViewerApp::switchOf("/T"), "/T");
    EXPECT_EQ(CTvViewerApp::switchOf(""), "");
}

TEST_F(ShellTest, ASecondStartHandsOverToTheRunningAgent) {
    CTvViewerApp first(settings, factory(), system);
    ASSERT_TRUE(first.initInstance("/t"));
    EXPECT_EQ(currentViewer(), nullptr);
    EXPECT_TRUE(system.findWindow("", "Vezidov ID"));
    EXPECT_TRUE(system.findWindow("KELTOTV", "KELTO POWER VCR"));

    CTvViewerApp trayAgain(settings, factory(), system);
    EXPECT_FALSE(trayAgain.initInstance("/t"));
    EXPECT_EQ(trayAgain.endReason(), "an agent already runs");

    CTvViewerApp normal(settings, factory(), system);
    EXPECT_FALSE(normal.initInstance(""));
    EXPECT_EQ(normal.endReason(), "the running agent opens the viewer");
    EXPECT_EQ(currentViewer(), nullptr);  // the request waits for the agent's message loop
    test::pump(system);
    ASSERT_NE(currentViewer(), nullptr);

    CTvViewerApp third(settings, factory(), system);
    EXPECT_FALSE(third.initInstance("/T"));  // not the tray switch: a normal start, and a viewer is open
    EXPECT_EQ(third.endReason(), "a viewer is already open");
    EXPECT_EQ(viewers.size(), 1u);
    // Factory defaults were written by every start.
    EXPECT_EQ(settings.readInt("user", "f_channel", 0), 6);
}

TEST_F(ShellTest, TheMutexIsTheLastGuard) {
    platform::NamedMutex::Result result;
    auto other = platform::NamedMutex::create("KELTO TV", result);
    ASSERT_TRUE(other);
    CTvViewerApp app(settings, factory(), system);
    EXPECT_FALSE(app.initInstance(""));
    EXPECT_EQ(app.endReason(), "another process holds the single-instance lock");
    EXPECT_FALSE(system.findWindow("", "Vezidov ID"));
}

// A clock whose sleep runs a step of the test, to see what the start did before its delay.
class SleepHookClock : public platform::Clock {
public:
    std::function<void(std::uint32_t)> onSleep;
    std::uint32_t tickCountMs() override { return 0; }
    void busyWaitMs(std::uint32_t) override {}
    void sleepMs(std::uint32_t ms) override { onSleep(ms); }
    std::chrono::system_clock::time_point now() override { return {}; }
};

TEST_F(ShellTest, DelayedStartLooksForWindowsBeforeItWaits) {
    SleepHookClock clock;
    auto agentWindow = std::make_unique<RecordingWindow>(system, "#32770", "Vezidov ID");
    std::uint32_t slept = 0;
    clock.onSleep = [&](std::uint32_t ms) {
        slept += ms;
        agentWindow.reset();  // the agent goes away during the delay
    };
    platform::setClock(&clock);
    CTvViewerApp app(settings, factory(), system);
    EXPECT_FALSE(app.initInstance("/r"));
    platform::setClock(nullptr);
    EXPECT_EQ(slept, 5000u);
    EXPECT_EQ(app.endReason(), "the running agent opens the viewer");
}

TEST_F(ShellTest, TheTrayMenuGreysWhatCannotBeDoneNow) {
    CTrayAgentDlg agent(factory(), system);
    ASSERT_TRUE(agent.initialise());
    MenuItem menu = agent.prepareTrayMenu();
    ASSERT_EQ(menu.children.size(), 9u);  // the three PowerVCR audio items are gone
    EXPECT_EQ(menu.at(1)->command, ID_EXECUTE_TV);
    EXPECT_TRUE(menu.at(1)->isDefault);
    EXPECT_TRUE(menu.at(1)->enabled);
    EXPECT_EQ(menu.at(3)->command, ID_EXECUTE_POWERVCR);
    EXPECT_FALSE(menu.at(3)->enabled);  // no PowerVCR running
    EXPECT_FALSE(menu.findCommand(ID_POWERVCR_TV_AUDIO));
    EXPECT_EQ(menu.at(8)->command, ID_EXIT);

    agent.openViewer();
    RecordingWindow powerVcr(system, "CyberLink PowerVCR Class", "CyberLink PowerVCR");
    menu = agent.prepareTrayMenu();
    EXPECT_FALSE(menu.at(1)->enabled);
    EXPECT_TRUE(menu.at(3)->enabled);

    // A double click on the icon does nothing more while the viewer is open.
    system.sendMessage(agent.windowHandle(), kMsgTrayCallback, CTrayAgentDlg::kTrayIconId, std::int64_t(WM_LBUTTONDBLCLK));
    EXPECT_EQ(viewers.size(), 1u);
}

// While the viewer starts (its boxes run the event loop), every other way of opening it finds it
// taken: a second start's 0x46D, the tray icon's double click, the menu command.
TEST_F(ShellTest, ASecondOpenWhileTheViewerStartsDoesNothing) {
    CTrayAgentDlg* agentSeen = nullptr;
    int factoryCalls = 0;
    bool refuse = false;
    CTrayAgentDlg agent(
        [&](CTrayAgentDlg& a) -> ViewerWindow* {
            ++factoryCalls;
            agentSeen = &a;
            EXPECT_TRUE(a.viewerOpening());
            EXPECT_FALSE(a.prepareTrayMenu().at(1)->enabled);
            system.sendMessage(a.windowHandle(), kMsgOpenViewer, 0, 0);
            system.sendMessage(a.windowHandle(), kMsgTrayCallback, CTrayAgentDlg::kTrayIconId, std::int64_t(WM_LBUTTONDBLCLK));
            system.sendMessage(a.windowHandle(), platform::WM_COMMAND, ID_EXECUTE_TV, 0);
            a.openViewer();
            if (refuse) return nullptr;  // a refusal: the viewer closed again
            viewers.push_back(std::make_unique<FakeViewer>(system));
            return viewers.back().get();
        },
        system);
    ASSERT_TRUE(agent.initialise());
    refuse = true;
    agent.openViewer();
    EXPECT_EQ(factoryCalls, 1);
    EXPECT_EQ(currentViewer(), nullptr);
    EXPECT_FALSE(agent.viewerOpening());

    refuse = false;  // after a refusal the next request opens it
    system.postMessage(agent.windowHandle(), kMsgOpenViewer, 0, 0);
    test::pump(system);
    EXPECT_EQ(factoryCalls, 2);
    EXPECT_EQ(viewers.size(), 1u);
    EXPECT_EQ(currentViewer(), viewers.back().get());
    EXPECT_EQ(agentSeen, &agent);
}

// Another program that sends the agent a message waits for its answer: the answer comes first,
// what the message asks for (a viewer start with its boxes, the exit with its question) after it.
TEST_F(ShellTest, MessagesFromOtherProgramsAreAnsweredBeforeTheyAreCarriedOut) {
    CTrayAgentDlg agent(factory(), system);
    ASSERT_TRUE(agent.initialise());
    QSignalSpy ended(&agent, &CTrayAgentDlg::agentEnded);
    auto fromOtherProgram = [&](std::uint32_t message, std::uint64_t wParam = 0) {
        return agent.messageMap().dispatch(platform::WindowMessage{agent.windowHandle(), message, wParam, 0, 0, {}, true});
    };
    EXPECT_EQ(fromOtherProgram(kMsgOpenViewer), 0);
    EXPECT_TRUE(viewers.empty());
    test::pump(system);
    EXPECT_EQ(viewers.size(), 1u);

    EXPECT_EQ(fromOtherProgram(platform::WM_COMMAND, ID_EXIT), 0);
    EXPECT_EQ(ended.count(), 0);
    test::pump(system);
    EXPECT_EQ(ended.count(), 1);
}

TEST_F(ShellTest, TrayCommandsReachTheirHandlers) {
    CTrayAgentDlg agent(factory(), system);
    ASSERT_TRUE(agent.initialise());
    std::vector<std::string> opened;
    framework::setDocumentOpener([&](const std::string& path) {
        opened.push_back(path);
        return true;
    });
    system.sendMessage(agent.windowHandle(), platform::WM_COMMAND, ID_HELP, 0);
    framework::setDocumentOpener(nullptr);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_TRUE(opened[0].ends_with("help/index.html"));
    EXPECT_TRUE(std::filesystem::exists(opened[0])) << opened[0];

    system.sendMessage(agent.windowHandle(), platform::WM_COMMAND, ID_EXECUTE_TV, 0);
    EXPECT_EQ(viewers.size(), 1u);
    system.postMessage(agent.windowHandle(), kMsgOpenViewer, 0, 0);
    test::pump(system);
    EXPECT_EQ(viewers.size(), 1u);
    EXPECT_EQ(system.sendMessage(agent.windowHandle(), WM_POWERBROADCAST, 4, 0), 1);
}

TEST_F(ShellTest, ExitClosesTheViewerAndTheReceivingWindowThenEnds) {
    CTrayAgentDlg agent(factory(), system);
    ASSERT_TRUE(agent.initialise());
    agent.openViewer();
    FakeViewer* viewer = viewers.back().get();
    QSignalSpy ended(&agent, &CTrayAgentDlg::agentEnded);
    system.sendMessage(agent.windowHandle(), platform::WM_COMMAND, ID_EXIT, 0);
    EXPECT_EQ(viewer->window.messages(), std::vector<std::uint32_t>{platform::WM_CLOSE});
    EXPECT_FALSE(system.findWindow("KELTOTV", "KELTO POWER VCR"));
    EXPECT_FALSE(system.findWindow("", "Vezidov ID"));
    EXPECT_FALSE(agent.trayIconAdded());
    EXPECT_EQ(ended.count(), 1);
    EXPECT_TRUE(boxes.empty());
}

ReservationRecord sampleRecord(std::uint32_t start) {
    ReservationRecord r;
    r.apply = 1;
    r.channel = 7;
    r.startTime = start;
    r.endTime = start + 3600;
    r.dayMode = DayMode::Daily;
    return r;
}

TEST_F(ShellTest, ExitWithReservationsAsksAndNoKeepsTheAgent) {
    CTrayAgentDlg agent(factory(), system);
    ASSERT_TRUE(agent.initialise());
    EXPECT_TRUE(agent.timerRunning(30));  // the scheduler runs from the start
    agent.openViewer();
    ASSERT_TRUE(agent.reservations().table().addRecord(sampleRecord(1000000)));
    QSignalSpy ended(&agent, &CTrayAgentDlg::agentEnded);

    boxAnswer = framework::IDNO;
    EXPECT_FALSE(agent.exitSequence());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, LoadMessage(175));
    EXPECT_EQ(boxes[0].buttons, framework::MessageButtons::YesNo);
    // Closed and saved before the question; the agent and its icon stay.
    EXPECT_EQ(viewers.back()->window.messages(), std::vector<std::uint32_t>{platform::WM_CLOSE});
    EXPECT_TRUE(std::filesystem::exists(agent.reservations().filePath()));
    EXPECT_FALSE(system.findWindow("KELTOTV", "KELTO POWER VCR"));
    EXPECT_TRUE(agent.trayIconAdded());
    EXPECT_TRUE(system.findWindow("", "Vezidov ID"));
    EXPECT_EQ(ended.count(), 0);

    boxAnswer = framework::IDYES;
    EXPECT_TRUE(agent.exitSequence());
    EXPECT_EQ(ended.count(), 1);
    EXPECT_FALSE(agent.trayIconAdded());
}

TEST_F(ShellTest, TheSessionEndingExitsWithoutTheQuestion) {
    CTrayAgentDlg agent(factory(), system);
    ASSERT_TRUE(agent.initialise());
    ASSERT_TRUE(agent.reservations().table().addRecord(sampleRecord(1000000)));
    QSignalSpy ended(&agent, &CTrayAgentDlg::agentEnded);
    EXPECT_EQ(system.sendMessage(agent.windowHandle(), WM_QUERYENDSESSION, 0, 0), 1);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(ended.count(), 1);
    EXPECT_TRUE(std::filesystem::exists(agent.reservations().filePath()));
}

TEST_F(ShellTest, ReservationRequestsArriveAsCopyData) {
    CTrayAgentDlg agent(factory(), system);
    ASSERT_TRUE(agent.initialise());
    // Tomorrow, five minutes later than now (the agent's turn-off time holds this minute): added, not on air.
    const auto now = std::uint32_t(std::time(nullptr));
    ReservationRequest request{7, now + 86400 + 300, now + 86400 + 1800, "News", AfterRecording::None};
    const std::string block = request.encode();
    EXPECT_EQ(system.sendCopyData(agent.windowHandle(), {}, 0, block), 1);
    EXPECT_EQ(agent.reservations().table().count(), 1);
    EXPECT_EQ(agent.reservations().table().record(0).comment, "News");
    EXPECT_TRUE(agent.reservationUi().listOpen());
    // The same minute again: refused, answered at once, and the message follows from the event
    // loop; a cut block: refused quietly.
    EXPECT_EQ(system.sendCopyData(agent.windowHandle(), {}, 0, block), 0);
    EXPECT_TRUE(boxes.empty());
    test::pump(system);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, LoadMessage(32876));
    EXPECT_EQ(system.sendCopyData(agent.windowHandle(), {}, 0, block.substr(0, 100)), 0);
    EXPECT_EQ(agent.reservations().table().count(), 1);
    agent.reservationUi().closeReservationList();
}

// The list outlives the object that opened it (its owner keeps it until the owner's own
// teardown): nothing may be written into that object once it is gone.
TEST_F(ShellTest, TheReservationListOutlivesItsOpenerSafely) {
    QWidget owner;
    ReservationTable table;
    alignas(AgentReservationUi) std::array<unsigned char, sizeof(AgentReservationUi)> storage;
    auto* ui = new (storage.data()) AgentReservationUi(&owner);
    ui->setTable(table);
    ui->openReservationList();
    ASSERT_TRUE(ui->listOpen());
    ui->~AgentReservationUi();
    storage.fill(0xA5);
    test::pump(system);  // the window's deferred deletion, if it was only closed
    for (QWidget* child : owner.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) delete child;
    EXPECT_TRUE(std::all_of(storage.begin(), storage.end(), [](unsigned char b) { return b == 0xA5; }))
        << "the closed list wrote into the destroyed reservation links";
}

// The tray's and the viewer's "Setting Reservation" open one list; a second command leaves it
// as it is. A check box changed in it reaches "reserve.rsd" when the agent exits.
TEST_F(ShellTest, TheListOpensOnceFromTrayAndViewerAndItsBoxReachesTheFile) {
    writeFactoryDefaults(settings, platform::programPath().string());
    auto agent = std::make_unique<CTrayAgentDlg>([](CTrayAgentDlg& a) -> ViewerWindow* { return openTvViewer(a); }, system);
    ASSERT_TRUE(agent->initialise());
    ASSERT_TRUE(agent->reservations().table().addRecord(sampleRecord(1000000)));
    agent->wiring().sendCommand(ID_SETTING_RESERVATION);
    CReservationListDlg* list = agent->reservationUi().list();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->parentWidget(), nullptr);  // a window of its own
    EXPECT_TRUE(list->isVisible());
    list->list()->setRowState(0, true, true);
    agent->wiring().sendCommand(ID_SETTING_RESERVATION);
    EXPECT_EQ(agent->reservationUi().list(), list);
    EXPECT_TRUE(list->list()->isRowSelected(0));  // not filled again

    agent->openViewer();
    auto* viewer = dynamic_cast<CTvViewerDlg*>(currentViewer());
    ASSERT_NE(viewer, nullptr) << (boxes.empty() ? "" : boxes[0].text);
    list->close();
    test::pump(system);
    ASSERT_FALSE(agent->reservationUi().listOpen());
    viewer->wiring().sendCommand(32885);
    list = agent->reservationUi().list();
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->list()->rowCount(), 1);

    list->list()->topLevelItem(0)->setCheckState(0, Qt::Unchecked);
    EXPECT_EQ(agent->reservations().table().apply(0), 0u);
    boxAnswer = framework::IDYES;  // the question about giving up the reservations
    EXPECT_TRUE(agent->exitSequence());
    agent.reset();
    test::pump(system);
    ReservationTable saved;
    ASSERT_EQ(ReserveFile::load(ReserveFile::defaultPath(), saved, 0), ReserveFile::LoadResult::Loaded);
    ASSERT_EQ(saved.count(), 1);
    EXPECT_EQ(saved.apply(0), 0u);
}

TEST_F(ShellTest, TheAgentWithItsListOpenGoesAwayCleanly) {
    auto agent = std::make_unique<CTrayAgentDlg>(factory(), system);
    ASSERT_TRUE(agent->initialise());
    agent->reservationUi().openReservationList();
    ASSERT_TRUE(agent->reservationUi().listOpen());
    agent.reset();
    test::pump(system);
}

TEST_F(ShellTest, PowerOffMessageEndsTheAgentAndAsksOnceForPowerOff) {
    auto& recorder = platform::recordingPowerControl();
    recorder.clear();
    CTrayAgentDlg agent(factory(), system);
    ASSERT_TRUE(agent.initialise());
    ASSERT_TRUE(agent.reservations().table().addRecord(sampleRecord(1000000)));
    QSignalSpy ended(&agent, &CTrayAgentDlg::agentEnded);
    system.postMessage(agent.windowHandle(), kMsgPowerOff, 1, 0);
    test::pump(system);
    EXPECT_EQ(ended.count(), 1);
    EXPECT_TRUE(boxes.empty());  // powering off asks nothing
    EXPECT_EQ(recorder.requestCount(), 1u);
}

TEST_F(ShellTest, TheViewerShowsTheSavedChannelOnTheCardAndStepsThroughTheList) {
    writeFactoryDefaults(settings, platform::programPath().string());  // as every start does
    CTrayAgentDlg agent([](CTrayAgentDlg& a) -> ViewerWindow* { return openTvViewer(a); }, system);
    ASSERT_TRUE(agent.initialise());
    agent.openViewer();
    auto* viewer = dynamic_cast<CTvViewerDlg*>(currentViewer());
    ASSERT_NE(viewer, nullptr) << (boxes.empty() ? "" : boxes[0].text);
    EXPECT_EQ(viewer->currentChannel(), 6);  // the factory channel on a first start
    EXPECT_EQ(viewer->onScreenText(), "");  // the display is made once the window has opened
    QTest::keyClick(viewer, Qt::Key_Up);      // the next registered channel: 6, 7, 9, 11, 12
    EXPECT_EQ(viewer->currentChannel(), 7);
    QTest::keyClick(viewer, Qt::Key_Down);
    QTest::keyClick(viewer, Qt::Key_Down);
    EXPECT_EQ(viewer->currentChannel(), 12);
    EXPECT_EQ(viewer->onScreenText(), "CH  12");

    // Closing saves the viewer's state: the next start comes back to channel 12.
    system.sendMessage(viewer->windowHandle(), platform::WM_CLOSE, 0, 0);
    test::pump(system);
    EXPECT_EQ(currentViewer(), nullptr);
    EXPECT_EQ(settings.readInt("user", "s_flag", 0), 1);
    EXPECT_EQ(settings.readInt("user", "s_channel", 0), 12);
    agent.openViewer();
    viewer = dynamic_cast<CTvViewerDlg*>(currentViewer());
    ASSERT_NE(viewer, nullptr);
    EXPECT_EQ(viewer->currentChannel(), 12);
    viewer->close();
    test::pump(system);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(ShellTest, RemoteButtonsGoToTheOpenViewer) {
    FakeViewer viewer(system);
    setCurrentViewer(&viewer);
    RemoteForwarding forwarding(system, [] { return currentViewer(); });
    auto handle = [&](std::uint32_t message, std::uint64_t w = 0, std::int64_t l = 0) {
        return forwarding.handle(platform::WindowMessage{{}, message, w, l, 0, {}, true});
    };
    EXPECT_EQ(handle(remote::kCapture, 5, 6), 1);
    EXPECT_EQ(handle(platform::WM_CHAR, '7', 0x80001), 1);
    EXPECT_EQ(handle(0xBD0), 1);
    EXPECT_EQ(handle(platform::WM_CREATE), 1);
    EXPECT_EQ(handle(0x999), std::nullopt);
    ASSERT_EQ(viewer.window.received.size(), 2u);
    EXPECT_EQ(viewer.window.received[0].message, remote::kCapture);
    EXPECT_EQ(viewer.window.received[0].wParam, 0u);  // both parameters 0
    EXPECT_EQ(viewer.window.received[1].wParam, std::uint64_t('7'));
    EXPECT_EQ(viewer.window.received[1].lParam, 0x80001);

    EXPECT_EQ(handle(platform::WM_COMMAND, 101), 1);
    EXPECT_TRUE(viewer.closedByRemote());
    EXPECT_EQ(handle(platform::WM_CLOSE), std::nullopt);
    test::pump(system);
    // Command 101 posted one close request; the close of the receiving window added none.
    const auto messages = viewer.window.messages();
    EXPECT_EQ(messages.back(), platform::WM_CLOSE);
    EXPECT_EQ(std::count(messages.begin(), messages.end(), platform::WM_CLOSE), 1);
}

TEST_F(ShellTest, WithoutAViewerRemoteButtonsBecomePowerVcrKeys) {
    RemoteForwarding forwarding(system, [] { return nullptr; });
    auto handle = [&](std::uint32_t message, std::uint64_t w = 0, std::int64_t l = 0) {
        return forwarding.handle(platform::WindowMessage{{}, message, w, l, 0, {}, true});
    };
    EXPECT_EQ(handle(remote::kCapture, 0, 0x1234), std::nullopt);  // neither viewer nor PowerVCR: default handling

    RecordingWindow powerVcr(system, "PowerVCR II Taurus", "");
    EXPECT_EQ(handle(remote::kCapture, 0, 0x1234), 1);
    EXPECT_EQ(handle(platform::WM_CHAR, 39, 0x4D0001), 1);
    EXPECT_EQ(handle(remote::kPrevious, 0, 77), 1);
    EXPECT_EQ(handle(platform::WM_CHAR, 'x', 1), 1);  // other characters: answered, nothing sent
    EXPECT_EQ(handle(0x445), std::nullopt);
    ASSERT_EQ(powerVcr.received.size(), 3u);
    EXPECT_EQ(powerVcr.received[0].wParam, std::uint64_t('R'));
    EXPECT_EQ(powerVcr.received[0].lParam, 0x1234);
    EXPECT_EQ(powerVcr.received[1].wParam, std::uint64_t('+'));
    EXPECT_EQ(powerVcr.received[1].lParam, 0x4D0001);
    EXPECT_EQ(powerVcr.received[2].wParam, 18u);
    EXPECT_EQ(powerVcr.received[2].lParam, 0x00130001);

    // Command 101: two waits of 500 ms, then Ctrl+X when the remote controller runs.
    platform::VirtualClock clock;
    platform::setClock(&clock);
    EXPECT_EQ(handle(platform::WM_COMMAND, 101), 1);
    EXPECT_EQ(powerVcr.received.size(), 3u);
    RecordingWindow remote(system, "Norvane Remocon Controller", "");
    EXPECT_EQ(handle(platform::WM_COMMAND, 101), 1);
    platform::setClock(nullptr);
    EXPECT_EQ(clock.tickCountMs(), 2000u);
    ASSERT_EQ(powerVcr.received.size(), 4u);
    EXPECT_EQ(powerVcr.received[3].wParam, 24u);
    EXPECT_EQ(powerVcr.received[3].lParam, 0x002D0001);
}

TEST_F(ShellTest, SiblingProgramsAreClosed) {
    RecordingWindow fm(system, "KELTOFM", "");
    RecordingWindow vcd(system, "KELTOVCD", "");
    fm.answer = 0x1234;  // not the FM answer: stays open
    closeSiblingPrograms(system);
    EXPECT_EQ(fm.messages(), std::vector<std::uint32_t>{kMsgSiblingQuery});
    EXPECT_EQ(vcd.messages(), std::vector<std::uint32_t>{platform::WM_CLOSE});
    fm.answer = kSiblingAnswerFm;
    closeSiblingPrograms(system);
    EXPECT_EQ(fm.messages(), (std::vector<std::uint32_t>{kMsgSiblingQuery, kMsgSiblingQuery, platform::WM_CLOSE}));

}

TEST_F(ShellTest, OpeningChecks) {
    EXPECT_TRUE(displayRefused(32, 1280, 960));
    EXPECT_FALSE(displayRefused(24, 1280, 960));
    EXPECT_FALSE(displayRefused(32, 1600, 900));

    test::TemporaryFolder windows;
    EXPECT_FALSE(findCountryFile(windows.path()));
    std::filesystem::create_directory(windows / "ZUDUDAZ2000.INI.d");
    test::writeFile(windows / "zududaz2000.ini", "");
    EXPECT_EQ(findCountryFile(windows.path()), windows / "zududaz2000.ini");

    platform::setOsVersionAnswer(platform::OsVersionAnswer::NtFamily);
    EXPECT_EQ(checkOperatingSystem(), OpeningRefusal::NtPlatform);
    showRefusal(nullptr, OpeningRefusal::NtPlatform);
    platform::setOsVersionAnswer(platform::OsVersionAnswer::AllFail);
    EXPECT_EQ(checkOperatingSystem(), OpeningRefusal::VersionQuery);
    platform::setOsVersionAnswer(platform::OsVersionAnswer::ExtendedFails);
    EXPECT_EQ(checkOperatingSystem(), std::nullopt);
    platform::setOsVersionAnswer(std::nullopt);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Kelto TV");
    EXPECT_EQ(boxes[0].text, LoadMessage(140));
    EXPECT_EQ(boxes[0].icon, framework::MessageIcon::Information);
}

// The scheduler's timers run through the agent's window timers: timer 30 searches every 10 s,
// finds the reservation of the minute after next and arms timer 31 for second 55 of the minute
// before, which opens the viewer, tunes and records.
TEST_F(ShellTest, TheSchedulersTimersStartAReservationInVirtualTime) {
    // Second 50 of a minute M; the reservation starts at M+2:00.
    const std::time_t at = std::chrono::system_clock::to_time_t(testClock.now());
    std::tm local{};
    localtime_r(&at, &local);
    testClock.advanceMs(std::uint64_t((50 - local.tm_sec + 60) % 60) * 1000);
    const std::time_t now = std::chrono::system_clock::to_time_t(testClock.now());
    const auto start = std::uint32_t(now - 50 + 120);

    CTrayAgentDlg agent(factory(), system);
    ASSERT_TRUE(agent.initialise());
    ReservationRecord record = sampleRecord(start);
    record.recording = 1;
    ASSERT_TRUE(agent.reservations().table().addRecord(record));

    scheduler.advanceMs(9000);  // M:59
    EXPECT_FALSE(agent.timerRunning(31));
    scheduler.advanceMs(1000);  // M+1:00, the first search that sees the start one minute ahead
    EXPECT_TRUE(agent.timerRunning(31));
    scheduler.advanceMs(54000);  // M+1:54
    EXPECT_TRUE(viewers.empty());
    scheduler.advanceMs(1000);  // M+1:55
    test::pump(system);
    ASSERT_EQ(viewers.size(), 1u);
    EXPECT_EQ(viewers[0]->channel, 7);
    EXPECT_EQ(viewers[0]->recorded, std::vector<std::string>{"/tmp/Kelto1.avi"});
    EXPECT_FALSE(agent.timerRunning(31));
    EXPECT_TRUE(agent.timerRunning(30));
}

// Dialog 100 is built from its template in the user's language; the agent's "Program Info"
// command shows it modally and its OK closes it.
TEST_F(ShellTest, TheAboutBoxIsDialog100InTheUsersLanguage) {
    setUiLanguage(UiLanguage::Japanese);
    {
        CAboutDlg about;
        EXPECT_TRUE(about.loaded());
        EXPECT_EQ(framework::resourceIdOf(&about), 100);
        EXPECT_EQ(about.windowTitle(), QString::fromUtf8("Kelto TV のバージョン情報"));
        auto* version = about.findChild<QLabel*>("version");
        ASSERT_NE(version, nullptr);
        EXPECT_TRUE(version->text().startsWith(QString::fromUtf8("Kelto TV バージョン "))) << version->text().toStdString();
        EXPECT_FALSE(version->text().contains("%1"));
        EXPECT_FALSE(about.findChild<QLabel*>("picture")->pixmap().isNull());
        EXPECT_FALSE(about.findChild<QLabel*>("icon")->pixmap().isNull());
    }
    setUiLanguage(UiLanguage::EnglishUS);
    CTrayAgentDlg agent(factory(), system);
    ASSERT_TRUE(agent.initialise());
    agent.openViewer();
    QString title;
    QMetaObject::invokeMethod(
        qApp,
        [&] {
            QWidget* about = framework::findResourceWindow(CAboutDlg::kResourceId);
            if (!about) return;
            title = about->windowTitle();
            QTest::mouseClick(qobject_cast<QPushButton*>(framework::findControl(about, framework::IDOK)), Qt::LeftButton);
        },
        Qt::QueuedConnection);
    system.sendMessage(agent.windowHandle(), platform::WM_COMMAND, ID_PROGRAM_INFO, 0);  // returns when OK closed it
    setUiLanguage(std::nullopt);
    EXPECT_EQ(title, "About Kelto TV");
    EXPECT_EQ(viewers.back()->activations, 1);  // the open viewer came to the front first
    EXPECT_EQ(framework::findResourceWindow(CAboutDlg::kResourceId), nullptr);
}

// The agent's receiving window does not tell the remote-controller program about itself (the
// viewer's does: ViewerStartTest).
TEST_F(ShellTest, TheAgentsReceivingWindowIsNotRegisteredWithTheRemoteController) {
    RecordingWindow remote(system, "Norvane Remocon Controller", "");
    {
        CTrayAgentDlg agent(factory(), system);
        ASSERT_TRUE(agent.initialise());
        EXPECT_EQ(system.findWindow("KELTOTV", "KELTO POWER VCR"), agent.remoteWindowHandle());
        ASSERT_TRUE(agent.exitSequence());
    }
    EXPECT_TRUE(remote.received.empty());
}

// A request from another program for a programme on air records at once on the simulated card
// (virtual time); while the recording runs, a close request of one kind or another arrives. The
// recording must end first, complete and playable, and the reservation must be on disk.
class CloseDuringRecordingTest : public ShellTest {
protected:
    using CloseRequest = std::function<void(CTrayAgentDlg& agent, CTvViewerDlg& viewer)>;

    void SetUp() override {
        ShellTest::SetUp();
        writeFactoryDefaults(settings, platform::programPath().string());
    }

    // Returns whether the agent ended.
    bool recordAndClose(const CloseRequest& closeRequest) {
        platform::WindowPump windowPump(system);  // messages reach their windows inside the recording too
        auto agent = std::make_unique<CTrayAgentDlg>(
            [](CTrayAgentDlg& a) -> ViewerWindow* { return openTvViewer(a); }, system);
        EXPECT_TRUE(agent->initialise());
        QSignalSpy ended(agent.get(), &CTrayAgentDlg::agentEnded);
        agent->openViewer();
        QPointer<CTvViewerDlg> viewer = dynamic_cast<CTvViewerDlg*>(currentViewer());
        EXPECT_TRUE(viewer) << (boxes.empty() ? "" : boxes[0].text);
        if (!viewer) return false;
        auto* captureWindow = viewer->findChild<capture::CaptureWindowWidget*>();
        EXPECT_NE(captureWindow, nullptr);
        if (!captureWindow) return false;
        bool closeSent = false;
        captureWindow->service().setSequenceObserver([&](std::uint32_t picture) {
            if (picture == 10 && !closeSent) {
                closeSent = true;
                closeRequest(*agent, *viewer);
            }
        });

        // The next minute (the agent's turn-off holds the minute it started in), for three minutes.
        testClock.advanceMs(60000);
        const auto now = std::chrono::system_clock::to_time_t(testClock.now());
        const auto start = std::uint32_t(now - now % 60);
        const ReservationRequest request{7, start, start + 180, "Evening news", AfterRecording::None};
        EXPECT_EQ(system.sendCopyData(agent->windowHandle(), {}, 0, request.encode()), 1);
        EXPECT_EQ(captureWindow->service().lastSequence().pictures, 0u);  // answered before recording

        for (int i = 0; i < 100 && viewer; ++i) test::pump(system);
        EXPECT_TRUE(closeSent);
        EXPECT_FALSE(viewer) << "the viewer did not close";
        EXPECT_EQ(currentViewer(), nullptr);
        const bool agentEnded = ended.count() == 1;
        agent.reset();
        return agentEnded;
    }

    // The reservation is on disk with the file it recorded, and the file plays.
    void expectCompleteRecording() {
        ReservationTable saved;
        ASSERT_EQ(ReserveFile::load(ReserveFile::defaultPath(), saved, 0), ReserveFile::LoadResult::Loaded);
        ASSERT_EQ(saved.count(), 1);
        EXPECT_EQ(saved.record(0).comment, "Evening news");
        const std::string file = saved.record(0).recordedFile;
        ASSERT_FALSE(file.empty()) << "the recording did not count as complete";
        const auto probe = capture::test::probeMedia(file);
        EXPECT_TRUE(probe.opened) << file;
        EXPECT_TRUE(probe.hasVideo);
        EXPECT_GE(probe.decodedFrames, 10);
        EXPECT_LT(probe.decodedFrames, 180 * 15);  // ended early, not at its limit
        EXPECT_EQ(settings.readInt("user", "s_flag", 0), 1);  // the viewer saved its settings
        EXPECT_TRUE(boxes.empty()) << boxes[0].text;
    }
};

// A reservation added through the add dialog fires in virtual time: the confirmation is taken,
// the viewer tunes the chosen channel on the simulated card and records it into a file.
using DialogRecordingTest = CloseDuringRecordingTest;
TEST_F(DialogRecordingTest, AReservationAddedThroughTheDialogRecordsTheChosenChannel) {
    platform::WindowPump windowPump(system);
    auto agent = std::make_unique<CTrayAgentDlg>([](CTrayAgentDlg& a) -> ViewerWindow* { return openTvViewer(a); }, system);
    ASSERT_TRUE(agent->initialise());
    agent->openViewer();
    QPointer<CTvViewerDlg> viewer = dynamic_cast<CTvViewerDlg*>(currentViewer());
    ASSERT_TRUE(viewer) << (boxes.empty() ? "" : boxes[0].text);

    const auto now = std::chrono::system_clock::to_time_t(testClock.now());
    const QDateTime start = QDateTime::fromSecsSinceEpoch(qint64(now - now % 60 + 180));  // 3 minutes ahead
    {
        CReservationAddDlg add(agent->reservations().table(), reservationBandLimits(), agent.get());
        using Ids = CReservationAddDlg;
        auto* channels = add.control<QComboBox>(Ids::kIds.channel);
        const int entry = channels->findText("CH 9");
        ASSERT_GE(entry, 0);
        channels->setCurrentIndex(entry);
        add.control<QLineEdit>(Ids::kIds.comment)->setText("From the dialog");
        add.control<QAbstractButton>(Ids::kIds.recording)->click();
        add.control<QDateTimeEdit>(Ids::kIds.start)->setDateTime(start);
        add.control<QDateTimeEdit>(Ids::kIds.end)->setDateTime(start.addSecs(60));
        add.control<QAbstractButton>(framework::IDOK)->click();
        ASSERT_EQ(add.result(), QDialog::Accepted) << (boxes.empty() ? "" : boxes[0].text);
    }
    ASSERT_EQ(agent->reservations().table().count(), 1);

    for (int second = 0; second < 400 && agent->reservations().table().record(0).recordedFile.empty(); ++second) {
        scheduler.advanceMs(1000);
        test::pump(system);
    }
    const ReservationRecord record = agent->reservations().table().record(0);
    ASSERT_FALSE(record.recordedFile.empty()) << "nothing was recorded";
    ASSERT_TRUE(viewer);
    EXPECT_EQ(viewer->currentChannel(), 9);
    ASSERT_EQ(boxes.size(), 1u);  // the confirmation, answered OK
    EXPECT_NE(boxes[0].text.find("From the dialog"), std::string::npos) << boxes[0].text;
    const auto probe = capture::test::probeMedia(record.recordedFile);
    EXPECT_TRUE(probe.opened) << record.recordedFile;
    EXPECT_TRUE(probe.hasVideo);
    agent.reset();
}

TEST_F(CloseDuringRecordingTest, TheWindowsCloseButton) {
    EXPECT_FALSE(recordAndClose([](CTrayAgentDlg&, CTvViewerDlg& viewer) { viewer.close(); }));
    expectCompleteRecording();
}

TEST_F(CloseDuringRecordingTest, ACloseMessageToTheViewer) {
    EXPECT_FALSE(recordAndClose([this](CTrayAgentDlg&, CTvViewerDlg& viewer) {
        system.postMessage(viewer.windowHandle(), platform::WM_CLOSE, 0, 0);
    }));
    expectCompleteRecording();
}

TEST_F(CloseDuringRecordingTest, TheRemotesCloseKey) {
    EXPECT_FALSE(recordAndClose([this](CTrayAgentDlg&, CTvViewerDlg&) {
        system.postMessage(system.findWindow(kRemoteClass, kViewerRemoteTitle), platform::WM_COMMAND, 101, 0);
    }));
    expectCompleteRecording();
}

TEST_F(CloseDuringRecordingTest, TheAgentsExit) {
    EXPECT_TRUE(recordAndClose([this](CTrayAgentDlg& agent, CTvViewerDlg&) {
        boxAnswer = framework::IDYES;  // the reservation table is not empty: the exit asks
        system.postMessage(agent.windowHandle(), kMsgExitAgent, 0, 0);
    }));
    boxes.clear();
    expectCompleteRecording();
}

TEST_F(CloseDuringRecordingTest, TheSessionEnding) {
    EXPECT_TRUE(recordAndClose([this](CTrayAgentDlg& agent, CTvViewerDlg&) {
        EXPECT_EQ(system.sendMessage(agent.windowHandle(), WM_QUERYENDSESSION, 0, 0), 1);
    }));
    expectCompleteRecording();
}

TEST_F(CloseDuringRecordingTest, SwitchingTheComputerOff) {
    platform::recordingPowerControl().clear();
    EXPECT_TRUE(recordAndClose([this](CTrayAgentDlg& agent, CTvViewerDlg&) {
        system.postMessage(agent.windowHandle(), kMsgPowerOff, 1, 0);
    }));
    expectCompleteRecording();
    EXPECT_EQ(platform::recordingPowerControl().requestCount(), 1u);  // after the recording, once
}

}  // namespace
}  // namespace kelto
