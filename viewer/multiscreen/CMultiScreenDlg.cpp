#include "viewer/multiscreen/CMultiScreenDlg.h"

#include "capture/CCaptureWindow.h"
#include "capture/CaptureWindowWidget.h"
#include "framework/ControlIds.h"
#include "framework/QtMenus.h"
#include "platform/Trace.h"
#include "resources/ArtResource.h"
#include "resources/StringTable.h"
#include "viewer/multiscreen/MultiScreenMessages.h"
#include "viewer/multiscreen/MultiScreenPainter.h"

#include <QAction>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QToolTip>

namespace kelto::viewer::multiscreen {

using platform::WindowMessage;

namespace {
bool contextMenuExec = true;
constexpr int kCountryListNumbering = 86;
}  // namespace

void CMultiScreenDlg::setContextMenuExecution(bool exec) { contextMenuExec = exec; }

CMultiScreenDlg::CMultiScreenDlg(MultiScreenViewer& viewer)
    : framework::Window(nullptr, Qt::Window | Qt::FramelessWindowHint), viewer_(viewer) {
    framework::stampResourceId(this, kResourceId);
    setAttribute(Qt::WA_DeleteOnClose, false);
    setMouseTracking(true);
    setCursor(cursorResource(kCursorId));
}

CMultiScreenDlg* CMultiScreenDlg::open(MultiScreenViewer& viewer) {
    const VideoMode mode = viewer.videoMode();
    if (mode != VideoMode::TV && mode != VideoMode::CATV) return nullptr;
    auto* view = new CMultiScreenDlg(viewer);
    view->initialise();
    if (std::none_of(view->channels_.begin(), view->channels_.end(), [](const auto& c) { return c.has_value(); })) {
        delete view;
        return nullptr;
    }
    view->buildMessageMap();
    view->captureIntoView();
    view->show();
    // The worker waits for its first resume, which starting the cycle gives it.
    view->worker_.start();
    view->startCycling();
    platform::tracef("MultiScreen: opened with %d cells", view->cells_);
    return view;
}

CMultiScreenDlg::~CMultiScreenDlg() {
    // The worker ends first: nothing it queues may reach a view that is going.
    destroying_ = true;
    worker_.requestStop();
    worker_.join();
    if (captureInView_) captureBackToViewer();
}

void CMultiScreenDlg::initialise() {
    setWindowIcon(iconResource(128));
    setWindowTitle("Kelto MultiScreen");
    mode_ = viewer_.videoMode();
    cells_ = validCellCount(viewer_.multiScreenCells());
    const bool listNumbering = viewer_.countryCode() == kCountryListNumbering;
    const RegisteredList registered = viewer_.registeredList(mode_);
    for (int k = 0; k < cells_; ++k) {
        slotValues_[std::size_t(k)] = cellSlot(mode_, viewer_.broadcastSlots(), viewer_.cableSlots(), k);
        channels_[std::size_t(k)] =
            multiscreen::cellChannel(mode_, viewer_.broadcastSlots(), viewer_.cableSlots(), k, listNumbering, registered);
    }
    exitChannel_ = viewer_.currentChannel();
    capture::CCaptureWindow& capture = viewer_.captureWindow();
    frameSize_ = QSize(int(capture.GetImageWidth()), int(capture.GetImageHeight()));
    setFixedSize(windowSize(cells_));
    // Where the viewer was, kept on its screen.
    if (QWidget* owner = viewer_.viewerWidget()) {
        QPoint at = owner->pos();
        if (const QScreen* screen = owner->screen()) {
            const QRect desk = screen->availableGeometry();
            at.setX(std::clamp(at.x(), desk.left(), std::max(desk.left(), desk.right() + 1 - width())));
            at.setY(std::clamp(at.y(), desk.top(), std::max(desk.top(), desk.bottom() + 1 - height())));
        }
        move(at);
    }
}

void CMultiScreenDlg::buildMessageMap() {
    framework::MessageMap& map = messageMap();
    map.onMessage(kMsgMultiScreenPaused, [this](const WindowMessage&) {
        // A pause answered after the close began, or after the cycle was started again: the
        // worker has been resumed already and goes on.
        if (!closing_ && worker_.pauseRequested()) showLive(stopCell_);
        return std::int64_t(0);
    });
    map.onMessage(kMsgMultiScreenEnded, [this](const WindowMessage&) {
        onEnded();
        return std::int64_t(0);
    });
    map.onCommand(32819, [this] {
        if (menuCell_ >= 0) pressCell(menuCell_);
    });
    map.onCommand(32820, [this] {
        if (!closing_) startCycling();
    });
    map.onCommand(32827, [this] {
        if (menuCell_ < 0 || !channels_[std::size_t(menuCell_)]) return;
        exitChannel_ = *channels_[std::size_t(menuCell_)];
        requestClose();
    });
}

// --- the capture window, lent by the viewer while the view is open

void CMultiScreenDlg::captureIntoView() {
    QWidget* picture = viewer_.captureWindow().GetWindow();
    if (!picture) return;
    picture->setParent(this);
    picture->setGeometry(0, 0, 0, 0);
    picture->show();
    captureInView_ = true;
}

void CMultiScreenDlg::captureBackToViewer() {
    captureInView_ = false;
    QWidget* picture = viewer_.captureWindow().GetWindow();
    if (!picture || picture->parentWidget() != this) return;
    picture->setParent(viewer_.viewerWidget());
    picture->show();
}

// --- cycling and the live cell

void CMultiScreenDlg::startCycling() {
    viewer_.muteCardAudio(true);
    liveCell_ = -1;
    capture::CCaptureWindow& capture = viewer_.captureWindow();
    capture.SetOverlay(false);
    capture.SetPreview(true);
    if (QWidget* picture = capture.GetWindow(); picture && captureInView_) picture->setGeometry(0, 0, 0, 0);
    worker_.resume();
}

void CMultiScreenDlg::showLive(int k) {
    if (k < 0 || k >= cells_ || !channels_[std::size_t(k)] || k == liveCell_) return;
    capture::CCaptureWindow& capture = viewer_.captureWindow();
    if (liveCell_ >= 0) {
        // The cell that was live keeps its last frame as its picture.
        const QImage last = capture.GrabFrameImage(kCellWidth, kCellHeight);
        if (!last.isNull()) worker_.setPicture(liveCell_, last);
        update(cellRect(cells_, liveCell_));
    }
    liveCell_ = k;
    viewer_.muteCardAudio(false);
    capture.SetOverlay(true);
    capture.SetPreview(false);
    if (QWidget* picture = capture.GetWindow(); picture && captureInView_) {
        picture->setGeometry(cellRect(cells_, k));
        picture->raise();
    }
    viewer_.TuneChannel(*channels_[std::size_t(k)], false);
}

void CMultiScreenDlg::pressCell(int k) {
    if (closing_ || k < 0 || k >= cells_ || !channels_[std::size_t(k)]) return;
    if (liveCell_ >= 0) return showLive(k);
    // The worker stops before its next cell and reports it; the report shows this cell.
    stopCell_ = k;
    worker_.requestPause();
}

void CMultiScreenDlg::pressOnPicture(QPoint at) {
    QWidget* picture = viewer_.captureWindow().GetWindow();
    if (!picture || picture->parentWidget() != this) return;
    pressCell(cellAt(cells_, picture->geometry().topLeft() + at));
}

// --- closing

void CMultiScreenDlg::requestClose() {
    if (closing_) return;
    closing_ = true;
    // A paused worker must run again to see the stop and report its end.
    if (liveCell_ >= 0 || worker_.pauseRequested()) startCycling();
    worker_.requestStop();
}

void CMultiScreenDlg::onEnded() {
    if (ended_) return;
    ended_ = true;
    closing_ = true;
    worker_.join();
    capture::CCaptureWindow& capture = viewer_.captureWindow();
    capture.SetOverlay(true);
    capture.SetPreview(false);
    captureBackToViewer();
    hide();
    platform::tracef("MultiScreen: closed; the viewer tunes channel %d", exitChannel_);
    viewer_.multiScreenClosed(exitChannel_, frameSize_);
    deleteLater();
}

void CMultiScreenDlg::closeEvent(QCloseEvent* event) {
    if (ended_) return event->accept();
    requestClose();
    event->ignore();
}

std::int64_t CMultiScreenDlg::defaultHandling(const WindowMessage& message) {
    return framework::Window::defaultHandling(message);
}

// --- what the worker asks: handed over under the requests' lock, served on this window's thread

void CMultiScreenDlg::wakeView() {
    if (destroying_) return;
    QMetaObject::invokeMethod(this, "serveWorker", Qt::QueuedConnection);
}

std::future<bool> CMultiScreenDlg::tune(int channel) {
    std::future<bool> answer;
    {
        std::lock_guard lock(requestsMutex_);
        requests_.tuneChannel = channel;
        requests_.tuned = std::promise<bool>();
        answer = requests_.tuned.get_future();
    }
    wakeView();
    return answer;
}

std::future<QImage> CMultiScreenDlg::grab() {
    std::future<QImage> answer;
    {
        std::lock_guard lock(requestsMutex_);
        requests_.grab = true;
        requests_.grabbed = std::promise<QImage>();
        answer = requests_.grabbed.get_future();
    }
    wakeView();
    return answer;
}

void CMultiScreenDlg::cellPictureChanged(int k) {
    {
        std::lock_guard lock(requestsMutex_);
        requests_.changedCells.push_back(k);
    }
    wakeView();
}

void CMultiScreenDlg::paused() {
    {
        std::lock_guard lock(requestsMutex_);
        requests_.paused = true;
    }
    wakeView();
}

void CMultiScreenDlg::ended() {
    {
        std::lock_guard lock(requestsMutex_);
        requests_.ended = true;
    }
    wakeView();
}

void CMultiScreenDlg::serveWorker() {
    WorkerRequests taken;
    {
        std::lock_guard lock(requestsMutex_);
        std::swap(taken, requests_);
    }
    // One request at a time comes from the worker (it waits for each answer), then its reports.
    if (taken.tuneChannel) {
        viewer_.TuneChannel(*taken.tuneChannel, false);
        taken.tuned.set_value(true);
    }
    if (taken.grab) {
        // The card's frame itself, never through the desktop's clipboard.
        taken.grabbed.set_value(viewer_.captureWindow().GrabFrameImage(kCellWidth, kCellHeight));
    }
    for (const int k : taken.changedCells) update(cellRect(cells_, k));
    if (taken.paused) wiring().dispatch(WindowMessage{windowHandle(), kMsgMultiScreenPaused, 0, 0, 0, {}, false});
    if (taken.ended) wiring().dispatch(WindowMessage{windowHandle(), kMsgMultiScreenEnded, 0, 0, 0, {}, false});
}

// --- painting

void CMultiScreenDlg::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    MultiScreenPainter::paintBackground(painter, cells_);
    for (int k = 0; k < cells_; ++k)
        MultiScreenPainter::paintCell(painter, cells_, k,
                                      channels_[std::size_t(k)] ? worker_.picture(k) : QImage());
    if (exitPressed_ && pressedShown_) MultiScreenPainter::paintPart(painter, cells_, MultiScreenPart::ExitPressed);
    if (minimisePressed_ && pressedShown_)
        MultiScreenPainter::paintPart(painter, cells_, MultiScreenPart::MinimisePressed);
}

QImage CMultiScreenDlg::snapshot() { return QWidget::grab().toImage(); }

// --- mouse

void CMultiScreenDlg::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const QPoint at = event->position().toPoint();
    if (const int k = cellAt(cells_, at); k >= 0) return pressCell(k);
    const bool onExit = exitButtonRect(cells_).contains(at);
    const bool onMinimise = minimiseButtonRect(cells_).contains(at);
    if (onExit || onMinimise) {
        exitPressed_ = onExit;
        minimisePressed_ = onMinimise;
        pressedShown_ = true;
        grabMouse();
        update(onExit ? exitButtonRect(cells_) : minimiseButtonRect(cells_));
        return;
    }
    // Anywhere else the window moves with the pointer, as by its caption.
    dragOffset_ = event->globalPosition().toPoint() - pos();
}

void CMultiScreenDlg::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (exitPressed_ || minimisePressed_) {
        const QRect button = exitPressed_ ? exitButtonRect(cells_) : minimiseButtonRect(cells_);
        const bool over = button.contains(at);
        if (over != pressedShown_) {
            pressedShown_ = over;
            update(button);
        }
        return;
    }
    if (dragOffset_ && (event->buttons() & Qt::LeftButton)) move(event->globalPosition().toPoint() - *dragOffset_);
}

void CMultiScreenDlg::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    dragOffset_.reset();
    if (!exitPressed_ && !minimisePressed_) return;
    releaseMouse();
    const QPoint at = event->position().toPoint();
    const bool exit = exitPressed_ && exitButtonRect(cells_).contains(at);
    const bool minimise = minimisePressed_ && minimiseButtonRect(cells_).contains(at);
    const QRect button = exitPressed_ ? exitButtonRect(cells_) : minimiseButtonRect(cells_);
    exitPressed_ = minimisePressed_ = pressedShown_ = false;
    update(button);
    if (minimise) showMinimized();
    if (exit) requestClose();
}

// --- context menu and tooltips

void CMultiScreenDlg::contextMenuEvent(QContextMenuEvent* event) {
    showContextMenu(cellAt(cells_, event->pos()), event->globalPos());
}

void CMultiScreenDlg::showContextMenu(int k, QPoint globalPos) {
    if (closing_ || k < 0 || !slotValues_[std::size_t(k)] || !channels_[std::size_t(k)]) return;
    menuCell_ = k;
    delete menu_;
    menu_ = wiring().buildPopupMenu(kMenuId, kMenuPopup, this);
    if (!menu_) return;
    const QString number = QString::number(*slotValues_[std::size_t(k)]);
    for (QAction* action : menu_->actions()) {
        if (framework::commandOf(action) == 32819) action->setText(number + QString::fromStdString(LoadMessage(233)));
        if (framework::commandOf(action) == 32827) action->setText(number + QString::fromStdString(LoadMessage(234)));
    }
    if (contextMenuExec) menu_->popup(globalPos);
}

QString CMultiScreenDlg::tipAt(QPoint at) const {
    if (const int k = cellAt(cells_, at); k >= 0) {
        const auto slot = slotValues_[std::size_t(k)];
        if (!slot) return {};
        return QString(mode_ == VideoMode::CATV ? "CATV Channel : %1" : "TV Channel : %1").arg(*slot);
    }
    if (minimiseButtonRect(cells_).contains(at)) return QString::fromStdString(LoadMessage(236));
    if (exitButtonRect(cells_).contains(at)) return QString::fromStdString(LoadMessage(235));
    return {};
}

bool CMultiScreenDlg::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const QString tip = tipAt(help->pos());
        if (tip.isEmpty()) {
            QToolTip::hideText();
            return true;
        }
        const int k = cellAt(cells_, help->pos());
        const QRect area = k >= 0 ? cellRect(cells_, k)
                           : exitButtonRect(cells_).contains(help->pos()) ? exitButtonRect(cells_)
                                                                            : minimiseButtonRect(cells_);
        QToolTip::showText(help->globalPos(), tip, this, area);
        return true;
    }
    return framework::Window::event(event);
}

}  // namespace kelto::viewer::multiscreen
