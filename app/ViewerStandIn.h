#pragma once
// A small viewer window titled "Kelto TV" until the full viewer exists: it makes the opening
// checks, shows the live picture of the saved channel, steps channels with the arrow keys, takes
// part in the remote-control and sibling-program handshakes, records for the scheduler, and
// saves the settings when it closes.
#include "app/ViewerHardware.h"
#include "settings/ViewerSettings.h"
#include "viewer/ViewerWindow.h"
#include "framework/MessageMap.h"
#include "framework/PlatformWindow.h"
#include "links/RemoteForwarding.h"

#include <QWidget>
#include <memory>

class QLabel;
class QTimer;

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

    VideoMode videoMode() const override { return settings_.videoMode; }
    void setVideoMode(VideoMode mode) override;
    int currentChannel() const override;
    void tuneChannel(int channel) override;
    int countryCode() const override { return settings_.countryCode; }
    RegisteredList registeredList(VideoMode mode) const override;
    ChannelBounds channelBounds() const override;
    RecordingSetup recordingSetup() override;
    void setRecordingSetup(const RecordingSetup& setup) override;
    std::string nextRecordingFileName() override;
    bool recordStream(const std::string& file) override;
    bool recording() const override { return recording_; }
    void endRecording() override;

    // What the on-screen display shows now ("" when hidden).
    QString onScreenText() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    explicit ViewerStandIn(CTrayAgentDlg& agent);
    bool create();
    void showOnScreen(const QString& text);
    void stepRegistered(int direction);

    CTrayAgentDlg& agent_;
    SettingsStore store_;
    ViewerSettings settings_;
    std::unique_ptr<ViewerHardware> hardware_;
    framework::MessageMap map_;
    framework::MessageMap remoteMap_;
    std::unique_ptr<framework::PlatformWindow> window_;
    std::unique_ptr<RemoteForwarding> forwarding_;
    std::unique_ptr<framework::PlatformWindow> remoteWindow_;
    QLabel* osd_ = nullptr;
    QTimer* osdTimer_ = nullptr;
    bool closedByRemote_ = false;
    bool saved_ = false;
    // A recording runs its capture loop inside recordStream, with the event loop going: a close
    // request then ends the recording first and closes when recordStream has returned.
    bool recording_ = false;
    bool closeAfterRecording_ = false;
    bool closed_ = false;
};

}  // namespace kelto
