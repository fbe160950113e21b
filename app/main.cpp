// KeltoTV: the tray agent and the viewer in one process. A second start hands its request to
// the process that already runs and ends.
#include "app/CTvViewerApp.h"
#include "app/AppMessages.h"
#include "app/ViewerStandIn.h"
#include "platform/Paths.h"
#include "platform/Power.h"
#include "platform/Trace.h"
#include "platform/qt/WindowPump.h"

#include <QApplication>
#include <QSocketNotifier>
#include <csignal>
#include <cstdio>
#include <unistd.h>

namespace {

int sessionEndPipe[2] = {-1, -1};

void onSessionEnd(int) {
    const char byte = 1;
    [[maybe_unused]] auto n = ::write(sessionEndPipe[1], &byte, 1);
}

// The desktop session ending (logout, shutdown) reaches the agent as the query before log-off.
void watchSessionEnd(kelto::CTrayAgentDlg& agent) {
    if (::pipe(sessionEndPipe) != 0) return;
    std::signal(SIGTERM, onSessionEnd);
    std::signal(SIGHUP, onSessionEnd);
    auto* notifier = new QSocketNotifier(sessionEndPipe[0], QSocketNotifier::Read, &agent);
    QObject::connect(notifier, &QSocketNotifier::activated, &agent, [&agent] {
        char byte;
        [[maybe_unused]] auto n = ::read(sessionEndPipe[0], &byte, 1);
        agent.windowSystem().sendMessage(agent.windowHandle(), kelto::WM_QUERYENDSESSION, 0, 0);
    });
    QObject::connect(qApp, &QGuiApplication::commitDataRequest, &agent, [&agent] {
        agent.windowSystem().sendMessage(agent.windowHandle(), kelto::WM_QUERYENDSESSION, 0, 0);
    });
}

}  // namespace

int main(int argc, char** argv) {
    using namespace kelto;
    QApplication application(argc, argv);
    application.setQuitOnLastWindowClosed(false);
    platform::prepareInstallRoot();

    std::string commandLine;
    for (int i = 1; i < argc; ++i) commandLine += (i > 1 ? " " : "") + std::string(argv[i]);

    SettingsStore settings;
    CTvViewerApp app(settings, [](CTrayAgentDlg& agent) -> ViewerWindow* { return ViewerStandIn::open(agent); });
    platform::WindowPump pump(platform::WindowSystem::instance());
    if (!app.initInstance(commandLine)) {
        platform::tracef("KeltoTV: ends at start: %s", app.endReason().c_str());
        return 0;
    }
    const auto hive = settings.registry().hivePath(platform::RegHive::CurrentUser);
    std::printf("KeltoTV: running; settings and factory defaults in %s\n", hive.c_str());
    std::fflush(stdout);
    platform::installSystemPowerControl();
    watchSessionEnd(*app.agent());
    QObject::connect(app.agent(), &CTrayAgentDlg::agentEnded, &application, &QApplication::quit, Qt::QueuedConnection);
    return application.exec();
}
