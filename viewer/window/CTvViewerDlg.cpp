#include "viewer/window/CTvViewerDlg.h"

#include "viewer/osd/CImageWindow.h"
#include "viewer/osd/OsdWindow.h"
#include "viewer/osd/RecordingIndicator.h"
#include "viewer/osd/ViewerHelp.h"

#include "capture/CaptureWindowWidget.h"
#include "capture/MotionCaptureSettings.h"
#include "capture/NextCaptureFileName.h"
#include "framework/ControlIds.h"
#include "framework/MessageBoxes.h"
#include "framework/QtMenus.h"
#include "framework/ShellServices.h"
#include "platform/Paths.h"
#include "platform/ScreenSaverInhibit.h"
#include "platform/Trace.h"
#include "resources/ArtResource.h"
#include "resources/StringTable.h"
#include "viewer/RemoteButtons.h"
#include "viewer/ViewerMessages.h"
#include "viewer/ViewerOpening.h"
#include "viewer/core/ViewerCommands.h"
#include "viewer/panel/PanelPainter.h"
#include "viewer/panel/PanelTooltips.h"
#include "viewer/panel/TvFramePainter.h"
#include "viewer/freq/CFreqTableDlg.h"
#include "platform/Clock.h"
#include "viewer/window/MinimisedIcon.h"
#include "viewer/window/SerialStillCapture.h"
#include "viewer/window/StillFileReservation.h"
#include "viewer/window/ViewerDisplayWindow.h"
#include "viewer/window/ViewerHost.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QToolTip>

#include <filesystem>

namespace kelto {

using platform::WindowMessage;
using viewer::PanelRegion;

namespace {

constexpr int kSizingBorderPx = 4;
bool contextMenuExec = true;

QSize screenSize() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry().size() : QSize(1024, 768);
}

bool isTuner(VideoMode mode) { return mode == VideoMode::TV || mode == VideoMode::CATV; }

}  // namespace

void CTvViewerDlg::setContextMenuExecution(bool exec) { contextMenuExec = exec; }

CTvViewerDlg::CTvViewerDlg(std::unique_ptr<ViewerHost> host)
    : framework::Window(nullptr, Qt::Window | Qt::FramelessWindowHint), ownedHost_(std::move(host)), host_(*ownedHost_) {
    framework::stampResourceId(this, kResourceId);
    setWindowTitle("Kelto TV");
    setAttribute(Qt::WA_DeleteOnClose);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    QPalette dark = palette();
    dark.setColor(QPalette::Window, Qt::black);
    setPalette(dark);
    setAutoFillBackground(true);
    displayWindow_ = std::make_unique<viewer::ViewerDisplayWindow>(*this);
    displayModes_ = std::make_unique<viewer::ViewerDisplayModes>(settings_, *displayWindow_);
}

CTvViewerDlg* CTvViewerDlg::open(std::unique_ptr<ViewerHost> owned) {
    ViewerHost& host = *owned;
    auto* viewer = new CTvViewerDlg(std::move(owned));
    host.closeSiblingPrograms();
    viewer->remote_ = host.createRemoteReceivingWindow();
    if (!viewer->remote_ || !viewer->remote_->valid()) {
        viewer->saved_ = true;
        delete viewer;
        return nullptr;
    }
    viewer->buildMessageMap();
    viewer->initialise();
    // Findable as "Kelto TV" once it has opened (or refused and is closing).
    viewer->wiring().createPlatformWindow("#32770", "Kelto TV", host.windowSystem());
    return viewer;
}

void CTvViewerDlg::refuse(std::optional<OpeningRefusal> refusal) {
    if (refusal) showRefusal(this, *refusal);
    postCloseRequest();
}

void CTvViewerDlg::postCloseRequest() {
    refused_ = true;
    // Through the event loop, so the close (and its saving) runs after the initialisation.
    QMetaObject::invokeMethod(
        this, [this] { wiring().dispatch(WindowMessage{windowHandle(), platform::WM_CLOSE, 0, 0, 0, {}, false}); },
        Qt::QueuedConnection);
}

void CTvViewerDlg::initialise() {
    if (const auto refusal = checkOperatingSystem()) return refuse(refusal);
    setWindowIcon(iconResource(128));
    const auto countryFile = findCountryFile(platform::windowsFolder());
    if (!countryFile) return refuse(OpeningRefusal::NoCountryFile);
    countryFile_ = countryFile->string();

    // Keeps the display from blanking while the viewer is open.
    keepDisplayOn();
    timers().set(kDisplayInUseTimer, kDisplayInUsePeriodMs, framework::WindowTimers::Mode::Repeating);

    const QSize screen = screenSize();
    SettingsLoadContext context;
    context.desktopWidth = screen.width();
    context.desktopHeight = screen.height();
    context.captureFolder =
        store_.readString(section::kUser, "f_directory", platform::deriveCaptureFolder(platform::programPath().string()));
    hardware_ = std::make_unique<ViewerHardware>(store_, this);
    settings_ = loadViewerSettings(store_, context, [&](int countryCode, const std::string& frequencyName) {
        return hardware_->chooseTables(countryFile_, countryCode, frequencyName);
    });
    settingsLoaded_ = true;
    if (hardware_->tableSource() == TableSource::ConfigFile)
        showCountryPlanNotice(this, store_, countryFile_, settings_.countryCode);
    displayModes_->applyLoaded();

    const auto driver = drivers::CaptureDriverList::describe(0);
    if (const auto refusal = checkDisplay(driver.value_or(drivers::CaptureDriverDescription{}), primaryDisplayMode()))
        return refuse(refusal);

    panel_.width = settings_.window.width > 0 ? settings_.window.width : viewer::kDefaultWidth;
    // The capture window, its driver and the tuner controller (their refusals show their own
    // messages).
    if (const auto refusal = hardware_->start(settings_, countryFile_)) {
        postCloseRequest();
        return;
    }
    if (auto* picture = hardware_->captureWindow().GetWindow()) watchPictureMouse(*picture);
    // Each refresh of the picture size (the driver's format dialog) becomes the recording frame size.
    hardware_->captureWindow().SetSizeListener([this](std::uint32_t width, std::uint32_t height) {
        settings_.capStreamWidth = int(width);
        settings_.capStreamHeight = int(height);
    });

    mixer_ = std::make_unique<mixer::CMixerVolume>();
    session_ = std::make_unique<viewer::ViewerSession>(viewer::ViewerParts{
        settings_, store_, hardware_->model(), hardware_->controller(), *mixer_, *this, *this, *this, &keypad_, this});
    if (!session_->openMixer(this)) {
        // The viewer goes on without volume control; the notice comes once the window is open,
        // so nothing of the opening waits for the user.
        QMetaObject::invokeMethod(
            this, [viewer = QPointer<CTvViewerDlg>(this)] {
                if (viewer && !viewer->closed_) showRefusal(nullptr, OpeningRefusal::Mixer);
            },
            Qt::QueuedConnection);
    }

    wiring().loadAccelerators(kAcceleratorTable);
    session_->applyPictureLevels();

    const QRect saved(settings_.window.x, settings_.window.y, settings_.window.width, settings_.window.height);
    setGeometry(viewer::openingRect(saved, settings_.fullScreen != 0, screen));
    layoutChildren();
    session_->applyLoadedMode();

    show();
    setFocus();
    createDisplayWindows();
    timers().set(kRepaintTimer, 500, framework::WindowTimers::Mode::OneShot);
    // Saved in full screen: it opens so again once the window is up.
    // (Through the event loop, as the window's own message once its platform window exists.)
    if (settings_.fullScreen)
        QMetaObject::invokeMethod(
            this, [this] { wiring().dispatch(WindowMessage{windowHandle(), kMsgViewerPlacement, 1, 0, 0, {}, false}); },
            Qt::QueuedConnection);
}

// The on-screen display over the picture, and the captured-image viewer, hidden, 30 pixels wider
// and 50 taller than the picture the card delivers now.
void CTvViewerDlg::createDisplayWindows() {
    auto& capture = hardware_->captureWindow();
    if (auto* picture = capture.GetWindow()) osd_ = new viewer::OsdWindow(*picture);
    const QSize image(int(capture.GetImageWidth()), int(capture.GetImageHeight()));
    imageWindow_ = std::make_unique<viewer::CImageWindow>(image);
}

void CTvViewerDlg::keepDisplayOn() {
    keepingDisplayOn_ = true;
    platform::screenSaverInhibitor().keepDisplayOn();  // the backend traces when it cannot
}

void CTvViewerDlg::allowDisplayOff() {
    if (!keepingDisplayOn_) return;
    keepingDisplayOn_ = false;
    platform::screenSaverInhibitor().allowDisplayOff();
}

void CTvViewerDlg::buildMessageMap() {
    framework::MessageMap& map = messageMap();
    map.onMessage(platform::WM_TIMER, [this](const WindowMessage& m) {
        onTimer(int(m.wParam));
        return std::int64_t(0);
    });
    map.onMessage(platform::WM_CHAR, [this](const WindowMessage& m) {
        if (session_) session_->onCharacter(std::uint32_t(m.wParam));
        return std::int64_t(0);
    });
    map.onMessage(remote::kFullScreen, [this](const WindowMessage&) {
        if (!session_ || session_->companions().multiScreenOpen || displayModes_->desktopTvOn()) return std::int64_t(0);
        wiring().sendCommand(32779);
        return std::int64_t(0);
    });
    for (std::uint32_t message : {remote::kMute, remote::kSource, remote::kPrevious, remote::kAdjust})
        map.onMessage(message, [this](const WindowMessage& m) {
            if (session_) session_->onRemoteMessage(m.message);
            return std::int64_t(0);
        });
    map.onMessage(remote::kCapture, [this](const WindowMessage&) {
        captureNextStill();
        return std::int64_t(0);
    });
    map.onMessage(kMsgViewerClose, [this](const WindowMessage&) {
        host_.windowSystem().postMessage(windowHandle(), platform::WM_CLOSE, 0, 0);
        return std::int64_t(0);
    });
    map.onMessage(kMsgViewerPlacement, [this](const WindowMessage& m) {
        if (m.wParam != 0) {
            displayModes_->enterFullScreen();
        } else if (m.fromOtherProcess) {
            // An address is only good inside this process: another program's rectangle is refused.
            platform::tracef("Viewer: a placement from another program carries an address; ignored");
        } else if (m.lParam != 0) {
            const int* r = reinterpret_cast<const int*>(m.lParam);
            setGeometry(r[0], r[1], r[2], r[3] - 1);
            show();
        }
        return std::int64_t(0);
    });
    map.onMessage(kMsgViewerAbout, [this](const WindowMessage&) {
        host_.showAboutBox(this);
        return std::int64_t(0);
    });
    map.onMessage(kMsgDebugTexts, [](const WindowMessage& m) {
        // Texts carried in the message: a count and that many text pointers, which only this
        // process's own senders can give.
        if (m.fromOtherProcess) return std::int64_t(0);
        const auto count = std::size_t(m.wParam);
        const auto* texts = reinterpret_cast<const char* const*>(m.lParam);
        for (std::size_t i = 0; texts && i < count && i < 64; ++i)
            if (texts[i]) platform::tracef("Viewer: %s", texts[i]);
        return std::int64_t(0);
    });
    map.onMessage(kMsgSiblingNotice, [](const WindowMessage&) { return std::int64_t(0); });
    map.onMessage(platform::WM_SYSCOMMAND, [this](const WindowMessage& m) { return onSystemCommand(m); });
    for (std::uint32_t message : {viewer::kMsgMixerLineChange, viewer::kMsgMixerControlChange})
        map.onMessage(message, [this](const WindowMessage& m) {
            if (session_) session_->onMixerMessage(m.message, isActiveWindow());
            return std::int64_t(0);
        });
    mapCommands();
}

void CTvViewerDlg::mapCommands() {
    framework::MessageMap& map = messageMap();
    using namespace viewer::command;
    for (int id : {kModeTv, kModeTvKey, kModeCatv, kModeCatvKey, kModeVideo, kModeVideoKey, kModeSvhsKey, kNextMode,
                   kPreviousChannel, kSaveChannel, kDeleteChannel, kChannelUp, kChannelDown, kVolumeUp, kVolumeDown,
                   kMuteToggle})
        map.onCommand(id, [this, id] {
            if (session_) viewer::runViewerCommand(*session_, id);
        });
    map.onCommand(32797, [this] { host_.showAboutBox(this); });
    for (int id : {32774, 32777, 32800, 32832, 32778, 32779, 32780, 32790})
        map.onCommand(id, [this, id] { displayModes_->runCommand(id); });
    map.onCommand(32784, [this] {
        frozen_ = !frozen_;
        if (hardware_) hardware_->controller().Freeze(frozen_ ? 1 : 0);
    });
    map.onCommand(32866, [this] { stillCaptureRequest(); });
    map.onCommand(32867, [this] {
        if (!session_ || closed_) return;
        if (!serialCapture_)
            serialCapture_ = std::make_unique<viewer::SerialStillCapture>([this] { return captureNextStill(); });
        serialCapture_->start(settings_.closedCaptions);
    });
    map.onCommand(32868, [this] { setStillFileType(0); });
    map.onCommand(32869, [this] { setStillFileType(1); });
    for (int id : {32906, 32910})
        map.onCommand(id, [this] { setStillFileType(settings_.imageFormat == 0 ? 1 : 0); });
    map.onCommand(32870, [this] {
        if (!session_ || session_->recording()) return;
        RecordStream(nextRecordingFileName());
    });
    for (const int type : {0, 1, 2}) map.onCommand(32872 + type, [this, type] { setRecordingType(type); });
    map.onCommand(32886, [this] { openFrequencyTables(); });
    map.onCommand(32776, [this] { multiScreen(); });
    map.onCommand(32885, [this] { host_.openReservationList(); });
    map.onCommand(32786, [this] {
        settings_.closedCaptions = !settings_.closedCaptions;
        platform::tracef("Viewer: closed captions %s", settings_.closedCaptions ? "on" : "off");
    });
    for (int id : {32785, 57670}) map.onCommand(id, [] { viewer::openViewerHelp(); });
    map.onCommand(32782, [] { viewer::openHomePage(); });
    map.onCommand(32825, [this] { host_.windowSystem().postMessage(windowHandle(), platform::WM_CLOSE, 0, 0); });
    map.onCommand(1007, [this] { configSheet_.open(false); });
    map.onCommand(1005, [this] { captureSheet_.open(); });
    map.onCommand(1052, [this] { keypad_.open(); });
    // Items and keys without an action.
    for (int id : {32834, 32911, 32862, 32863, 32864, 32890, 32894, 32899, 32879}) map.onCommand(id, [] {});
}

void CTvViewerDlg::multiScreen() {
    if (!isTuner(settings_.videoMode)) return;
    const auto& multi = settings_.videoMode == VideoMode::CATV ? settings_.multiCatv : settings_.multiTv;
    bool any = false;
    for (int i = 1; i <= settings_.multiSelect && i < int(multi.size()); ++i) any = any || multi[std::size_t(i)] != 0;
    if (!any) {
        framework::messageBox(this, LoadMessage(232), framework::MessageButtons::Ok, framework::MessageIcon::Information);
        configSheet_.open(true);
        return;
    }
    if (multiScreen_ || !session_ || !hardware_) return;
    // The view lends the capture window and hides this window until it closes.
    setMultiScreenMark(true);
    multiScreen_ = viewer::multiscreen::CMultiScreenDlg::open(*this);
    if (!multiScreen_) return setMultiScreenMark(false);
    hide();
}

void CTvViewerDlg::setMultiScreenMark(bool open) {
    if (!session_) return;
    viewer::CompanionWindows companions = session_->companions();
    companions.multiScreenOpen = open;
    session_->setCompanions(companions);
}

void CTvViewerDlg::multiScreenClosed(int exitChannel, QSize frameSize) {
    // The capture window is a child of this window again: it fills the picture area at the
    // frame size it had before the view. The window shows before the tuning, so the picture's
    // change of size (delivered as it shows) does not take the channel's display away again.
    multiScreen_ = nullptr;
    layoutChildren();
    if (!closed_) show();
    if (hardware_ && frameSize.width() > 0 && frameSize.height() > 0)
        hardware_->captureWindow().SetFrameSize(frameSize.width(), frameSize.height());
    platform::clock().sleepMs(100);
    if (session_ && isTuner(settings_.videoMode)) session_->TuneChannel(exitChannel, true);
    setMultiScreenMark(false);
    muteCardAudio(false);
    update();
}

void CTvViewerDlg::onTimer(int timerId) {
    switch (timerId) {
    case kDisplayInUseTimer:
        keepDisplayOn();
        break;
    case kRepaintTimer:
        if (hardware_)
            if (auto* picture = hardware_->captureWindow().GetWindow()) picture->update();
        break;
    case kVolumeRepeatStartTimer:
        volumeRepeatFired_ = true;
        [[fallthrough]];
    case kVolumeRepeatTimer:
        if (session_ && pressedRegion_ == PanelRegion::VolumeUp) session_->volumeUp();
        else if (session_ && pressedRegion_ == PanelRegion::VolumeDown) session_->volumeDown();
        if (timerId == kVolumeRepeatStartTimer)
            timers().set(kVolumeRepeatTimer, 200, framework::WindowTimers::Mode::Repeating);
        break;
    case viewer::kDesktopTvHideTimer:
        timers().kill(viewer::kDesktopTvHideTimer);
        displayModes_->onHideTimer();
        break;
    case kStillCaptureTimer:
        timers().kill(kStillCaptureTimer);
        captureNextStill();
        break;
    case viewer::PictureMouse::kHoverTimer:
        if (pictureMouse_) pictureMouse_->hoverExpired();
        break;
    default:
        if (session_) session_->onTimer(timerId);
        break;
    }
}

void CTvViewerDlg::stillCaptureRequest() {
    timers().set(kStillCaptureTimer, settings_.closedCaptions ? 100 : 1, framework::WindowTimers::Mode::OneShot);
}

std::string CTvViewerDlg::captureNextStill() {
    if (!hardware_ || !hardware_->captureWindow().GetWindow()) return {};
    const bool jpg = settings_.imageFormat == 1;
    const auto path = viewer::reserveStillFile(jpg ? settings_.jpgDirectory : settings_.bmpDirectory,
                                               jpg ? settings_.jpgFileName : settings_.bmpFileName,
                                               jpg ? capture::StillFileType::Jpg : capture::StillFileType::Bmp);
    if (!path) {
        if (session_)
            session_->showOsdText({"CAPTURE FAILED", viewer::OsdAlign::Centre, viewer::OsdEdge::Top, settings_.osdColor, true, 10});
        return {};
    }
    return CaptureStill(*path) ? *path : std::string();
}

bool CTvViewerDlg::CaptureStill(const std::string& path) {
    if (!session_ || !hardware_) return false;
    // The announcement stays until another text replaces it.
    session_->showOsdText({"CAPTURE : " + path, viewer::OsdAlign::Centre, viewer::OsdEdge::Top, settings_.osdColor, false, 10});
    auto& capture = hardware_->captureWindow();
    const bool saved = capture.SaveFrameAsBitmapFile(path) != 0;
    if (!saved) {
        platform::tracef("Viewer: the picture could not be saved to %s", path.c_str());
        std::error_code ignored;
        if (std::filesystem::exists(path, ignored) && std::filesystem::file_size(path, ignored) == 0)
            std::filesystem::remove(path, ignored);  // the empty reservation, not a picture
        session_->showOsdText({"CAPTURE FAILED", viewer::OsdAlign::Centre, viewer::OsdEdge::Top, settings_.osdColor, true, 10});
        return false;
    }
    if (settings_.imageShow != 0 && imageWindow_)
        imageWindow_->presentCapture(path, QSize(int(capture.GetImageWidth()), int(capture.GetImageHeight())));
    captureSheet_.stillCaptured();
    return true;
}

// The still-picture type: a change is announced on the display and followed by the capture sheet.
void CTvViewerDlg::setStillFileType(int type) {
    if (settings_.imageFormat == type) return;
    settings_.imageFormat = type;
    if (session_)
        session_->showOsd(type == 1 ? "CAPTURE TYPE : JPG" : "CAPTURE TYPE : BMP", viewer::OsdAlign::Left,
                          viewer::OsdEdge::Bottom, 10);
    captureSheet_.stillTypeChanged();
}

// The recording type: a change is announced on the display and followed by the capture sheet.
void CTvViewerDlg::setRecordingType(int type) {
    if (settings_.streamFormat == type) return;
    settings_.streamFormat = type;
    static const char* const kTypeNames[] = {"AVI", "MPEG1", "MPEG2"};
    if (session_)
        session_->showOsd(std::string("RECORD TYPE : ") + kTypeNames[type], viewer::OsdAlign::Left,
                          viewer::OsdEdge::Bottom, 10);
    captureSheet_.recordingTypeChanged();
}

capture::CCaptureWindow* CTvViewerDlg::captureWindowOrNull() {
    return hardware_ && hardware_->captureWindow().IsWindow() ? &hardware_->captureWindow() : nullptr;
}

bool CTvViewerDlg::RecordStream(const std::string& file) {
    if (recordStream(file)) return true;
    framework::messageBox(this, LoadMessage(32878), framework::MessageButtons::Ok, framework::MessageIcon::Stop);
    return false;
}

std::int64_t CTvViewerDlg::defaultHandling(const WindowMessage& message) {
    if (message.message == platform::WM_SYSCOMMAND) return systemCommandDefault(message);
    return framework::Window::defaultHandling(message);
}

// --- closing

CTvViewerDlg::~CTvViewerDlg() {
    displayWindow_->showPictureOnDesktop(false);  // the picture comes home before it goes
    serialCapture_.reset();  // its threads end before anything they reach goes
    captureSheet_.destroy();  // so do the still page's
    delete multiScreen_.data();  // its worker ends and the capture window comes back first
    remote_.reset();  // withdrawn from the remote-controller program, then removed
    allowDisplayOff();  // destroyed without a close
    imageWindow_.reset();
    delete osd_;
    keypad_.destroy();  // it works on the session
    configSheet_.destroy();  // so do the sheet's pages
    session_.reset();
    if (mixer_) mixer_->Close();
    hardware_.reset();
    if (!closed_) host_.viewerClosed(this);  // destroyed without a close
}

void CTvViewerDlg::closeEvent(QCloseEvent* event) {
    if (recording()) {
        // Nothing the capture loop uses may go while it runs: end the recording, close after.
        closeAfterRecording_ = true;
        endRecording();
        event->ignore();
        return;
    }
    closed_ = true;
    // The multi-screen view goes first: it gives the capture window back when its worker ends
    // (the viewer, closing, does not show itself again for it).
    if (multiScreen_) {
        multiScreen_->wiring().dispatch(WindowMessage{multiScreen_->windowHandle(), platform::WM_CLOSE, 0, 0, 0, {}, false});
        for (int turn = 0; multiScreen_ && turn < 2000; ++turn) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
        delete multiScreen_.data();
    }
    keypad_.destroy();
    // Before the save: the sheet's pages hand the viewer what they keep when they go.
    configSheet_.destroy();
    captureSheet_.destroy();
    if (serialCapture_) serialCapture_->stopAll();
    host_.viewerClosed(this);
    timers().kill(kDisplayInUseTimer);
    allowDisplayOff();
    displayModes_->restoreAtClose();
    saveSettings();
    if (mixer_) mixer_->Close();
    if (hardware_) hardware_->stop();
    remote_.reset();
    if (framework::PlatformWindow* window = wiring().platformWindow()) window->destroy();
    event->accept();
}

void CTvViewerDlg::openFrequencyTables() {
    if (!hardware_ || !session_) return;
    // Modal and without a parent, as a window of its own; a table applied there is tuned from the
    // next time a channel is tuned, and its name is saved with the settings.
    viewer::freq::CFreqTableDlg dialog(hardware_->model(), hardware_->controller(), settings_.countryCode);
    dialog.exec();
    settings_.frequencyName = hardware_->model().activeTableName();
}

void CTvViewerDlg::saveSettings() {
    // A refused start has changed nothing of the user's: what it would write back is factory
    // values (before the settings were read) or a window never placed and channel lists never
    // handed to the channel model (after), either of which would overwrite the saved state.
    if (saved_ || refused_ || !settingsLoaded_ || !hardware_) return;
    const QRect frame = geometry();
    settings_.window = {frame.x(), frame.y(), frame.width(), frame.height()};
    hardware_->takeBackChannels(settings_);
    saveViewerSettings(store_, settings_);
    saved_ = true;
}

void CTvViewerDlg::activate() {
    showNormal();
    raise();
    activateWindow();
}

// --- the on-screen keypad's side

viewer::ViewerKeypad::ViewerSide CTvViewerDlg::keypadSide() {
    viewer::ViewerKeypad::ViewerSide side;
    side.window = this;
    side.session = [this] { return closed_ ? nullptr : session_.get(); };
    side.sendCommand = [this](int command, bool fromAccelerator) {
        wiring().sendCommand(command, fromAccelerator ? framework::WindowWiring::kFromAccelerator
                                                      : framework::WindowWiring::kFromMenuOrButton);
    };
    side.postCommand = [this](int command) {
        host_.windowSystem().postMessage(windowHandle(), platform::WM_COMMAND, std::uint64_t(command), 0);
    };
    // Desktop TV is not part of this window yet: it is never on.
    side.desktopTvOn = [this] { return displayModes_ && displayModes_->desktopTvOn(); };
    side.maximised = [this] { return showState().maximised; };
    side.tooltipsOn = [this] { return settings_.tooltip != 0; };
    side.setKeypadOpen = [this](bool open) {
        if (!session_) return;
        viewer::CompanionWindows companions = session_->companions();
        companions.keypadOpen = open;
        session_->setCompanions(companions);
    };
    // The window gives its panel's 60 pixels to the picture while the keypad is open (a maximised
    // window keeps its size: it gets its own back when it leaves full screen).
    side.fitPanelToKeypad = [this](bool open) {
        if (!showState().maximised) resize(width(), height() + (open ? -viewer::kPanelHeight : viewer::kPanelHeight));
        layoutChildren();
        update();
    };
    return side;
}

viewer::SheetWindowChanges::ViewerSide CTvViewerDlg::sheetWindowSide(std::function<void(bool open)> setSheetOpen) {
    viewer::SheetWindowChanges::ViewerSide side;
    side.window = this;
    side.setSheetOpen = [this, setSheetOpen = std::move(setSheetOpen)](bool open) {
        if (!session_) return;
        setSheetOpen(open);
        layoutChildren();
        update();
    };
    side.alwaysOnTop = [this] { return settings_.aboveScreen != 0; };
    side.setTopmost = [this](bool topmost) { displayWindow_->setTopmost(topmost); };
    side.maximised = [this] { return showState().maximised; };
    side.leaveMaximised = [this](int extraHeight) {
        // The rectangle the window comes back to: its normal one, or the one it had before full
        // screen switched the display (placed at once by the toggle).
        const bool switched = displayModes_->displaySwitched();
        const QRect normal = normalGeometry();
        displayModes_->toggleFullScreen();
        if (extraHeight == 0) return;
        const QRect back = switched ? geometry() : normal;
        setGeometry(back.adjusted(0, 0, 0, extraHeight));
        layoutChildren();
        update();
    };
    side.growWindow = [this](int pixels) {
        resize(width(), height() + pixels);
        layoutChildren();
        update();
    };
    side.desktop = [this] { return screen()->availableGeometry(); };
    return side;
}

viewer::ViewerConfigSheet::ViewerSide CTvViewerDlg::configSheetSide() {
    viewer::ViewerConfigSheet::ViewerSide side;
    side.window = sheetWindowSide([this](bool open) {
        viewer::CompanionWindows companions = session_->companions();
        companions.configSheetOpen = open;
        session_->setCompanions(companions);
    });
    side.viewer = [this]() -> viewer::config::SheetViewer* {
        return closed_ || !session_ || !hardware_ ? nullptr : &sheetViewer();
    };
    return side;
}

viewer::ViewerCaptureSheet::ViewerSide CTvViewerDlg::captureSheetSide() {
    viewer::ViewerCaptureSheet::ViewerSide side;
    side.window = sheetWindowSide([this](bool open) {
        viewer::CompanionWindows companions = session_->companions();
        companions.captureSheetOpen = open;
        session_->setCompanions(companions);
    });
    side.viewer = [this]() -> viewer::capturesheet::CaptureSheetViewer* {
        return closed_ || !session_ || !hardware_ ? nullptr : &captureSheetViewer();
    };
    return side;
}

// --- geometry and painting

bool CTvViewerDlg::panelShown() const {
    const auto open = displayWindow_->companions();
    return displayModes_->panelVisible() && !open.keypadOpen && !open.configSheetOpen && !open.captureSheetOpen;
}

QRect CTvViewerDlg::panelRect() const {
    if (!panelShown()) return QRect();
    return QRect(0, height() - viewer::kPanelHeight, width(), viewer::kPanelHeight);
}

QRect CTvViewerDlg::pictureRect() const {
    const QRect above(0, 0, width(), height() - panelRect().height());
    return settings_.windowTle != 0 && !showState().maximised ? viewer::TvFramePainter::pictureRect(above) : above;
}

void CTvViewerDlg::layoutChildren() {
    laidOut_ = size();
    panel_.width = width();
    // While the multi-screen view has the capture window, the view places it.
    if (hardware_ && !displayWindow_->pictureOnDesktop() && !multiScreen_) {
        const QRect picture = pictureRect();
        hardware_->setPictureGeometry(picture.x(), picture.y(), picture.width(), picture.height());
    }
}

void CTvViewerDlg::resizeEvent(QResizeEvent*) {
    // Every size change takes the display away and re-establishes the picture (the first
    // showing at the size it was laid out for is no change).
    if (size() == laidOut_) return;
    if (pictureMouse_) pictureMouse_->afterSizeChange();
    if (session_) session_->hideOsd();
    layoutChildren();
    if (hardware_) {
        hardware_->captureWindow().SetOverlay(false);
        hardware_->captureWindow().SetOverlay(true);
    }
    update();
}

void CTvViewerDlg::moveEvent(QMoveEvent*) { layoutChildren(); }

void CTvViewerDlg::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (isMinimized()) return viewer::paintMinimisedIcon(painter, rect());
    const QRect above(0, 0, width(), height() - panelRect().height());
    if (settings_.windowTle != 0 && !showState().maximised) viewer::TvFramePainter::paint(painter, above);
    if (!panelShown()) return;
    painter.translate(panelRect().topLeft());
    viewer::PanelPainter::paint(painter, panel_);
}

// --- the session's ports

void CTvViewerDlg::ShowOsdText(const viewer::OsdText& text) {
    if (!osd_) return;  // before the display window exists nothing is shown
    const QColor colour(text.color.red & 0xFF, text.color.green & 0xFF, text.color.blue & 0xFF);
    osd_->showText(QString::fromStdString(text.text), text.align, text.edge, colour, text.marginPx);
}

void CTvViewerDlg::hideOsd() {
    if (osd_) osd_->hideText();
}

viewer::OsdWindow* CTvViewerDlg::onScreenDisplay() const { return osd_; }

QString CTvViewerDlg::onScreenText() const { return osd_ && !osd_->isHidden() ? osd_->text() : QString(); }

void CTvViewerDlg::showChannelNumber(int number) {
    panel_.channelNumber = number;
    update(panelRect());
}
void CTvViewerDlg::showVolumeStep(int step) {
    panel_.volumeStep = step;
    update(panelRect());
    applyLiveSoundLevel();
}
void CTvViewerDlg::showMute(bool muted) {
    panel_.muted = muted;
    update(panelRect());
    applyLiveSoundLevel();
}
void CTvViewerDlg::applyLiveSoundLevel() {
    auto* widget = hardware_ ? hardware_->captureWindow().GetWindow() : nullptr;
    if (!widget) return;
    const bool mixerOpened = session_ && session_->volume().opened();
    widget->service().setLiveSoundLevel(viewer::liveSoundLevel(panel_.muted, panel_.volumeStep, mixerOpened));
}
void CTvViewerDlg::showVideoMode(VideoMode mode) {
    panel_.videoMode = int(mode);
    update(panelRect());
}
void CTvViewerDlg::startTimer(int timerId, std::uint32_t periodMs) {
    timers().set(timerId, periodMs, framework::WindowTimers::Mode::OneShot);
}
void CTvViewerDlg::stopTimer(int timerId) { timers().kill(timerId); }

void CTvViewerDlg::onMixerMessage(std::uint32_t message, std::uintptr_t, std::uintptr_t) {
    if (session_) session_->onMixerMessage(message, isActiveWindow());
}

// --- ViewerControls: through the session

void CTvViewerDlg::setVideoMode(VideoMode mode) {
    if (session_) session_->SetVideoMode(mode);
}
int CTvViewerDlg::currentChannel() const {
    return settings_.videoMode == VideoMode::CATV ? settings_.catvChannel : settings_.tvChannel;
}
void CTvViewerDlg::tuneChannel(int channel) {
    if (session_) session_->TuneChannel(channel, true);
}
RegisteredList CTvViewerDlg::registeredList(VideoMode mode) const {
    if (session_) return session_->registeredList(mode);
    return mode == VideoMode::CATV ? settings_.catvList : settings_.tvList;
}
ChannelBounds CTvViewerDlg::channelBounds() const { return hardware_ ? hardware_->bounds() : ChannelBounds{}; }

RecordingSetup CTvViewerDlg::recordingSetup() {
    RecordingSetup setup;
    if (!hardware_) return setup;
    if (const auto values = capture::GetRecordingSetup(hardware_->captureWindow(), store_))
        setup = {values->frameRate, values->limitFlag, values->limitSeconds, values->audioFlag};
    return setup;
}

void CTvViewerDlg::setRecordingSetup(const RecordingSetup& setup) {
    if (!hardware_) return;
    capture::SetRecordingSetup(hardware_->captureWindow(), store_,
                               {setup.frameRate, setup.limitOn, setup.limitSeconds, setup.captureAudio});
}

std::string CTvViewerDlg::nextRecordingFileName() {
    switch (settings_.streamFormat) {
    case 1: return capture::NextCaptureFileName(settings_.mpg1Directory, settings_.mpg1FileName, capture::RecordingType::Mpeg1);
    case 2: return capture::NextCaptureFileName(settings_.mpg2Directory, settings_.mpg2FileName, capture::RecordingType::Mpeg2);
    default: return capture::NextCaptureFileName(settings_.aviDirectory, settings_.aviFileName, capture::RecordingType::Avi);
    }
}

bool CTvViewerDlg::recordStream(const std::string& file) {
    if (!session_ || closed_) return false;
    const bool ok = session_->recordStream(file);
    if (closeAfterRecording_) {
        closeAfterRecording_ = false;
        // From the event loop (the caller of recordStream still uses this viewer), and before
        // what waited in the agent, so nothing is started again on a viewer that is closing.
        QMetaObject::invokeMethod(
            this, [this] {
                if (!closed_) close();
            },
            Qt::QueuedConnection);
    }
    host_.recordingEnded();
    return ok;
}

void CTvViewerDlg::endRecording() {
    if (session_) session_->endRecording();
}

// RecordingPort
bool CTvViewerDlg::recordStream(const std::string& file, int streamFormat) {
    if (!hardware_) return false;
    // A paused picture runs again, so the recording holds live television.
    if (frozen_) {
        frozen_ = false;
        hardware_->controller().Freeze(0);
    }
    // The sound format kept in the store (the capture sheet's choice) is the one recorded.
    capture::CCaptureWindow& capture = hardware_->captureWindow();
    if (const auto audio = capture::GetAudioFormat(capture, store_)) capture::SetAudioFormat(capture, store_, *audio);
    // The user sees that a recording runs, and for how long, until it ends.
    const ColorTriple& colour = settings_.osdColor;
    const viewer::RecordingIndicatorShown indicator(capture, QColor(colour.red & 0xFF, colour.green & 0xFF, colour.blue & 0xFF));
    return capture.CaptureVideoStream(file, streamFormat) != 0;
}
void CTvViewerDlg::stopRecording() {
    if (hardware_) hardware_->captureWindow().StopCaptureVideoStream();
}

// --- the context menu

viewer::ContextMenuState CTvViewerDlg::contextMenuState() const {
    viewer::ContextMenuState s;
    s.alwaysOnTop = settings_.aboveScreen != 0;
    s.tvFrame = settings_.windowTle != 0;
    s.panelCollapsed = displayModes_->panelCollapsed();
    s.frozen = frozen_;
    s.option640x480 = settings_.forceDisplayChange != 0;
    s.closedCaptions = settings_.closedCaptions;
    s.maximised = isMaximized() || isFullScreen();
    s.stillType = settings_.imageFormat;
    s.recordingType = settings_.streamFormat;
    s.videoMode = int(settings_.videoMode);
    s.enableSvhs = settings_.enableSvhs != 0;
    s.countryCode = settings_.countryCode;
    if (session_) {
        const auto& c = session_->companions();
        s.keypadOpen = c.keypadOpen;
        s.configSheetOpen = c.configSheetOpen;
        s.captureSheetOpen = c.captureSheetOpen;
    }
    return s;
}

void CTvViewerDlg::showContextMenu(const QPoint& globalPos) {
    const viewer::ContextMenuState state = contextMenuState();
    if (state.option640x480 && state.maximised) return;
    const auto menu = loadMenu(viewer::kContextMenuId);
    if (!menu) return;
    const MenuItem* popup = nullptr;
    for (const MenuItem& child : menu->children)
        if (child.kind == MenuItem::Kind::Popup && child.text == viewer::kContextPopup) popup = &child;
    if (!popup) return;
    const MenuItem prepared = viewer::prepareContextMenu(*popup, state);
    delete contextMenu_;
    contextMenu_ = framework::buildMenu(prepared, this, [this](int command) { wiring().sendCommand(command); });
    if (contextMenuExec) contextMenu_->popup(globalPos);
}

// --- mouse: the panel, moving and sizing the window, the picture's own rules

std::optional<viewer::SizingEdge> CTvViewerDlg::edgeAt(const QPoint& at) const {
    const bool left = at.x() < kSizingBorderPx, right = at.x() >= width() - kSizingBorderPx;
    const bool top = at.y() < kSizingBorderPx, bottom = at.y() >= height() - kSizingBorderPx;
    using E = viewer::SizingEdge;
    if (top && left) return E::TopLeft;
    if (top && right) return E::TopRight;
    if (bottom && left) return E::BottomLeft;
    if (bottom && right) return E::BottomRight;
    if (left) return E::Left;
    if (right) return E::Right;
    if (top) return E::Top;
    if (bottom) return E::Bottom;
    return std::nullopt;
}

void CTvViewerDlg::applySizing(viewer::SizingEdge edge, const QRect& proposed) {
    const bool panelVisible = panelShown();
    const auto open = displayWindow_->companions();
    const auto limits = viewer::trackingLimits(panelVisible, open.keypadOpen || open.configSheetOpen || open.captureSheetOpen,
                                               open.captureSheetOpen, screenSize());
    QRect bounded = proposed;
    bounded.setWidth(std::clamp(proposed.width(), limits.smallest.width(), limits.largest.width()));
    bounded.setHeight(std::clamp(proposed.height(), limits.smallest.height(), limits.largest.height()));
    setGeometry(viewer::sizedRect(geometry(), bounded, edge, panelVisible));
}

void CTvViewerDlg::pressPanel(const QPoint& at, bool doubleClick) {
    const viewer::PanelLayout layout(width());
    const QPoint inPanel = at - panelRect().topLeft();
    const auto region = layout.regionAt(inPanel);
    if (!region) {
        if (!doubleClick) dragOffset_ = at;  // moves the window as a caption drag would
        return;
    }
    if (doubleClick && *region != PanelRegion::VolumeUp && *region != PanelRegion::VolumeDown) return;
    if (!viewer::isRegionActive(*region, int(settings_.videoMode))) return;
    pressedRegion_ = region;
    panel_.setPressed(*region, true);
    if (*region == PanelRegion::VolumeUp || *region == PanelRegion::VolumeDown) {
        volumeRepeatFired_ = false;
        timers().set(kVolumeRepeatStartTimer, 500, framework::WindowTimers::Mode::OneShot);
    }
    grabMouse();
    update(panelRect());
}

void CTvViewerDlg::releasePanel(const QPoint& at) {
    const auto region = *pressedRegion_;
    pressedRegion_.reset();
    panel_.releaseAll();
    releaseMouse();
    timers().kill(kVolumeRepeatStartTimer);
    timers().kill(kVolumeRepeatTimer);
    update(panelRect());
    const viewer::PanelLayout layout(width());
    if (layout.regionAt(at - panelRect().topLeft()) != region || !session_) return;
    switch (region) {
    case PanelRegion::ChannelUp: session_->channelUp(); break;
    case PanelRegion::ChannelDown: session_->channelDown(); break;
    case PanelRegion::VolumeUp:
        if (!volumeRepeatFired_) session_->volumeUp();
        break;
    case PanelRegion::VolumeDown:
        if (!volumeRepeatFired_) session_->volumeDown();
        break;
    case PanelRegion::Exit: host_.windowSystem().postMessage(windowHandle(), platform::WM_CLOSE, 0, 0); break;
    case PanelRegion::Capture: wiring().sendCommand(1005); break;
    case PanelRegion::Configuration: wiring().sendCommand(1007); break;
    case PanelRegion::Mute: session_->muteToggle(); break;
    case PanelRegion::VideoSource: session_->nextVideoMode(); break;
    case PanelRegion::Keypad: wiring().sendCommand(1052); break;
    case PanelRegion::Information:
    case PanelRegion::ChannelInformation: break;
    }
}

void CTvViewerDlg::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::LeftButton) {
        if (const auto edge = edgeAt(at); edge && !showState().maximised && !displayModes_->programMaximised()) {
            sizingEdge_ = edge;
            sizingStart_ = geometry();
            sizingPress_ = event->globalPosition().toPoint();
            return;
        }
        if (panelRect().contains(at)) return pressPanel(at, false);
        dragOffset_ = at;
        return;
    }
    // A right click on the panel strip shows nothing; elsewhere (the frame round the picture)
    // it shows the context menu.
    if (event->button() == Qt::RightButton && !panelRect().contains(at)) showContextMenu(event->globalPosition().toPoint());
}

void CTvViewerDlg::mouseMoveEvent(QMouseEvent* event) {
    const QPoint global = event->globalPosition().toPoint();
    if (sizingEdge_) {
        const QPoint d = global - sizingPress_;
        QRect proposed = sizingStart_;
        using E = viewer::SizingEdge;
        const E e = *sizingEdge_;
        if (e == E::Left || e == E::TopLeft || e == E::BottomLeft) proposed.setLeft(proposed.left() + d.x());
        if (e == E::Right || e == E::TopRight || e == E::BottomRight) proposed.setRight(proposed.right() + d.x());
        if (e == E::Top || e == E::TopLeft || e == E::TopRight) proposed.setTop(proposed.top() + d.y());
        if (e == E::Bottom || e == E::BottomLeft || e == E::BottomRight) proposed.setBottom(proposed.bottom() + d.y());
        applySizing(e, proposed);
        return;
    }
    if (dragOffset_ && (event->buttons() & Qt::LeftButton)) {
        move(global - *dragOffset_);
        return;
    }
    // The sizing cursors over the edges.
    using E = viewer::SizingEdge;
    const auto edge = edgeAt(event->position().toPoint());
    int cursorId = 227;
    if (edge == E::Left || edge == E::Right) cursorId = 228;
    else if (edge == E::Top || edge == E::Bottom) cursorId = 235;
    else if (edge == E::TopLeft || edge == E::BottomRight) cursorId = 237;
    else if (edge == E::TopRight || edge == E::BottomLeft) cursorId = 236;
    setCursor(cursorResource(cursorId));
}

void CTvViewerDlg::mouseReleaseEvent(QMouseEvent* event) {
    QToolTip::hideText();
    if (event->button() != Qt::LeftButton) return;
    sizingEdge_.reset();
    dragOffset_.reset();
    if (pressedRegion_) releasePanel(event->position().toPoint());
}

void CTvViewerDlg::mouseDoubleClickEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::LeftButton && panelRect().contains(at)) pressPanel(at, true);
}

void CTvViewerDlg::watchPictureMouse(QWidget& picture) {
    viewer::PictureMouse::ViewerSide side;
    side.maximised = [this] { return showState().maximised; };
    side.minimised = [this] { return isMinimized(); };
    side.multiScreenOpen = [this] { return session_ && session_->companions().multiScreenOpen; };
    side.pressOnMultiScreen = [this](QPoint at) {
        if (multiScreen_) multiScreen_->pressOnPicture(at);
    };
    side.showContextMenu = [this](QPoint global) { showContextMenu(global); };
    side.postFullScreenToggle = [this] {
        host_.windowSystem().postMessage(windowHandle(), platform::WM_COMMAND, 32779, 0);
    };
    pictureMouse_ = new viewer::PictureMouse(picture, *this, timers(), std::move(side));
}

// --- the panel's tooltips

bool CTvViewerDlg::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        showPanelTip(help->pos(), help->globalPos());
        return true;
    }
    return framework::Window::event(event);
}

void CTvViewerDlg::showPanelTip(const QPoint& at, const QPoint& globalPos) {
    const QRect panel = panelRect();
    const auto tip = panel.contains(at) ? viewer::panelTipAt(width(), at - panel.topLeft(), settings_.tooltip != 0)
                                        : std::nullopt;
    if (!tip) return QToolTip::hideText();
    QToolTip::showText(globalPos, tip->text, this, tip->region.translated(panel.topLeft()));
}

// --- the system menu and the window's state

viewer::WindowShowState CTvViewerDlg::showState() const {
    return {isMinimized(), isMaximized() || isFullScreen()};
}

void CTvViewerDlg::showSystemMenu(const QPoint& globalPos) {
    delete systemMenu_;
    systemMenu_ = framework::buildMenu(viewer::systemMenu(showState()), this, [this](int command) {
        wiring().dispatch(WindowMessage{windowHandle(), platform::WM_SYSCOMMAND, std::uint64_t(command), 0, 0, {}, false});
    });
    if (contextMenuExec) systemMenu_->popup(globalPos);
}

std::int64_t CTvViewerDlg::onSystemCommand(const WindowMessage& message) {
    const auto action = viewer::systemCommandAction(std::uint32_t(message.wParam), showState());
    const bool nested = inSystemCommand_;
    inSystemCommand_ = true;
    using Kind = viewer::SystemCommandAction::Kind;
    std::int64_t answer = 0;
    switch (action.kind) {
    case Kind::AboutBox: host_.showAboutBox(this); break;
    case Kind::Command: wiring().sendCommand(action.command); break;
    case Kind::DefaultHandling: answer = defaultHandling(message); break;
    case Kind::Nothing: break;
    }
    inSystemCommand_ = nested;
    return answer;
}

std::int64_t CTvViewerDlg::systemCommandDefault(const WindowMessage& message) {
    switch (std::uint32_t(message.wParam) & 0xFFF0) {
    case platform::SC_KEYMENU: showSystemMenu(mapToGlobal(QPoint(0, 0))); break;
    case platform::SC_RESTORE:
        if (isMinimized()) showNormal();
        break;
    case platform::SC_CLOSE: host_.windowSystem().postMessage(windowHandle(), platform::WM_CLOSE, 0, 0); break;
    default: break;
    }
    return 0;
}

void CTvViewerDlg::changeEvent(QEvent* event) {
    framework::Window::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange) return;
    // A change of state is a change of size for the picture's cursor.
    if (pictureMouse_) pictureMouse_->afterSizeChange();
    if (inSystemCommand_) return;
    // The desktop minimised or maximised the window: the same handlers as the system menu's.
    const Qt::WindowStates old = static_cast<QWindowStateChangeEvent*>(event)->oldState();
    const viewer::WindowShowState before{bool(old & Qt::WindowMinimized),
                                         bool(old & (Qt::WindowMaximized | Qt::WindowFullScreen))};
    if (const auto command = viewer::systemCommandForStateChange(before, showState()))
        wiring().dispatch(WindowMessage{windowHandle(), platform::WM_SYSCOMMAND, *command, 0, 0, {}, false});
}

// --- keys that are not accelerators: digits of a channel number; everything else is swallowed

void CTvViewerDlg::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (key == Qt::Key_Space && event->modifiers() == Qt::AltModifier) {
        // Alt+Space: the system menu, as the system would open it.
        wiring().dispatch(WindowMessage{windowHandle(), platform::WM_SYSCOMMAND, platform::SC_KEYMENU, ' ', 0, {}, false});
        return event->accept();
    }
    if (session_ && key >= Qt::Key_0 && key <= Qt::Key_9) {
        const bool pad = event->modifiers() & Qt::KeypadModifier;
        session_->onDigitKey(std::uint32_t((pad ? 96 : 48) + (key - Qt::Key_0)));
    }
    event->accept();
}

}  // namespace kelto

// --- SheetViewer: the configuration sheet opens only over a started viewer (hardware and session).

namespace kelto {

ChannelModel& CTvViewerDlg::channelModel() { return hardware_->model(); }
CTunerController& CTvViewerDlg::tunerController() { return hardware_->controller(); }
int CTvViewerDlg::displayedNumber() const { return session_ ? session_->displayedNumber() : 0; }
void CTvViewerDlg::TuneChannel(int channel, bool showDisplay) {
    if (session_) session_->TuneChannel(channel, showDisplay);
}
void CTvViewerDlg::setScanInProgress(bool scanning) {
    if (session_) session_->setScanInProgress(scanning);
}
bool CTvViewerDlg::scanInProgress() const { return session_ && session_->scanInProgress(); }
void CTvViewerDlg::muteCardAudio(bool muted) {
    if (session_) session_->muteCardAudio(muted);
}
int CTvViewerDlg::qualityMode() const { return displayModes_->qualityMode(); }
void CTvViewerDlg::setQualityMode(int mode) { displayModes_->setQualityMode(mode); }
bool CTvViewerDlg::mixerOpen() const { return session_ && session_->volume().opened(); }
std::vector<std::string> CTvViewerDlg::mixerLineNames() {
    return mixerOpen() ? session_->volume().lineNames() : std::vector<std::string>{};
}
int CTvViewerDlg::selectedMixerLine() const { return settings_.volumeLine; }
void CTvViewerDlg::selectMixerLine(int line) {
    if (session_) session_->chooseMixerLine(line);
}
void CTvViewerDlg::setMultiScreen(int cells, const viewer::config::MultiScreenSlots& broadcast,
                                  const viewer::config::MultiScreenSlots& cable) {
    // Kept in the viewer's settings copy, which the close writes back to the store.
    settings_.multiSelect = cells;
    settings_.multiTv = broadcast;
    settings_.multiCatv = cable;
}

}  // namespace kelto
