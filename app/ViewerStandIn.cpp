#include "app/ViewerStandIn.h"

#include "app/AppMessages.h"
#include "app/CTrayAgentDlg.h"
#include "app/ProgramArt.h"
#include "app/RemoteReceivingWindow.h"
#include "app/ViewerOpening.h"
#include "capture/MotionCaptureSettings.h"
#include "capture/NextCaptureFileName.h"
#include "framework/ControlIds.h"
#include "platform/Paths.h"
#include "platform/Trace.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMetaObject>
#include <QScreen>

namespace kelto {

using platform::WindowMessage;

namespace {
bool isTuner(VideoMode mode) { return mode == VideoMode::TV || mode == VideoMode::CATV; }
}  // namespace

ViewerStandIn::ViewerStandIn(CTrayAgentDlg& agent) : framework::Window(nullptr), agent_(agent) {
    framework::stampResourceId(this, kResourceId);
    setWindowTitle(kViewerTitle);
    setWindowIcon(programIcon());
    setAttribute(Qt::WA_DeleteOnClose);
    setFocusPolicy(Qt::StrongFocus);
    QPalette dark = palette();
    dark.setColor(QPalette::Window, Qt::black);
    setPalette(dark);
    setAutoFillBackground(true);
}

ViewerStandIn* ViewerStandIn::open(CTrayAgentDlg& agent) {
    auto* viewer = new ViewerStandIn(agent);
    if (!viewer->create()) {
        viewer->saved_ = true;  // nothing was loaded that could be saved
        delete viewer;
        return nullptr;
    }
    viewer->show();
    viewer->setFocus();
    return viewer;
}

bool ViewerStandIn::create() {
    platform::WindowSystem& system = agent_.windowSystem();
    // Sibling programs and the remote-control receiving window come before the initialisation.
    closeSiblingPrograms(system);
    // Registered with the remote-controller program now, withdrawn when the window goes.
    remote_ = createRemoteReceivingWindow(system, kViewerRemoteTitle,
                                          framework::RemoteReceiver::Controller{kRemoteControllerClass, kMsgRemoteRegister});
    if (!remote_->valid()) return false;

    if (const auto refusal = checkOperatingSystem()) {
        showRefusal(this, *refusal);
        return false;
    }
    const auto countryFile = findCountryFile(platform::windowsFolder());
    if (!countryFile) {
        showRefusal(this, OpeningRefusal::NoCountryFile);
        return false;
    }
    const auto driver = drivers::CaptureDriverList::describe(0);
    if (const auto refusal = checkDisplay(driver.value_or(drivers::CaptureDriverDescription{}), primaryDisplayMode())) {
        showRefusal(this, *refusal);
        return false;
    }

    const QRect desktop = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->availableGeometry()
                                                           : QRect(0, 0, 1024, 768);
    SettingsLoadContext context;
    context.desktopWidth = desktop.width();
    context.desktopHeight = desktop.height();
    context.captureFolder = store_.readString(section::kUser, "f_directory", platform::deriveCaptureFolder(platform::programPath().string()));
    hardware_ = std::make_unique<ViewerHardware>(store_, this);
    settings_ = loadViewerSettings(store_, context, [&](int countryCode, const std::string& frequencyName) {
        return hardware_->chooseTables(countryFile->string(), countryCode, frequencyName);
    });
    setGeometry(settings_.window.x, settings_.window.y, settings_.window.width, settings_.window.height);
    // Without a plan for the country the country file's bands are empty; a table file of the
    // user's has channels of its own.
    if (hardware_->tableSource() == TableSource::ConfigFile)
        showCountryPlanNotice(this, store_, countryFile->string(), settings_.countryCode);

    if (hardware_->start(settings_, countryFile->string())) return false;

    osd_ = new QLabel(this);
    osd_->setStyleSheet(QString("color: rgb(%1,%2,%3); font: bold 22px 'DejaVu Sans'; background: transparent;")
                            .arg(settings_.osdColor.red)
                            .arg(settings_.osdColor.green)
                            .arg(settings_.osdColor.blue));
    osd_->setAttribute(Qt::WA_TransparentForMouseEvents);

    hardware_->applyMode(settings_.videoMode, currentChannel());
    if (isTuner(settings_.videoMode)) tuneChannel(currentChannel());
    else showOnScreen(videoModeLabel(settings_.videoMode));

    buildMessageMap();
    loadKeys();
    // WM_CLOSE is the window's default handling: it closes.
    return wiring().createPlatformWindow("#32770", kViewerTitle, system);
}

void ViewerStandIn::buildMessageMap() {
    framework::MessageMap& map = messageMap();
    map.onMessage(kMsgSiblingNotice, [](const WindowMessage&) { return std::int64_t(0); });
    map.onMessage(platform::WM_TIMER, [this](const WindowMessage& m) {
        if (int(m.wParam) != kOsdTimerId) return defaultHandling(m);
        if (osd_) osd_->hide();
        return std::int64_t(0);
    });
    map.onCommand(ID_CHANNEL_UP, [this] { stepRegistered(+1); });
    map.onCommand(ID_CHANNEL_DOWN, [this] { stepRegistered(-1); });
    map.onCommand(ID_STANDIN_NEXT_CHANNEL, [this] { tuneChannel(currentChannel() + 1); });
    map.onCommand(ID_STANDIN_PREVIOUS_CHANNEL, [this] { tuneChannel(currentChannel() - 1); });
}

void ViewerStandIn::loadKeys() {
    // The viewer's table, and the stand-in's page keys after it.
    AcceleratorTable keys = loadAccelerators(kAcceleratorTable).value_or(AcceleratorTable{});
    keys.push_back({"PgUp", ID_STANDIN_NEXT_CHANNEL});
    keys.push_back({"PgDown", ID_STANDIN_PREVIOUS_CHANNEL});
    wiring().setAccelerators(framework::AcceleratorKeys(keys));
}

ViewerStandIn::~ViewerStandIn() {
    remote_.reset();  // withdrawn from the remote-controller program, then removed
    hardware_.reset();
    agent_.viewerClosed(this);
}

void ViewerStandIn::activate() {
    showNormal();
    raise();
    activateWindow();
}

void ViewerStandIn::closeEvent(QCloseEvent* event) {
    if (recording_) {
        // Nothing the capture loop uses may go while it runs: end the recording, close after.
        closeAfterRecording_ = true;
        endRecording();
        event->ignore();
        return;
    }
    closed_ = true;
    agent_.viewerClosed(this);
    if (!saved_ && hardware_) {
        const QRect frame = geometry();
        settings_.window = {frame.x(), frame.y(), frame.width(), frame.height()};
        hardware_->takeBackChannels(settings_);
        saveViewerSettings(store_, settings_);
        saved_ = true;
    }
    if (hardware_) hardware_->stop();
    if (framework::PlatformWindow* window = wiring().platformWindow()) window->destroy();
    event->accept();
}

void ViewerStandIn::resizeEvent(QResizeEvent*) {
    if (hardware_) hardware_->setPictureGeometry(0, 0, width(), height());
    if (osd_) osd_->setGeometry(14, 10, width() - 28, 34);
}

void ViewerStandIn::showOnScreen(const QString& text) {
    if (!osd_) return;
    osd_->setText(text);
    osd_->raise();
    osd_->show();
    timers().set(kOsdTimerId, kOsdPeriodMs, framework::WindowTimers::Mode::OneShot);
}

QString ViewerStandIn::onScreenText() const { return osd_ && osd_->isVisible() ? osd_->text() : QString(); }

void ViewerStandIn::setVideoMode(VideoMode mode) {
    settings_.videoMode = mode;
    if (!hardware_) return;
    hardware_->applyMode(mode, currentChannel());
    if (isTuner(mode)) tuneChannel(currentChannel());
    else showOnScreen(videoModeLabel(mode));
}

int ViewerStandIn::currentChannel() const {
    return settings_.videoMode == VideoMode::CATV ? settings_.catvChannel : settings_.tvChannel;
}

void ViewerStandIn::tuneChannel(int channel) {
    if (!hardware_ || !isTuner(settings_.videoMode)) return;
    const int tuned = hardware_->tune(settings_.videoMode, channel);
    (settings_.videoMode == VideoMode::CATV ? settings_.catvChannel : settings_.tvChannel) = tuned;
    showOnScreen(QString::asprintf("CH %3d", tuned));
}

void ViewerStandIn::stepRegistered(int direction) {
    const RegisteredList list = registeredList(settings_.videoMode);
    if (!isTuner(settings_.videoMode) || list.count <= 0) return;
    const int at = list.indexOf(currentChannel());
    const int next = at < 0 ? 0 : (at + direction + list.count) % list.count;
    tuneChannel(list.channels[std::size_t(next)]);
}

RegisteredList ViewerStandIn::registeredList(VideoMode mode) const {
    if (hardware_) return hardware_->model().registered().list(mode == VideoMode::CATV ? ChannelBand::Cable : ChannelBand::Broadcast);
    return mode == VideoMode::CATV ? settings_.catvList : settings_.tvList;
}

ChannelBounds ViewerStandIn::channelBounds() const { return hardware_ ? hardware_->bounds() : ChannelBounds{}; }

RecordingSetup ViewerStandIn::recordingSetup() {
    RecordingSetup setup;
    if (!hardware_) return setup;
    if (const auto values = capture::GetRecordingSetup(hardware_->captureWindow(), store_))
        setup = {values->frameRate, values->limitFlag, values->limitSeconds, values->audioFlag};
    return setup;
}

void ViewerStandIn::setRecordingSetup(const RecordingSetup& setup) {
    if (!hardware_) return;
    capture::SetRecordingSetup(hardware_->captureWindow(), store_,
                               {setup.frameRate, setup.limitOn, setup.limitSeconds, setup.captureAudio});
}

std::string ViewerStandIn::nextRecordingFileName() {
    switch (settings_.streamFormat) {
    case 1: return capture::NextCaptureFileName(settings_.mpg1Directory, settings_.mpg1FileName, capture::RecordingType::Mpeg1);
    case 2: return capture::NextCaptureFileName(settings_.mpg2Directory, settings_.mpg2FileName, capture::RecordingType::Mpeg2);
    default: return capture::NextCaptureFileName(settings_.aviDirectory, settings_.aviFileName, capture::RecordingType::Avi);
    }
}

bool ViewerStandIn::recordStream(const std::string& file) {
    if (!hardware_ || recording_ || closed_) return false;
    recording_ = true;
    const bool ok = hardware_->captureWindow().CaptureVideoStream(file, settings_.streamFormat) != 0;
    recording_ = false;
    if (!ok) platform::tracef("Viewer: recording %s failed", file.c_str());
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
    agent_.recordingEnded();
    return ok;
}

void ViewerStandIn::endRecording() {
    if (recording_ && hardware_) hardware_->captureWindow().StopCaptureVideoStream();
}

}  // namespace kelto
