#pragma once
// The application object: decides at start whether this process runs the tray agent (with or
// without the viewer) or hands over to the agent that already runs, and creates the agent.
#include "app/CTrayAgentDlg.h"
#include "settings/SettingsStore.h"
#include "platform/NamedMutex.h"
#include "platform/SystemInfo.h"

#include <memory>
#include <string>
#include <string_view>

namespace kelto {

class CTvViewerApp {
public:
    CTvViewerApp(SettingsStore& settings, CTrayAgentDlg::ViewerFactory viewerFactory,
                 platform::WindowSystem& system = platform::WindowSystem::instance());
    ~CTvViewerApp();

    // The process start. True: the agent runs and the event loop should start. False: the process
    // ends (another process took the request, or the system cannot run the program).
    bool initInstance(std::string_view commandLine);

    // Everything from the first "/" of the command line to its end.
    static std::string switchOf(std::string_view commandLine);

    CTrayAgentDlg* agent() const { return agent_.get(); }
    const platform::OsVersionInfo& versionInfo() const { return version_; }
    // Why the last initInstance returned false, for the log and the tests.
    const std::string& endReason() const { return endReason_; }

private:
    bool createAgent(bool openViewer);

    SettingsStore& settings_;
    CTrayAgentDlg::ViewerFactory viewerFactory_;
    platform::WindowSystem& system_;
    platform::OsVersionInfo version_;
    std::unique_ptr<platform::NamedMutex> mutex_;
    std::unique_ptr<CTrayAgentDlg> agent_;
    std::string endReason_;
};

}  // namespace kelto
