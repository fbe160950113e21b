// KeltoTV: the tray agent and the viewer in one process. A second start hands its request to
// the process that already runs and ends.
#include "app/CTvViewerApp.h"
#include "app/AppMessages.h"
#include "app/ProgramStart.h"
#include "app/SessionEndSignals.h"
#include "app/TvViewer.h"
#include "cardsim/BrooktreeCaptureDriver.h"
#include "platform/DisplayModes.h"
#include "platform/Paths.h"
#include "platform/Power.h"
#include "platform/ScreenSaverInhibit.h"
#include "platform/Trace.h"
#include "platform/qt/WindowPump.h"
#include "v4l2/CardList.h"
#include "v4l2/DriverChoice.h"
#include "v4l2/V4l2CaptureDriver.h"

#include <QApplication>
#include <QSocketNotifier>
#include <cstdio>
#include <cstdlib>

namespace {

// The session ending reaches the agent as the query before log-off. A signal that arrived during
// the start waits in the pipe and is handled as soon as the event loop runs.
void watchSessionEnd(kelto::CTrayAgentDlg& agent) {
    auto endSession = [&agent] {
        agent.windowSystem().sendMessage(agent.windowHandle(), kelto::WM_QUERYENDSESSION, 0, 0);
    };
    if (kelto::sessionEndFd() >= 0) {
        auto* notifier = new QSocketNotifier(kelto::sessionEndFd(), QSocketNotifier::Read, &agent);
        QObject::connect(notifier, &QSocketNotifier::activated, &agent, [endSession] {
            if (kelto::takeSessionEndSignals()) endSession();
        });
    }
    QObject::connect(qApp, &QGuiApplication::commitDataRequest, &agent, endSession);
}

}  // namespace

int main(int argc, char** argv) {
    using namespace kelto;
    // First of all: from here on a session end is never lost, however early it comes.
    installSessionEndSignals();

    switch (infoRequest(argc, argv)) {
    case InfoRequest::Help: std::fputs(usageText().c_str(), stdout); return 0;
    case InfoRequest::Version: std::fputs(versionText().c_str(), stdout); return 0;
    case InfoRequest::ListCards: std::fputs(v4l2::cardListText().c_str(), stdout); return 0;
    case InfoRequest::None: break;
    }

    // Under Wayland with XWayland the program runs on X11, where it can switch the display
    // mode and keep the desktop picture below all windows (QT_QPA_PLATFORM still decides).
    if (std::getenv("WAYLAND_DISPLAY") && std::getenv("DISPLAY") && !std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "xcb", 0);
    const auto application = createApplication(argc, argv);
    application->setQuitOnLastWindowClosed(false);
    platform::prepareInstallRoot();
    // The card file chooses the driver set: the simulated card, or a real card through V4L2.
    if (v4l2::chooseDriverSet() == v4l2::DriverSet::V4l2) v4l2::registerCaptureDriver();
    else cardsim::registerCaptureDriver();
    // The viewer keeps the desktop's screen saver away while it shows the picture.
    platform::installSessionScreenSaverInhibitor();
    // Full screen at 640 by 480 switches the display only on X11; elsewhere it is a maximise.
    if (QGuiApplication::platformName() == "xcb") platform::installXRandrDisplayModes();

    std::string commandLine;
    for (int i = 1; i < argc; ++i) commandLine += (i > 1 ? " " : "") + std::string(argv[i]);

    SettingsStore settings;
    CTvViewerApp app(settings, [](CTrayAgentDlg& agent) -> ViewerWindow* { return openTvViewer(agent); });
    platform::WindowPump pump(platform::WindowSystem::instance());
    if (!app.initInstance(commandLine)) {
        platform::tracef("KeltoTV: ends at start: %s", app.endReason().c_str());
        return 0;
    }
    const auto hive = settings.registry().hivePath(platform::RegHive::CurrentUser);
    std::printf("KeltoTV: running; settings and factory defaults in %s\n", hive.c_str());
    std::fflush(stdout);
    platform::installSystemPowerControl();
    QObject::connect(app.agent(), &CTrayAgentDlg::agentEnded, application.get(), &QApplication::quit, Qt::QueuedConnection);
    watchSessionEnd(*app.agent());
    return application->exec();
}
