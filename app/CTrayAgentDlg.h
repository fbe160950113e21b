#pragma once
// The process's main window: a never-shown dialog titled "Vezidov ID" that lives as long as the
// process. It shows the tray icon and menu, opens and closes the viewer, owns the remote-control
// receiving window "KELTO POWER VCR" and runs the exit sequence. Its one message map takes the
// tray icon's callback, the menu commands, the scheduler's timers 30 and 31 and the messages of
// other programs.
#include "framework/Dialog.h"
#include "framework/RemoteReceiver.h"
#include "reservations/ReservationAgentHost.h"
#include "resources/MenuResource.h"

#include <QPointer>

#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

class QSystemTrayIcon;

namespace kelto {

class AgentReservationUi;
class AgentReservationViewer;
class CPowerVcrControllerDlg;
class ReservationEngine;
class ViewerWindow;

class CTrayAgentDlg : public framework::Dialog, private ReservationAgentHost {
    Q_OBJECT
public:
    static constexpr int kResourceId = 131;
    static constexpr int kTrayIconId = 130;
    static constexpr const char* kTrayTip = "Joyful Kelto TV ";

    // Creates the viewer window (modeless, the agent as parent); null when it cannot be created.
    using ViewerFactory = std::function<ViewerWindow*(CTrayAgentDlg& agent)>;

    // reservationFile: where the reservations are kept (by default "reserve.rsd" in the program folder).
    explicit CTrayAgentDlg(ViewerFactory viewerFactory, platform::WindowSystem& system = platform::WindowSystem::instance(),
                           std::filesystem::path reservationFile = {});
    ~CTrayAgentDlg() override;

    // The initialisation: title, tray icon, the reservations and their scheduler, the
    // remote-control receiving window. False when the agent cannot run.
    bool initialise();

    // Opens the viewer unless one is open or being opened.
    void openViewer();
    bool viewerOpening() const { return viewerOpening_; }
    // The tray menu as it is shown now (greyed and trimmed); showTrayMenu pops it up.
    MenuItem prepareTrayMenu() const;
    void showTrayMenu();
    // Runs the exit sequence; false when the user chose to keep the agent running.
    bool exitSequence();
    // The recorder controller (dialog 293): at most one, owned here. Closing it saves its channels
    // and mode and releases its tuner; the viewer's opening and closing close it, so only one of
    // the two drives the tuner.
    void openPowerVcrController();
    void closePowerVcrController();
    CPowerVcrControllerDlg* powerVcrController() const;
    // The program's information box (dialog 100).
    void showProgramInfo();
    void openHelp();

    bool trayIconAdded() const { return trayIconAdded_; }
    platform::WindowHandle remoteWindowHandle() const { return remote_ ? remote_->handle() : platform::WindowHandle{}; }
    void setEndingWithoutQuestion() { endingWithoutQuestion_ = true; }
    ReservationEngine& reservations() { return *reservations_; }
    AgentReservationUi& reservationUi() { return *reservationUi_; }
    bool timerRunning(int timerId) { return timers().isSet(timerId); }
    platform::WindowSystem& windowSystem() const { return system_; }

    // Called by the viewer when it has closed and is being destroyed.
    void viewerClosed(ViewerWindow* viewer);
    // Called by the viewer when a recording of it has ended (still inside the call that recorded):
    // what waited for the recording (a close request, the agent's exit, the scheduler) goes on
    // from the event loop.
    void recordingEnded();
    // True while the open viewer records.
    bool recordingRuns() const;

signals:
    // The agent has gone; the process ends.
    void agentEnded();

protected:
    // The agent is never shown and ends only by its exit sequence: what its map does not take is
    // answered 0 and changes nothing.
    std::int64_t defaultHandling(const platform::WindowMessage& message) override;

private:
    // ReservationAgentHost: the engine's timers, its power-off message and the exit.
    void setTimer(int timerId, std::uint32_t periodMs) override;
    void killTimer(int timerId) override;
    void postPowerOffMessage(std::uint32_t firstParameter) override;
    void runLater(std::function<void()> action) override;
    void runExitSequence() override;

    // While the viewer records: asks the recording to end and keeps action for when it has
    // ended; true. Otherwise false (the caller goes on at once).
    bool deferUntilRecordingEnds(std::function<void()> action);
    // Messages from other programs are answered at once; what they ask for runs from the event
    // loop, so no sender waits for a box, a viewer start or a recording.
    framework::MessageMap::MessageHandler answerFirst(framework::MessageMap::MessageHandler handler,
                                                      std::int64_t answer = 0);

    void buildMessageMap();
    std::int64_t onTrayCallback(const platform::WindowMessage& m);
    void destroyAgent();

    platform::WindowSystem& system_;
    ViewerFactory viewerFactory_;
    std::unique_ptr<framework::RemoteReceiver> remote_;
    QPointer<CPowerVcrControllerDlg> powerVcr_;
    QSystemTrayIcon* trayIcon_ = nullptr;
    bool trayIconAdded_ = false;
    bool endingWithoutQuestion_ = false;
    bool ended_ = false;
    bool viewerOpening_ = false;
    std::vector<std::function<void()>> afterRecording_;
    std::filesystem::path reservationFile_;
    std::unique_ptr<AgentReservationViewer> reservationViewer_;
    std::unique_ptr<AgentReservationUi> reservationUi_;
    std::unique_ptr<ReservationEngine> reservations_;
};

}  // namespace kelto
