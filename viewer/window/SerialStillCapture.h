#pragma once
// Ctrl+X: six still pictures in a row, each request on a worker thread of its own. Before each
// picture the worker waits 100 ms when closed captions are on (on the process clock); the picture
// itself is taken on the user-interface thread, where the capture window lives: the worker queues
// the call and waits for its answer, holding no lock.
//
// The worker's queued call carries nothing: it names a slot of this object, which takes the
// pictures the runs have asked for under their own locks. (A call carrying a closure would hand
// the closure from the worker to this thread inside Qt's event queue, whose locking the thread
// checker cannot see.)
//
// Stopping (the viewer closing or going away) wakes every worker, whether it waits on the clock
// or for an answer, and joins it; the user-interface thread never waits for a worker that waits
// for it. A picture asked for before the stop finds its run stopped and is not taken, and queued
// calls die with this object, so no picture is ever taken by a window that is going away.
#include <QObject>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kelto::viewer {

class SerialStillCapture : public QObject {
    Q_OBJECT
public:
    static constexpr int kPictures = 6;
    static constexpr std::uint32_t kCaptionWaitMs = 100;

    // Takes one picture, on the thread of this object; the path written, or "" when none was.
    using TakePicture = std::function<std::string()>;
    explicit SerialStillCapture(TakePicture takePicture, QObject* parent = nullptr);
    // Stops and joins every run.
    ~SerialStillCapture() override;

    // Starts a run of six pictures on a new thread; closedCaptions: wait before each picture.
    // Nothing after stopAll.
    void start(bool closedCaptions);
    // Ends every run and returns when their threads have ended; no picture is taken after it.
    void stopAll();
    // Runs whose thread has not been joined yet.
    std::size_t runs() const { return runs_.size(); }
    // Pictures the workers have asked for so far (taken or not).
    int picturesQueued() const { return queued_.load(); }
    // Serial-capture threads alive in the process (none may outlive its viewer).
    static int liveWorkers();

private slots:
    // Takes the pictures the runs wait for, then joins the runs that have finished.
    void serveRuns();

private:
    struct Run;
    static void work(const std::shared_ptr<Run>& run, SerialStillCapture* owner, bool closedCaptions);
    void reap();

    TakePicture takePicture_;
    std::vector<std::shared_ptr<Run>> runs_;
    bool stopped_ = false;
    std::atomic<int> queued_{0};
};

}  // namespace kelto::viewer
