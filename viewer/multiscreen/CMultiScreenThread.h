#pragma once
// The multi-screen view's worker: it visits the cells 0 to N - 1 over and over; for a cell with a
// channel it tunes the channel, lets the tuner settle for 300 ms (on the process clock), grabs a
// 160 by 120 frame and keeps it as the cell's picture, then has the view draw it.
//
// A pause request stops it before its next cell: it reports that it stopped (the view then shows
// a cell live) and waits, without spinning, until it is resumed or stopped. A stop request ends
// it before its next cell, after which it reports its end. The view resumes it explicitly
// (start cycling); stopping also wakes it.
//
// The cell pictures are shared with the view's painting and guarded by one lock, held only
// while a picture is swapped or copied, never while the worker waits for the user-interface
// thread. Everything the worker asks of the view, the viewer or the capture window goes to the
// user-interface thread as a queued call (MultiScreenWork); a wait for its answer gives up when
// the worker is stopped, so the view's owner may always stop and join it.
#include <QImage>

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <future>
#include <mutex>
#include <optional>
#include <thread>

namespace kelto::viewer::multiscreen {

inline constexpr std::uint32_t kSettleMs = 300;

// What the worker needs, called on the worker's thread; each operation queues its work to the
// user-interface thread and returns the future of its answer.
class MultiScreenWork {
public:
    virtual ~MultiScreenWork() = default;
    virtual int cellCount() const = 0;
    // The channel cell k tunes, nullopt when it has none.
    virtual std::optional<int> cellChannel(int k) const = 0;
    // Tunes the channel (no on-screen display); the future is ready once it is tuned.
    virtual std::future<bool> tune(int channel) = 0;
    // A 160 by 120 frame of the live picture (a null image when none could be taken).
    virtual std::future<QImage> grab() = 0;
    // The cell's picture changed: the view draws it (posted; no answer).
    virtual void cellPictureChanged(int k) = 0;
    // The worker stopped for a pause request (posted, like the view's message 0x4C8).
    virtual void paused() = 0;
    // The worker ended (posted, like the view's message 0x4C9).
    virtual void ended() = 0;
};

class CMultiScreenThread {
public:
    explicit CMultiScreenThread(MultiScreenWork& work);
    // Stops and joins the worker.
    ~CMultiScreenThread();
    CMultiScreenThread(const CMultiScreenThread&) = delete;
    CMultiScreenThread& operator=(const CMultiScreenThread&) = delete;

    // Starts the worker (at the lowest priority the system gives it); it begins with the next
    // resume. Nothing when it runs already.
    void start();
    // Clears the pause request and wakes a paused worker.
    void resume();
    // Asks the worker to stop at its next cell (it then reports paused()); only a resume after
    // this request releases it.
    void requestPause();
    // Asks the worker to end at its next cell; wakes it when it waits.
    void requestStop();
    // Waits for the worker's end (after requestStop()).
    void join();

    bool pauseRequested() const { return pause_; }
    bool stopRequested() const { return stop_; }
    // Whether the worker waits in a pause it was asked for now.
    bool isPaused() const;
    // How many passes over the cells have ended (for checks).
    int passes() const { return passes_; }

    // The cell pictures (null until a cell's first grab), under the pictures' lock.
    QImage picture(int k) const;
    void setPicture(int k, const QImage& image);

private:
    void run();
    // Waits until resumed; false when the worker is to end. forPause: it stopped for a pause request.
    bool waitForRelease(bool forPause);
    template <typename T>
    std::optional<T> awaitAnswer(std::future<T>& answer);

    MultiScreenWork& work_;
    std::thread thread_;
    std::atomic<bool> pause_{false};
    std::atomic<bool> stop_{false};
    std::atomic<int> passes_{0};
    mutable std::mutex stateMutex_;
    std::condition_variable wake_;
    bool paused_ = false;
    // Set by the first resume(): the worker starts held, like a thread made suspended.
    bool started_ = false;
    // Set by resume(), cleared by a pause request and taken by the worker as it leaves its pause.
    bool released_ = false;
    mutable std::mutex picturesMutex_;
    std::array<QImage, 16> pictures_;
};

}  // namespace kelto::viewer::multiscreen
