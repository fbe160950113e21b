#include "viewer/keypad/CRemoteKeypadDlg.h"

#include "platform/WindowMessageIds.h"
#include "resources/AcceleratorResource.h"
#include "resources/ArtResource.h"
#include "resources/StringTable.h"
#include "viewer/keypad/KeypadPainter.h"

#include <QGuiApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QToolTip>

namespace kelto::viewer {

CRemoteKeypadDlg::CRemoteKeypadDlg(ViewerSession& session, KeypadViewerSide& viewer, std::function<bool()> tooltipsOn)
    : framework::Dialog(kResourceId, nullptr), keypad_(session, viewer), tooltipsOn_(std::move(tooltipsOn)) {
    // A window of its own (no owner), so the desktop gives it its own task-bar entry; no caption.
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setWindowIcon(iconResource(128));
    setWindowTitle(QStringLiteral("Kelto Remote TV "));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setFixedSize(kKeypadSize);
    if (const auto table = loadAccelerators(kViewerAcceleratorTable)) viewerKeys_ = framework::AcceleratorKeys(*table);
    buildMessageMap();
    placeAtDesktopCorner();
}

CRemoteKeypadDlg::~CRemoteKeypadDlg() = default;

void CRemoteKeypadDlg::buildMessageMap() {
    framework::MessageMap& map = messageMap();
    // The hidden buttons: "1" to "9" and "0", "<", ">", save, delete, restore, list up and down.
    static constexpr std::pair<int, KeypadRegion> kButtons[] = {
        {1040, KeypadRegion::Digit1}, {1053, KeypadRegion::Digit2}, {1054, KeypadRegion::Digit3},
        {1055, KeypadRegion::Digit4}, {1056, KeypadRegion::Digit5}, {1057, KeypadRegion::Digit6},
        {1058, KeypadRegion::Digit7}, {1059, KeypadRegion::Digit8}, {1060, KeypadRegion::Digit9},
        {1062, KeypadRegion::Digit0}, {1063, KeypadRegion::Previous}, {1064, KeypadRegion::Next},
        {1065, KeypadRegion::Save},   {1066, KeypadRegion::Delete},   {1102, KeypadRegion::Restore},
        {1105, KeypadRegion::ListUp}, {1106, KeypadRegion::ListDown}};
    for (const auto& [command, region] : kButtons)
        map.onCommand(command, [this, region] {
            keypad_.act(region);
            update();
        });
    // The desktop TV command, the close box and the desktop's close request all restore.
    for (int command : {RemoteKeypad::kDesktopTvCommand, int(framework::Dialog::IDCANCEL)})
        map.onCommand(command, [this] { keypad_.restore(); });
    map.onMessage(platform::WM_CLOSE, [this](const platform::WindowMessage&) {
        keypad_.restore();
        return std::int64_t(0);
    });
}

void CRemoteKeypadDlg::placeAtDesktopCorner() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect desktop = screen->geometry();
    move(desktop.x() + desktop.width() - kRightMarginPx - width(),
         desktop.y() + desktop.height() - kBottomMarginPx - height());
}

// --- the viewer's side

void CRemoteKeypadDlg::showChannelNumber(int number) {
    keypad_.showChannelNumber(number);
    update();
}

void CRemoteKeypadDlg::refresh() {
    keypad_.refresh();
    update();
}

void CRemoteKeypadDlg::passOn(std::uint32_t message, std::uint64_t wParam) { keypad_.passOn(message, wParam); }

// --- painting and the mouse

void CRemoteKeypadDlg::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    KeypadPainter::paint(painter, keypad_.view());
}

void CRemoteKeypadDlg::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const QPoint at = event->position().toPoint();
    if (keypad_.press(at)) {
        grabMouse();
        update();
    } else {
        dragOffset_ = at;  // as if the caption were dragged
    }
}

void CRemoteKeypadDlg::mouseDoubleClickEvent(QMouseEvent* event) { mousePressEvent(event); }

void CRemoteKeypadDlg::mouseMoveEvent(QMouseEvent* event) {
    if (dragOffset_ && (event->buttons() & Qt::LeftButton)) {
        move(event->globalPosition().toPoint() - *dragOffset_);
        return;
    }
    if (!keypad_.holding()) return;
    keypad_.move(event->position().toPoint());
    update();
}

void CRemoteKeypadDlg::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    QToolTip::hideText();
    dragOffset_.reset();
    if (!keypad_.holding()) return;
    releaseMouse();
    // The action may close the keypad (restore): nothing of this window is used after it.
    update();
    keypad_.release(event->position().toPoint());
}

bool CRemoteKeypadDlg::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const auto region = keypadRegionAt(help->pos());
        if (!region || (tooltipsOn_ && !tooltipsOn_())) {
            QToolTip::hideText();
        } else {
            QToolTip::showText(help->globalPos(), QString::fromStdString(LoadMessage(keypadTooltipStringId(*region))),
                               this, keypadRegionRect(*region));
        }
        return true;
    }
    return framework::Dialog::event(event);
}

// --- keys: the viewer's accelerators while it is hidden, Esc and F10 swallowed, the rest to
// the viewer

void CRemoteKeypadDlg::routeKey(QKeyEvent* event, bool down) {
    std::optional<int> command;
    if (down && !viewerKeys_.empty()) command = viewerKeys_.commandFor(*event);
    keypad_.key(down, Qt::Key(event->key()), event->modifiers(), command);
    event->accept();
}

void CRemoteKeypadDlg::keyPressEvent(QKeyEvent* event) { routeKey(event, true); }
void CRemoteKeypadDlg::keyReleaseEvent(QKeyEvent* event) { routeKey(event, false); }

}  // namespace kelto::viewer
