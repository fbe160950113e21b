#include "app/CTrayAgentDlg.h"

#include "app/AgentReservationLinks.h"
#include "app/AppMessages.h"
#include "app/CAboutDlg.h"
#include "app/ProgramArt.h"
#include "app/RemoteReceivingWindow.h"
#include "links/CPowerVcrControllerDlg.h"
#include "viewer/ViewerWindow.h"
#include "framework/ControlIds.h"
#include "framework/MessageBoxes.h"
#include "framework/QtMenus.h"
#include "framework/ShellServices.h"
#include "platform/Paths.h"
#include "reservations/ReservationEngine.h"
#include "platform/Trace.h"
#include "resources/StringTable.h"

#include <QCursor>
#include <QMenu>
#include <QMetaObject>
#include <QSystemTrayIcon>

namespace kelto {

using platform::WindowMessage;

CTrayAgentDlg::CTrayAgentDlg(ViewerFactory viewerFactory, platform::WindowSystem& system,
                             std::filesystem::path reservationFile)
    : framework::Dialog(0), system_(system), viewerFactory_(std::move(viewerFactory)),
      reservationFile_(reservationFile.empty() ? ReserveFile::defaultPath() : std::move(reservationFile)) {
    framework::stampResourceId(this, kResourceId);  // an empty dialog: no template to build
    reservationViewer_ = std::make_unique<AgentReservationViewer>(*this);
    reservationUi_ = std::make_unique<AgentReservationUi>(this);
    ReservationAgentHost& host = *this;
    reservations_ = std::make_unique<ReservationEngine>(*reservationViewer_, *reservationUi_, host, reservationFile_);
    reservationUi_->setTable(reservations_->table());
    buildMessageMap();
}

CTrayAgentDlg::~CTrayAgentDlg() {
    timers().killAll();  // nothing reaches the engine while it goes
    closePowerVcrController();
    delete powerVcr_.data();
    // The reservation list window shows the engine's table: it goes before the engine.
    reservationUi_.reset();
}

std::int64_t CTrayAgentDlg::defaultHandling(const WindowMessage&) { return 0; }

framework::MessageMap::MessageHandler CTrayAgentDlg::answerFirst(framework::MessageMap::MessageHandler handler,
                                                                 std::int64_t answer) {
    return [this, handler = std::move(handler), answer](const WindowMessage& m) -> std::int64_t {
        if (!m.fromOtherProcess) return handler(m);
        runLater([handler, m] { handler(m); });
        return answer;
    };
}

void CTrayAgentDlg::buildMessageMap() {
    framework::MessageMap& map = messageMap();
    map.onMessage(kMsgTrayCallback, answerFirst([this](const WindowMessage& m) { return onTrayCallback(m); }));
    map.onMessage(kMsgOpenViewer, answerFirst([this](const WindowMessage&) {
        openViewer();
        return std::int64_t(0);
    }));
    map.onMessage(kMsgPowerOff, answerFirst([this](const WindowMessage& m) {
        const auto parameter = std::uint32_t(m.wParam);
        // Switching off (or closing the viewer) waits until a running recording is complete.
        if (!deferUntilRecordingEnds([this, parameter] { reservations_->handlePowerOffMessage(parameter); }))
            reservations_->handlePowerOffMessage(parameter);
        return std::int64_t(0);
    }));
    // Decided and answered at once; a box or a recording it leads to follows from the event loop.
    map.onMessage(platform::WM_COPYDATA, [this](const WindowMessage& m) {
        return std::int64_t(reservations_->handleReservationRequest(m.data) ? 1 : 0);
    });
    map.onMessage(platform::WM_COMMAND, answerFirst([this](const WindowMessage& m) {
        messageMap().dispatchCommand(int(m.wParam & 0xFFFF));
        return std::int64_t(0);
    }));
    // Timers 30 and 31 are the scheduler's; any other timer gets the default handling.
    map.onMessage(platform::WM_TIMER, [this](const WindowMessage& m) {
        return reservations_->onTimer(int(m.wParam)) ? std::int64_t(0) : defaultHandling(m);
    });
    map.onMessage(kMsgExitAgent, answerFirst([this](const WindowMessage&) {
        exitSequence();
        return std::int64_t(0);
    }));
    map.onMessage(WM_DISPLAYCHANGE, [](const WindowMessage&) { return std::int64_t(0); });
    map.onMessage(WM_POWERBROADCAST, [](const WindowMessage&) { return std::int64_t(1); });
    map.onMessage(WM_QUERYENDSESSION, [this](const WindowMessage&) {
        endingWithoutQuestion_ = true;
        reservations_->setEndingWithoutQuestion();
        exitSequence();
        return std::int64_t(1);
    });
    map.onCommand(ID_EXECUTE_TV, [this] { openViewer(); });
    map.onCommand(ID_PROGRAM_INFO, [this] {
        if (ViewerWindow* viewer = currentViewer()) viewer->activate();
        showProgramInfo();
    });
    map.onCommand(ID_EXIT, [this] { exitSequence(); });
    map.onCommand(ID_HELP, [this] { openHelp(); });
    map.onCommand(ID_SETTING_RESERVATION, [this] { reservationUi_->showReservationList(); });
    map.onCommand(ID_EXECUTE_POWERVCR, [this] { openPowerVcrController(); });
    for (int id : {ID_POWERVCR_SOUND_ON, ID_POWERVCR_TV_AUDIO, ID_POWERVCR_VTR_AUDIO}) map.onCommand(id, [] {});
}

bool CTrayAgentDlg::initialise() {
    // 1. Title.
    setWindowTitle(kAgentTitle);
    const bool findable = wiring().createPlatformWindow("#32770", kAgentTitle, system_);

    // 2. The tray icon.
    const QIcon icon = programIcon();
    setWindowIcon(icon);
    if (QSystemTrayIcon::isSystemTrayAvailable()) {
        trayIcon_ = new QSystemTrayIcon(icon, this);
        trayIcon_->setToolTip(kTrayTip);
        connect(trayIcon_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
            if (reason == QSystemTrayIcon::DoubleClick)
                system_.postMessage(windowHandle(), kMsgTrayCallback, kTrayIconId, std::int64_t(WM_LBUTTONDBLCLK));
            else if (reason == QSystemTrayIcon::Context)
                system_.postMessage(windowHandle(), kMsgTrayCallback, kTrayIconId, std::int64_t(WM_RBUTTONUP));
        });
        trayIcon_->show();
    } else {
        platform::traceLine("Tray agent: the desktop has no system tray; running on without an icon");
    }
    trayIconAdded_ = true;

    // 4, 5. The reservations and the scheduler (timer 30).
    reservations_->start();

    // 6, 7. The remote-control receiving window of the agent (no controller program is told).
    remote_ = createRemoteReceivingWindow(system_, kAgentRemoteTitle);
    if (!remote_->valid()) platform::traceLine("Tray agent: cannot create the remote-control window");
    return findable;
}

std::int64_t CTrayAgentDlg::onTrayCallback(const WindowMessage& m) {
    if (std::uint64_t(m.lParam) == WM_LBUTTONDBLCLK) openViewer();
    else if (std::uint64_t(m.lParam) == WM_RBUTTONUP) showTrayMenu();
    return 0;
}

void CTrayAgentDlg::openViewer() {
    // The viewer's start runs the event loop (its refusal boxes, the hardware start), where a
    // second request (0x46D, a double click, timer 31) can arrive: it must find the viewer taken.
    if (currentViewer() || viewerOpening_ || ended_) return;
    // The controller's channels and mode are saved before the viewer reads them.
    closePowerVcrController();
    viewerOpening_ = true;
    ViewerWindow* viewer = viewerFactory_ ? viewerFactory_(*this) : nullptr;
    viewerOpening_ = false;
    setCurrentViewer(viewer);
}

void CTrayAgentDlg::viewerClosed(ViewerWindow* viewer) {
    if (currentViewer() == viewer) setCurrentViewer(nullptr);
    closePowerVcrController();
}

void CTrayAgentDlg::openPowerVcrController() {
    if (ended_ || (powerVcr_ && !powerVcr_->closing())) return;
    powerVcr_ = new CPowerVcrControllerDlg(system_);
    if (!powerVcr_->loaded()) {
        platform::traceLine("Tray agent: the recorder controller cannot be made");
        delete powerVcr_.data();
        return;
    }
    powerVcr_->initialise();
}

void CTrayAgentDlg::closePowerVcrController() {
    if (powerVcr_) powerVcr_->closeController();
}

CPowerVcrControllerDlg* CTrayAgentDlg::powerVcrController() const {
    return powerVcr_ && !powerVcr_->closing() ? powerVcr_.data() : nullptr;
}

MenuItem CTrayAgentDlg::prepareTrayMenu() const {
    auto menu = loadMenu(129);
    if (!menu || menu->children.empty()) return {};
    MenuItem popup = menu->children.front();
    if (MenuItem* item = popup.at(1)) {
        item->isDefault = true;
        item->enabled = currentViewer() == nullptr && !viewerOpening_;
    }
    if (MenuItem* item = popup.at(3)) item->enabled = bool(system_.findWindow(kPowerVcrClass, kPowerVcrTitle));
    for (int id : {ID_POWERVCR_SOUND_ON, ID_POWERVCR_TV_AUDIO, ID_POWERVCR_VTR_AUDIO}) popup.deleteCommand(id);
    return popup;
}

void CTrayAgentDlg::showTrayMenu() {
    const MenuItem popup = prepareTrayMenu();
    QMenu* menu = framework::buildMenu(popup, nullptr, [this](int command) {
        system_.postMessage(windowHandle(), platform::WM_COMMAND, std::uint64_t(command), 0);
    });
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const QPoint at = QCursor::pos();
    menu->popup(QPoint(at.x() - menu->sizeHint().width(), at.y()));
    system_.postMessage(windowHandle(), platform::WM_NULL, 0, 0);
}

void CTrayAgentDlg::showProgramInfo() {
    CAboutDlg about(this);
    about.exec();
}

void CTrayAgentDlg::openHelp() {
    const auto help = platform::dataFolder() / "help" / "index.html";
    framework::openDocument(help.string());
}

bool CTrayAgentDlg::exitSequence() {
    if (ended_) return true;
    // A recording is ended first, so its file is complete; the exit follows when it has.
    if (deferUntilRecordingEnds([this] { exitSequence(); })) return true;
    // 1. Close the viewer first: it saves its settings.
    if (ViewerWindow* viewer = currentViewer()) system_.sendMessage(viewer->windowHandle(), platform::WM_CLOSE, 0, 0);
    // 2. The reservation list, and the recorder controller (it saves its channels).
    reservationUi_->closeReservationList();
    closePowerVcrController();
    // 3. The reservations.
    reservations_->save();
    // 4. The receiving window goes.
    if (remote_ && remote_->valid()) system_.sendMessage(remote_->handle(), platform::WM_CLOSE, 0, 0);
    // 5. Reservations only run while the agent runs: ask before they are given up.
    if (reservations_->table().count() > 0 && !endingWithoutQuestion_ && !reservations_->endingWithoutQuestion()) {
        const int answer = framework::messageBox(this, LoadMessage(175), framework::MessageButtons::YesNo,
                                                 framework::MessageIcon::Information);
        if (answer == framework::IDNO) return false;
    }
    // 6, 7. Icon and agent.
    destroyAgent();
    return true;
}

void CTrayAgentDlg::setTimer(int timerId, std::uint32_t periodMs) { timers().set(timerId, periodMs); }

void CTrayAgentDlg::killTimer(int timerId) { timers().kill(timerId); }

void CTrayAgentDlg::postPowerOffMessage(std::uint32_t firstParameter) {
    system_.postMessage(windowHandle(), kMsgPowerOff, firstParameter, 0);
}

void CTrayAgentDlg::runExitSequence() { exitSequence(); }

void CTrayAgentDlg::runLater(std::function<void()> action) {
    // Queued to this window's thread: it runs when the event loop turns again.
    QMetaObject::invokeMethod(this, std::move(action), Qt::QueuedConnection);
}

bool CTrayAgentDlg::recordingRuns() const {
    const ViewerWindow* viewer = currentViewer();
    return viewer && viewer->recording();
}

bool CTrayAgentDlg::deferUntilRecordingEnds(std::function<void()> action) {
    if (!recordingRuns()) return false;
    afterRecording_.push_back(std::move(action));
    platform::traceLine("Tray agent: ending the running recording first");
    currentViewer()->endRecording();
    return true;
}

void CTrayAgentDlg::recordingEnded() {
    runLater([this] {
        if (recordingRuns()) return;  // another has started; its end brings us back
        std::vector<std::function<void()>> waiting;
        waiting.swap(afterRecording_);
        for (auto& action : waiting) action();
        if (!ended_) reservations_->recordingEnded();
    });
}

void CTrayAgentDlg::destroyAgent() {
    if (trayIconAdded_) {
        if (trayIcon_) trayIcon_->hide();
        trayIconAdded_ = false;
    }
    ended_ = true;
    timers().killAll();
    if (framework::PlatformWindow* window = wiring().platformWindow()) window->destroy();
    emit agentEnded();
}

}  // namespace kelto
