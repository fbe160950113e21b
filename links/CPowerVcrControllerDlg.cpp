#include "links/CPowerVcrControllerDlg.h"

#include "framework/MessageBoxes.h"
#include "framework/PlatformWindow.h"
#include "links/PowerVcrPainter.h"
#include "platform/WindowMessageIds.h"
#include "resources/ArtResource.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

namespace kelto {

CPowerVcrControllerDlg::CPowerVcrControllerDlg(platform::WindowSystem& system)
    : framework::Dialog(kResourceId, nullptr), system_(system), controller_(store_, system, this) {
    // A window of its own with a task-bar entry, no caption: the face is the whole window.
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setWindowIcon(iconResource(128));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    buildMessageMap();
}

CPowerVcrControllerDlg::~CPowerVcrControllerDlg() = default;

void CPowerVcrControllerDlg::buildMessageMap() {
    framework::MessageMap& map = messageMap();
    map.onCommand(kNextButton, [this] { act(VcrKey::Next); });
    map.onCommand(kPreviousButton, [this] { act(VcrKey::Previous); });
    map.onCommand(kModeButton, [this] { act(VcrKey::Mode); });
    // Enter does not hide the window; Escape and the close request close it with its saving.
    map.onCommand(IDOK, [] {});
    map.onCommand(IDCANCEL, [this] { closeController(); });
    map.onMessage(platform::WM_CLOSE, [this](const platform::WindowMessage&) {
        closeController();
        return std::int64_t(0);
    });
    map.onMessage(platform::WM_TIMER, [this](const platform::WindowMessage& m) {
        if (int(m.wParam) != kLampTimer) return std::int64_t(0);
        if (controller_.recorderRunning() != lampLit_) update();
        return std::int64_t(0);
    });
}

void CPowerVcrControllerDlg::initialise() {
    controller_.open();
    wiring().createPlatformWindow("#32770", kTitle, system_);
    setFixedSize(kVcrWindowWidth, kVcrWindowHeight);  // where it is; not above other windows for good
    timers().set(kLampTimer, kLampPeriodMs, framework::WindowTimers::Mode::Repeating);
    show();
    raise();
    activateWindow();
}

void CPowerVcrControllerDlg::closeController() {
    if (controller_.closed()) return;
    timers().killAll();
    controller_.close();
    if (framework::PlatformWindow* window = wiring().platformWindow()) window->destroy();
    hide();
    deleteLater();
}

// Messages 186 and 187 have no owner window and the stop icon.
void CPowerVcrControllerDlg::showHardwareMessage(int, const std::string& text, const std::string& caption) {
    framework::messageBox(nullptr, framework::MessageBoxRequest{text, caption, framework::MessageButtons::Ok,
                                                                framework::MessageIcon::Stop});
}

VcrView CPowerVcrControllerDlg::view() const {
    VcrView v;
    v.started = controller_.started();
    v.mode = controller_.mode();
    v.channel = controller_.channel();
    v.recorderRunning = controller_.recorderRunning();
    v.keys = &keys_;
    return v;
}

void CPowerVcrControllerDlg::act(VcrKey key) {
    bool changed = false;
    switch (key) {
    case VcrKey::Next: changed = controller_.next(); break;
    case VcrKey::Previous: changed = controller_.previous(); break;
    case VcrKey::Mode: changed = controller_.nextMode(); break;
    }
    if (changed) update();
}

void CPowerVcrControllerDlg::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const VcrView v = view();
    lampLit_ = v.recorderRunning;
    PowerVcrPainter::paint(painter, v);
}

void CPowerVcrControllerDlg::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const QPoint at = event->position().toPoint();
    if (keys_.press(at.x(), at.y())) {
        grabMouse();
        update();
        return;
    }
    // Beside the keys: the desktop moves the window as if its caption were dragged; without a
    // desktop that can, the window follows the pointer itself.
    QWindow* window = QWidget::windowHandle();
    if (!window || !window->startSystemMove()) dragOffset_ = at;
}

void CPowerVcrControllerDlg::mouseDoubleClickEvent(QMouseEvent* event) { mousePressEvent(event); }

void CPowerVcrControllerDlg::mouseMoveEvent(QMouseEvent* event) {
    if (dragOffset_ && (event->buttons() & Qt::LeftButton)) {
        move(event->globalPosition().toPoint() - *dragOffset_);
        return;
    }
    const QPoint at = event->position().toPoint();
    if (keys_.move(at.x(), at.y())) update();
}

void CPowerVcrControllerDlg::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    dragOffset_.reset();
    if (!keys_.holding()) return;
    releaseMouse();
    const QPoint at = event->position().toPoint();
    const auto key = keys_.release(at.x(), at.y());
    update();
    if (key) act(*key);
}

void CPowerVcrControllerDlg::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Up: act(VcrKey::Next); return;
    case Qt::Key_Down: act(VcrKey::Previous); return;
    default: framework::Dialog::keyPressEvent(event);
    }
}

}  // namespace kelto
