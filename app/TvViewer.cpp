#include "app/TvViewer.h"

#include "app/AppMessages.h"
#include "app/CAboutDlg.h"
#include "app/CTrayAgentDlg.h"
#include "app/RemoteReceivingWindow.h"
#include "app/SiblingPrograms.h"
#include "viewer/window/CTvViewerDlg.h"
#include "viewer/window/ViewerHost.h"

namespace kelto {

namespace {

class AgentViewerHost final : public ViewerHost {
public:
    explicit AgentViewerHost(CTrayAgentDlg& agent) : agent_(agent) {}
    platform::WindowSystem& windowSystem() override { return agent_.windowSystem(); }
    void closeSiblingPrograms() override { kelto::closeSiblingPrograms(agent_.windowSystem()); }
    std::unique_ptr<framework::RemoteReceiver> createRemoteReceivingWindow() override {
        // Registered with the remote-controller program now, withdrawn when the window goes.
        return kelto::createRemoteReceivingWindow(
            agent_.windowSystem(), kViewerRemoteTitle,
            framework::RemoteReceiver::Controller{kRemoteControllerClass, kMsgRemoteRegister});
    }
    void showAboutBox(QWidget* parent) override {
        CAboutDlg about(parent);
        about.exec();
    }
    void openReservationList() override { agent_.wiring().sendCommand(ID_SETTING_RESERVATION); }
    void viewerClosed(ViewerWindow* viewer) override { agent_.viewerClosed(viewer); }
    void recordingEnded() override { agent_.recordingEnded(); }

private:
    CTrayAgentDlg& agent_;
};

}  // namespace

ViewerWindow* openTvViewer(CTrayAgentDlg& agent) { return CTvViewerDlg::open(std::make_unique<AgentViewerHost>(agent)); }

}  // namespace kelto
