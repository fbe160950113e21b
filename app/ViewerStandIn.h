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

    // Switching only remembers the mode and channel; the stand-in has no picture and cannot record.
    VideoMode videoMode() const override { return mode_; }
    void setVideoMode(VideoMode mode) override { mode_ = mode; }
    int currentChannel() const override { return channel_; }
    void tuneChannel(int channel) override { channel_ = channel; }
    int countryCode() const override;
    RegisteredList registeredList(VideoMode mode) const override;
    ChannelBounds channelBounds() const override { return {}; }
    RecordingSetup recordingSetup() override { return setup_; }
    void setRecordingSetup(const RecordingSetup& setup) override { setup_ = setup; }
    std::string nextRecordingFileName() override { return {}; }
    bool recordStream(const std::string& file) override;

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
    VideoMode mode_ = VideoMode::TV;
    int channel_ = 0;
    RecordingSetup setup_;
    bool closing_ = false;
};

}  // namespace kelto
