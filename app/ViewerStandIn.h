#pragma once
// A small viewer window titled "Kelto TV" until the full viewer exists: it makes the opening
// checks, shows the live picture of the saved channel, steps channels with the arrow keys, takes
// part in the remote-control and sibling-program handshakes, records for the scheduler, and
// saves the settings when it closes. Keys (accelerator table 390), its on-screen display timer
// and the messages of other programs all go through its one message map.
#include "app/ViewerHardware.h"
#include "settings/ViewerSettings.h"
#include "viewer/ViewerWindow.h"
#include "framework/RemoteReceiver.h"
#include "framework/Window.h"

#include <memory>

class QLabel;

namespace kelto {

class CTrayAgentDlg;

class ViewerStandIn : public framework::Window, public ViewerWindow {
    Q_OBJECT
public:
    static constexpr int kResourceId = 102;
    static constexpr int kAcceleratorTable = 390;
    static constexpr int kOsdTimerId = 24;  // hides the on-screen display
    static constexpr std::uint32_t kOsdPeriodMs = 2000;
    // Commands of table 390 the stand-in carries out, and its own page keys (one channel on).
    static constexpr int ID_CHANNEL_UP = 32895;
    static constexpr int ID_CHANNEL_DOWN = 32896;
    static constexpr int ID_STANDIN_NEXT_CHANNEL = 0x7F01;
    static constexpr int ID_STANDIN_PREVIOUS_CHANNEL = 0x7F02;

    // Creates and shows the window; null when it cannot open (a refusal was shown).
    static ViewerStandIn* open(CTrayAgentDlg& agent);
    ~ViewerStandIn() override;

    platform::WindowHandle windowHandle() const override { return Window::windowHandle(); }
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

private:
    explicit ViewerStandIn(CTrayAgentDlg& agent);
    bool create();
    void buildMessageMap();
    void loadKeys();
    void showOnScreen(const QString& text);
    void stepRegistered(int direction);

    CTrayAgentDlg& agent_;
    SettingsStore store_;
    ViewerSettings settings_;
    std::unique_ptr<ViewerHardware> hardware_;
    std::unique_ptr<framework::RemoteReceiver> remote_;
    QLabel* osd_ = nullptr;
    bool closedByRemote_ = false;
    bool saved_ = false;
    // A recording runs its capture loop inside recordStream, with the event loop going: a close
    // request then ends the recording first and closes when recordStream has returned.
    bool recording_ = false;
    bool closeAfterRecording_ = false;
    bool closed_ = false;
};

}  // namespace kelto
