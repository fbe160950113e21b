#pragma once
// The window in which the user watches television: the live picture above, the control panel
// strip (60 pixels, painted here) below, no caption bar. It opens in the viewer's order (checks,
// settings, capture window, hardware, mixer, keys, picture levels, placement, video mode), runs
// everything that reaches it through its one message map (menu, accelerator table 390, panel,
// the remote controller's messages and characters, timers, mixer notices) and hands the work to
// the widget-free ViewerSession; on close it ends a running recording first, then saves the
// settings and releases the hardware.
#include "framework/RemoteReceiver.h"
#include "framework/Window.h"
#include "platform/mixer/MixerService.h"
#include "settings/SettingsStore.h"
#include "settings/ViewerSettings.h"
#include "viewer/ViewerHardware.h"
#include "viewer/ViewerWindow.h"
#include "viewer/capture/CaptureSheetViewer.h"
#include "viewer/config/SheetViewer.h"
#include "viewer/core/ViewerPorts.h"
#include "viewer/core/ViewerSession.h"
#include "viewer/multiscreen/CMultiScreenDlg.h"
#include "viewer/multiscreen/MultiScreenViewer.h"
#include "viewer/panel/PanelState.h"
#include "viewer/window/ContextMenu.h"
#include "viewer/window/DisplayModes.h"
#include "viewer/window/PictureMouse.h"
#include "viewer/window/SystemMenu.h"
#include "viewer/window/ViewerGeometry.h"
#include "viewer/window/ViewerCaptureSheet.h"
#include "viewer/window/ViewerConfigSheet.h"
#include "viewer/window/ViewerKeypad.h"

#include <QMenu>
#include <QPointer>
#include <functional>
#include <memory>
#include <optional>


namespace kelto {

class ViewerHost;

namespace viewer {
class CImageWindow;
class OsdWindow;
class SerialStillCapture;
class ViewerDisplayWindow;
}

class CTvViewerDlg : public framework::Window,
                     public ViewerWindow,
                     private viewer::OsdSink,
                     private viewer::PanelSink,
                     private viewer::TimerHost,
                     private viewer::RecordingPort,
                     private viewer::config::SheetViewer,
                     private viewer::capturesheet::CaptureSheetViewer,
                     private viewer::multiscreen::MultiScreenViewer,
                     private platform::mixer::MixerNotificationTarget {
    Q_OBJECT
public:
    static constexpr int kResourceId = 102;
    static constexpr int kAcceleratorTable = 390;
    // Timers of the window.
    static constexpr int kDisplayInUseTimer = 287;
    static constexpr std::uint32_t kDisplayInUsePeriodMs = 50000;
    static constexpr int kRepaintTimer = 40;
    static constexpr int kVolumeRepeatStartTimer = 1;
    static constexpr int kVolumeRepeatTimer = 10;
    static constexpr int kStillCaptureTimer = 41;

    // Creates the window and runs its initialisation. A refusal shows its message and posts the
    // window a close request, so it closes by its ordinary close path; null only when the
    // window could not be made at all.
    static CTvViewerDlg* open(std::unique_ptr<ViewerHost> host);
    ~CTvViewerDlg() override;

    // --- ViewerWindow
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
    bool recording() const override { return session_ && session_->recording(); }
    void endRecording() override;

    // Saves the current picture to `path`, announcing "CAPTURE : path" on the display; when the
    // save fails the announcement gives way to a failure text. With "imageshow" on, the saved
    // picture then appears in the image window (which does not take the focus). True when the
    // file was written.
    bool CaptureStill(const std::string& path) override;
    // Takes the next numbered still picture of the chosen type (the name reserved for this
    // capture alone); the path written, or "" when nothing was.
    std::string captureNextStill();

    // --- what tests and the screenshots look at.
    // The on-screen display's text ("" while it is hidden).
    QString onScreenText() const;
    // The on-screen display over the picture and the captured-image viewer (null before the
    // opening made them).
    viewer::OsdWindow* onScreenDisplay() const;
    viewer::CImageWindow* imageWindow() const { return imageWindow_.get(); }
    viewer::ViewerSession* session() { return session_.get(); }
    const viewer::PanelState& panelState() const { return panel_; }
    const ViewerSettings& settings() const { return settings_; }
    // The rectangle of the panel strip and of the picture in the window.
    QRect panelRect() const;
    QRect pictureRect() const;
    // The context menu as it was last shown (null before), and the system menu.
    QMenu* lastContextMenu() const { return contextMenu_; }
    QMenu* lastSystemMenu() const { return systemMenu_; }
    // The mouse over the picture (null while there is no picture).
    viewer::PictureMouse* pictureMouse() const { return pictureMouse_; }
    // Minimised, or maximised (full screen), as the window is now.
    viewer::WindowShowState showState() const;
    // The on-screen keypad (command 1052), through which the viewer hands it what it shows.
    viewer::ViewerKeypad& keypad() { return keypad_; }
    // What the configuration sheet's pages reach of the viewer.
    viewer::config::SheetViewer& sheetViewer() { return *this; }
    // The configuration sheet (command 1007), open or not.
    viewer::ViewerConfigSheet& configSheet() { return configSheet_; }
    // What the capture sheet's pages reach of the viewer, and the sheet (command 1005).
    viewer::capturesheet::CaptureSheetViewer& captureSheetViewer() { return *this; }
    viewer::ViewerCaptureSheet& captureSheet() { return captureSheet_; }
    // The multi-screen view (command 32776) while it is open, else null.
    viewer::multiscreen::CMultiScreenDlg* multiScreenView() const { return multiScreen_; }
    // What the multi-screen view reaches of the viewer.
    viewer::multiscreen::MultiScreenViewer& multiScreenViewer() { return *this; }
    // The Ctrl+X runs (null before the first).
    const viewer::SerialStillCapture* serialCapture() const { return serialCapture_.get(); }
    // How the window is shown: full screen, the panel, desktop TV (see DisplayModes.h).
    viewer::ViewerDisplayModes& displayModes() { return *displayModes_; }
    const viewer::ViewerDisplayModes& displayModes() const { return *displayModes_; }
    // The panel strip shows: not collapsed, and no sheet or keypad open.
    bool panelShown() const;
    // Whether the initialisation refused (the close request is on its way).
    bool refused() const { return refused_; }
    // Whether a context menu pops up when shown; tests switch the blocking popup off and read
    // lastContextMenu() instead.
    static void setContextMenuExecution(bool exec);

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;
    std::int64_t defaultHandling(const platform::WindowMessage& message) override;

private:
    explicit CTvViewerDlg(std::unique_ptr<ViewerHost> host);
    void initialise();
    void refuse(std::optional<OpeningRefusal> refusal);
    void postCloseRequest();
    void buildMessageMap();
    void mapCommands();
    void onTimer(int timerId);
    void saveSettings();
    // Command 32886: the frequency table dialog.
    void openFrequencyTables();
    void layoutChildren();
    void showContextMenu(const QPoint& globalPos);
    viewer::ContextMenuState contextMenuState() const;
    void pressPanel(const QPoint& at, bool doubleClick);
    void releasePanel(const QPoint& at);
    std::optional<viewer::SizingEdge> edgeAt(const QPoint& at) const;
    void applySizing(viewer::SizingEdge edge, const QRect& proposed);
    void stillCaptureRequest();
    void multiScreen();
    void watchPictureMouse(QWidget& picture);
    void showSystemMenu(const QPoint& globalPos);
    std::int64_t onSystemCommand(const platform::WindowMessage& message);
    std::int64_t systemCommandDefault(const platform::WindowMessage& message);
    void showPanelTip(const QPoint& at, const QPoint& globalPos);
    void createDisplayWindows();
    // The desktop is told the display is in use (timer 287) until the viewer closes.
    void keepDisplayOn();
    void allowDisplayOff();
    viewer::ViewerKeypad::ViewerSide keypadSide();
    viewer::SheetWindowChanges::ViewerSide sheetWindowSide(std::function<void(bool open)> setSheetOpen);
    viewer::ViewerConfigSheet::ViewerSide configSheetSide();
    viewer::ViewerCaptureSheet::ViewerSide captureSheetSide();

    // --- ports of the session
    void ShowOsdText(const viewer::OsdText& text) override;
    void hideOsd() override;
    void showChannelNumber(int number) override;
    void showVolumeStep(int step) override;
    void showMute(bool muted) override;
    // The live sound's level from the panel's mute and step (viewer::liveSoundLevel).
    void applyLiveSoundLevel();
    void showVideoMode(VideoMode mode) override;
    void startTimer(int timerId, std::uint32_t periodMs) override;
    void stopTimer(int timerId) override;
    RecordingSetup recordingSetupOfCapture();
    bool recordStream(const std::string& file, int streamFormat) override;
    void stopRecording() override;
    void onMixerMessage(std::uint32_t message, std::uintptr_t deviceHandle, std::uintptr_t id) override;

    // --- SheetViewer (the configuration sheet's pages)
    QWidget* viewerWidget() override { return this; }
    ViewerSettings& viewerSettings() override { return settings_; }
    SettingsStore& settingsStore() override { return store_; }
    ChannelModel& channelModel() override;
    CTunerController& tunerController() override;
    int displayedNumber() const override;
    void TuneChannel(int channel, bool showDisplay) override;
    void setScanInProgress(bool scanning) override;
    bool scanInProgress() const override;
    void muteCardAudio(bool muted) override;
    int qualityMode() const override;
    void setQualityMode(int mode) override;
    bool mixerOpen() const override;
    std::vector<std::string> mixerLineNames() override;
    int selectedMixerLine() const override;
    void selectMixerLine(int line) override;
    void setMultiScreen(int cells, const viewer::config::MultiScreenSlots& broadcast,
                        const viewer::config::MultiScreenSlots& cable) override;

    // --- CaptureSheetViewer (the capture sheet's pages; the rest is shared with SheetViewer)
    capture::CCaptureWindow* captureWindowOrNull() override;
    void setStillFileType(int type) override;
    bool RecordStream(const std::string& file) override;
    bool volumeControlHasMixer() const override { return mixerOpen(); }
    void setRecordingType(int type);

    // --- MultiScreenViewer (the multi-screen view; the rest is shared with the interfaces above)
    int multiScreenCells() const override { return settings_.multiSelect; }
    const viewer::multiscreen::Slots& broadcastSlots() const override { return settings_.multiTv; }
    const viewer::multiscreen::Slots& cableSlots() const override { return settings_.multiCatv; }
    capture::CCaptureWindow& captureWindow() override { return hardware_->captureWindow(); }
    void multiScreenClosed(int exitChannel, QSize frameSize) override;
    void setMultiScreenMark(bool open);

    friend class viewer::ViewerDisplayWindow;

    std::unique_ptr<ViewerHost> ownedHost_;
    ViewerHost& host_;
    SettingsStore store_;
    ViewerSettings settings_;
    bool settingsLoaded_ = false;
    std::unique_ptr<ViewerHardware> hardware_;
    std::unique_ptr<mixer::CMixerVolume> mixer_;
    std::unique_ptr<viewer::ViewerSession> session_;
    std::unique_ptr<framework::RemoteReceiver> remote_;
    // A child of the picture, so it goes with it.
    QPointer<viewer::OsdWindow> osd_;
    std::unique_ptr<viewer::CImageWindow> imageWindow_;
    std::unique_ptr<viewer::SerialStillCapture> serialCapture_;
    viewer::ViewerKeypad keypad_{keypadSide()};
    viewer::ViewerConfigSheet configSheet_{configSheetSide()};
    viewer::ViewerCaptureSheet captureSheet_{captureSheetSide()};
    std::unique_ptr<viewer::ViewerDisplayWindow> displayWindow_;
    std::unique_ptr<viewer::ViewerDisplayModes> displayModes_;
    viewer::PanelState panel_;
    QPointer<QMenu> contextMenu_;
    QPointer<QMenu> systemMenu_;
    QPointer<viewer::PictureMouse> pictureMouse_;
    QPointer<viewer::multiscreen::CMultiScreenDlg> multiScreen_;
    // While a system command runs, the state changes it makes are its own, not the desktop's.
    bool inSystemCommand_ = false;
    std::string countryFile_;
    bool refused_ = false;
    bool closedByRemote_ = false;
    bool saved_ = false;
    bool closed_ = false;
    bool closeAfterRecording_ = false;
    bool frozen_ = false;
    bool keepingDisplayOn_ = false;
    // Panel press: the region held down, and whether the volume repeat has fired.
    std::optional<viewer::PanelRegion> pressedRegion_;
    bool volumeRepeatFired_ = false;
    // A drag of the window (caption drag) or of one of its edges.
    std::optional<QPoint> dragOffset_;
    std::optional<viewer::SizingEdge> sizingEdge_;
    QRect sizingStart_;
    QPoint sizingPress_;
    QSize laidOut_;
};

}  // namespace kelto
