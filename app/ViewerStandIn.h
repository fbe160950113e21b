#pragma once
// A minimal viewer window titled "Kelto TV": it makes its opening checks, takes part in the
// remote-control and sibling-program handshakes, and closes cleanly. The full viewer replaces it.
#include "app/ViewerWindow.h"
#include "framework/MessageMap.h"
#include "framework/PlatformWindow.h"
#include "links/RemoteForwarding.h"

#include <QWidget>
#include <memory>

namespace kelto {

class CTrayAgentDlg;

class ViewerStandIn : public QWidget, public ViewerWindow {
    Q_OBJECT
public:
    static constexpr int kResourceId = 102;

    // Creates and shows the window; null when it cannot open (a refusal was shown).
    static ViewerStandIn* open(CTrayAgentDlg& agent);
    ~ViewerStandIn() override;

    platform::WindowHandle windowHandle() const override { return window_ ? window_->handle() : platform::WindowHandle{}; }
    void activate() override;
    bool closedByRemote() const override { return closedByRemote_; }
    void setClosedByRemote() override { closedByRemote_ = true; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    explicit ViewerStandIn(CTrayAgentDlg& agent);
    bool create();

    CTrayAgentDlg& agent_;
    framework::MessageMap map_;
    framework::MessageMap remoteMap_;
    std::unique_ptr<framework::PlatformWindow> window_;
    std::unique_ptr<RemoteForwarding> forwarding_;
    std::unique_ptr<framework::PlatformWindow> remoteWindow_;
    bool closedByRemote_ = false;
    bool closing_ = false;
};

}  // namespace kelto
