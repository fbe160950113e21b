#include "app/CTvViewerApp.h"

#include "app/AppMessages.h"
#include "settings/ViewerSettings.h"
#include "platform/Clock.h"
#include "platform/Paths.h"
#include "platform/Trace.h"

namespace kelto {

CTvViewerApp::CTvViewerApp(SettingsStore& settings, CTrayAgentDlg::ViewerFactory viewerFactory,
                           platform::WindowSystem& system)
    : settings_(settings), viewerFactory_(std::move(viewerFactory)), system_(system) {}

CTvViewerApp::~CTvViewerApp() = default;

std::string CTvViewerApp::switchOf(std::string_view commandLine) {
    const auto slash = commandLine.find('/');
    return slash == std::string_view::npos ? std::string() : std::string(commandLine.substr(slash));
}

bool CTvViewerApp::initInstance(std::string_view commandLine) {
    // 2. The version record: extended, then basic; neither ends the process without a word.
    version_ = {};
    version_.sizeField = platform::kOsVersionInfoExSize;
    if (!platform::getVersionEx(version_)) {
        version_ = {};
        version_.sizeField = platform::kOsVersionInfoSize;
        if (!platform::getVersionEx(version_)) {
            endReason_ = "the system version cannot be read";
            return false;
        }
    }
    // 3, 4. Settings key and factory defaults.
    settings_.setRegistryKey(SettingsStore::kRegistryKey);
    writeFactoryDefaults(settings_, platform::programPath().string());

    // 5. Both look-ups come before the switch is examined.
    const platform::WindowHandle agentWindow = system_.findWindow("", kAgentTitle);
    const platform::WindowHandle viewerWindow = system_.findWindow("", kViewerTitle);

    // 6. The switch.
    const std::string option = switchOf(commandLine);
    if (option == "/t") {
        if (agentWindow) {
            endReason_ = "an agent already runs";
            return false;
        }
        return createAgent(false);
    }
    if (option == "/r") platform::clock().sleepMs(5000);
    if (viewerWindow) {
        endReason_ = "a viewer is already open";
        return false;
    }
    if (agentWindow) {
        system_.postMessage(agentWindow, kMsgOpenViewer, 0, 0);
        endReason_ = "the running agent opens the viewer";
        return false;
    }
    platform::NamedMutex::Result result;
    mutex_ = platform::NamedMutex::create(kSingleInstanceMutex, result);
    if (result != platform::NamedMutex::Result::Created) {
        endReason_ = "another process holds the single-instance lock";
        return false;
    }
    return createAgent(true);
}

bool CTvViewerApp::createAgent(bool openViewer) {
    agent_ = std::make_unique<CTrayAgentDlg>(viewerFactory_, system_);
    if (!agent_->initialise()) {
        endReason_ = "the agent could not start";
        agent_.reset();
        return false;
    }
    agent_->hide();
    if (openViewer) agent_->openViewer();
    platform::tracef("KeltoTV: agent started%s", openViewer ? " with the viewer" : " (tray only)");
    return true;
}

}  // namespace kelto
