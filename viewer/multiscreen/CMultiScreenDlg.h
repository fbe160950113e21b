#pragma once
// The multi-screen view (window 314, "Kelto MultiScreen"): a frameless window with a grid of 4, 9
// or 16 cells of 160 by 120 pixels, each showing the last picture of its channel, refreshed one
// cell after another by the worker (CMultiScreenThread). A click on a filled cell shows its
// channel live in the cell (the viewer's capture window moves there); the context menu of a
// filled cell shows it live, restarts the cycle, or closes the view and leaves the viewer on that
// cell's channel. The exit and minimise buttons lie at the bottom left; a press anywhere else
// drags the window.
//
// The view states: cycling (worker running, card muted, capture window hidden) and live cell
// (worker paused, sound on, capture window over the cell), then closing (stop asked) and gone
// (the worker reported its end; the viewer has its picture back).
#include "framework/Window.h"
#include "viewer/multiscreen/CMultiScreenThread.h"
#include "viewer/multiscreen/MultiScreenLayout.h"
#include "viewer/multiscreen/MultiScreenViewer.h"

#include <QPointer>
#include <QString>

#include <array>
#include <atomic>
#include <memory>
#include <mutex>
#include <vector>
#include <optional>

#include <QMenu>

namespace kelto::viewer::multiscreen {

class CMultiScreenDlg final : public framework::Window, private MultiScreenWork {
    Q_OBJECT
public:
    static constexpr int kResourceId = 314;
    static constexpr int kMenuId = 129;
    static constexpr int kMenuPopup = 2;  // the third pop-up of menu 129
    static constexpr int kCursorId = 227;
    // Exit and minimise drawn pressed.
    static constexpr int kExitPressedBitmap = 153;
    static constexpr int kMinimisePressedBitmap = 310;

    // Opens the view over the viewer (which it hides) and starts the cycle. Null when the video
    // mode is not TV or CATV or no cell has a channel.
    static CMultiScreenDlg* open(MultiScreenViewer& viewer);
    ~CMultiScreenDlg() override;

    // A left press on the live picture (in the capture window's coordinates).
    void pressOnPicture(QPoint at);

    // --- what tests and the screenshots look at.
    int cellCount() const override { return cells_; }
    int liveCell() const { return liveCell_; }
    int menuCell() const { return menuCell_; }
    int exitChannel() const { return exitChannel_; }
    bool closing() const { return closing_; }
    // The slot value (what the user registered) and the channel tuned of cell k.
    std::optional<int> cellSlotValue(int k) const { return slotValues_[std::size_t(k)]; }
    std::optional<int> cellChannel(int k) const override { return channels_[std::size_t(k)]; }
    QImage cellPicture(int k) const { return worker_.picture(k); }
    const CMultiScreenThread& worker() const { return worker_; }
    // The tooltip over a point of the window, empty where there is none.
    QString tipAt(QPoint at) const;
    // The context menu as last built (null before); tests switch the pop-up off.
    QMenu* lastContextMenu() const { return menu_; }
    static void setContextMenuExecution(bool exec);
    bool exitPressed() const { return exitPressed_; }
    bool minimisePressed() const { return minimisePressed_; }
    // The whole window as it paints now (cells, frame, buttons, and the live picture).
    QImage snapshot();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;
    std::int64_t defaultHandling(const platform::WindowMessage& message) override;

private slots:
    // Carries out what the worker has asked for since the last call (tuning, a grab, cells to
    // repaint, its reports).
    void serveWorker();

private:
    // What the worker asks of this window's thread, handed over under requestsMutex_; the queued
    // call that wakes the window carries nothing (a closure would cross the threads inside Qt's
    // event queue, whose locking the thread checker cannot see).
    struct WorkerRequests {
        std::optional<int> tuneChannel;
        std::promise<bool> tuned;
        bool grab = false;
        std::promise<QImage> grabbed;
        std::vector<int> changedCells;
        bool paused = false;
        bool ended = false;
    };

    explicit CMultiScreenDlg(MultiScreenViewer& viewer);
    void initialise();
    void buildMessageMap();
    void startCycling();
    void showLive(int k);
    void pressCell(int k);
    void requestClose();
    void onEnded();
    void showContextMenu(int k, QPoint globalPos);
    // Asks this window's thread to serve the worker's requests.
    void wakeView();
    void captureIntoView();
    void captureBackToViewer();

    // --- MultiScreenWork (called on the worker's thread)
    std::future<bool> tune(int channel) override;
    std::future<QImage> grab() override;
    void cellPictureChanged(int k) override;
    void paused() override;
    void ended() override;

    MultiScreenViewer& viewer_;
    int cells_ = 4;
    VideoMode mode_ = VideoMode::TV;
    // Fixed at opening: the viewer is hidden and its slots cannot change while the view is open.
    std::array<std::optional<int>, kMaxCells> slotValues_{};
    std::array<std::optional<int>, kMaxCells> channels_{};
    int exitChannel_ = 0;
    QSize frameSize_;
    int liveCell_ = -1;
    int stopCell_ = -1;
    int menuCell_ = -1;
    bool exitPressed_ = false;
    bool minimisePressed_ = false;
    // The pressed button drawn pressed: the pointer is over it.
    bool pressedShown_ = false;
    std::optional<QPoint> dragOffset_;
    bool closing_ = false;
    bool ended_ = false;
    bool captureInView_ = false;
    std::atomic<bool> destroying_{false};
    std::mutex requestsMutex_;
    WorkerRequests requests_;
    QPointer<QMenu> menu_;
    CMultiScreenThread worker_{*this};
};

}  // namespace kelto::viewer::multiscreen
