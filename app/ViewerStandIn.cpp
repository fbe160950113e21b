#include "app/ViewerStandIn.h"

#include "app/AppMessages.h"
#include "app/CTrayAgentDlg.h"
#include "app/ProgramArt.h"
#include "app/ViewerOpening.h"
#include "app/SettingsStore.h"
#include "platform/Paths.h"
#include "platform/SystemInfo.h"
#include "platform/Trace.h"

#include <QCloseEvent>
#include <QPainter>

namespace kelto {

using platform::WindowMessage;

ViewerStandIn::ViewerStandIn(CTrayAgentDlg& agent) : QWidget(nullptr), agent_(agent) {
    setProperty("resourceId", kResourceId);
    setWindowTitle(kViewerTitle);
    setWindowIcon(programIcon());
    setAttribute(Qt::WA_DeleteOnClose);
    resize(484, 424);
}

ViewerStandIn* ViewerStandIn::open(CTrayAgentDlg& agent) {
    auto* viewer = new ViewerStandIn(agent);
    if (!viewer->create()) {
        viewer->closing_ = true;
        delete viewer;
        return nullptr;
    }
    viewer->show();
    return viewer;
}

bool ViewerStandIn::create() {
    platform::WindowSystem& system = agent_.windowSystem();
    // Sibling programs and the remote-control receiving window come before the initialisation.
    closeSiblingPrograms(system);
    forwarding_ = std::make_unique<RemoteForwarding>(system, [] { return currentViewer(); });
    remoteWindow_ = std::make_unique<framework::PlatformWindow>(
        kRemoteClass, kViewerRemoteTitle, remoteMap_,
        [this](const WindowMessage& m) -> std::int64_t {
            if (auto answer = forwarding_->handle(m)) return *answer;
            if (m.message == platform::WM_CLOSE && remoteWindow_) remoteWindow_->destroy();
            return 0;
        },
        system);
    if (!remoteWindow_->valid()) return false;
    notifyRemoteController(system, remoteWindow_->handle(), true);

    if (const auto refusal = checkOperatingSystem()) {
        showRefusal(this, *refusal);
        return false;
    }
    if (!findCountryFile(platform::windowsFolder())) {
        showRefusal(this, OpeningRefusal::NoCountryFile);
        return false;
    }
    map_.onMessage(kMsgSiblingNotice, [](const WindowMessage&) { return std::int64_t(0); });
    window_ = std::make_unique<framework::PlatformWindow>(
        "#32770", kViewerTitle, map_,
        [this](const WindowMessage& m) -> std::int64_t {
            if (m.message == platform::WM_CLOSE) close();
            return 0;
        },
        system);
    return window_->valid();
}

ViewerStandIn::~ViewerStandIn() {
    if (remoteWindow_ && remoteWindow_->valid()) {
        notifyRemoteController(remoteWindow_->system(), remoteWindow_->handle(), false);
        remoteWindow_->destroy();
    }
    agent_.viewerClosed(this);
}

int ViewerStandIn::countryCode() const { return SettingsStore().readInt("user", "CountryCode", platform::userCountryCode()); }

RegisteredList ViewerStandIn::registeredList(VideoMode) const { return {}; }

bool ViewerStandIn::recordStream(const std::string& file) {
    platform::tracef("Viewer: cannot record %s: this viewer has no capture window", file.c_str());
    return false;
}

void ViewerStandIn::activate() {
    showNormal();
    raise();
    activateWindow();
}

void ViewerStandIn::closeEvent(QCloseEvent* event) {
    closing_ = true;
    agent_.viewerClosed(this);
    if (window_) window_->destroy();
    event->accept();
}

void ViewerStandIn::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), QColor(16, 18, 24));
    const QPixmap picture = aboutPicture();
    p.drawPixmap((width() - picture.width()) / 2, (height() - picture.height()) / 2, picture);
}

}  // namespace kelto
