#pragma once
// The still page's serial capture: a worker thread that asks for pictures until it has as many
// as the frame count asks for, the user stops it, or a picture is refused. The count is read
// afresh before every picture from a value the user-interface thread keeps (the worker never
// reads a widget); a stop request ends the run before the next picture and is used up by it.
//
// Each picture is taken on the thread of this object (where the capture window and the page
// live): the worker asks for it under the run's lock, queues a call of a named slot that carries
// nothing, and waits for the answer without holding the lock. The same slot tells the owner that
// the run has ended, so the finished notice always comes on the owner's thread, after the worker
// has been joined.
//
// Destroying the object (the page going with its sheet) wakes a worker wherever it waits and
// joins it; a picture asked for before that is not taken and no finished notice comes.
#include <QObject>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace kelto::viewer::capturesheet {

class SerialCaptureRun : public QObject {
    Q_OBJECT
public:
    // Takes one picture on this object's thread; false when it was refused (the run ends).
    using TakePicture = std::function<bool()>;
    // The run has ended (count reached, stopped or refused), on this object's thread.
    using Finished = std::function<void()>;

    SerialCaptureRun(TakePicture takePicture, Finished finished, QObject* parent = nullptr);
    ~SerialCaptureRun() override;

    // Starts a run with `count` pictures as target; false when one runs already or no thread
    // could be made. An earlier stop request does not carry over into the new run.
    bool start(int count);
    // The frame count the run aims at from its next pass on.
    void setCount(int count) { count_.store(count); }
    // Asks the run to end before its next picture (nothing when none runs).
    void requestStop();
    // A run has started and its end has not been announced yet.
    bool running() const { return running_; }
    // Pictures asked for by the current or last run (taken or not).
    int picturesAsked() const { return asked_.load(); }

    // Serial-capture threads of the still page alive in the process.
    static int liveWorkers();

private slots:
    // Takes the picture the worker waits for; after the worker's end joins it and tells the owner.
    void serve();

private:
    void work();
    void shutDown();

    TakePicture takePicture_;
    Finished finished_;
    std::atomic<int> count_{1};
    std::atomic<int> asked_{0};
    bool running_ = false;  // user-interface thread only

    std::mutex mutex_;
    std::condition_variable wake_;
    bool stopRequest_ = false;  // the user's "Stop", used up by the run that sees it
    bool shutDown_ = false;     // the object goes: the worker ends wherever it is
    bool wanted_ = false;       // the worker waits for a picture
    bool answered_ = false;     // the picture wanted last has been dealt with
    bool taken_ = false;        // ... and was taken
    bool ended_ = false;        // the worker has left its loop
    std::thread thread_;
};

}  // namespace kelto::viewer::capturesheet
