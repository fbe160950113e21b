#pragma once
// The auto scan: a worker thread steps through every channel of the band, programs the tuner at
// the channel's table frequency (no fine tuning) and asks it whether it locked.
//
// Threads. The worker touches only the tuner controller (under its lock) and the plan it was
// given; everything else (list rows, progress, status text, enabling, the viewer's tuning, its
// scan-in-progress flag and mute, the registration question) reaches the page as calls queued
// onto the page's thread. One scan step holds the tuner lock from its scan-tune to the end of
// its lock poll, so the viewer's own tuning never lands between the two on the I2C bus. The
// worker waits for an answer from the page's thread only while it holds no lock, and every such
// wait ends when the scan is cancelled: destroying the ScanThread (the page going away) cancels,
// wakes the worker and joins it; queued calls that arrive after that do nothing.
// The calls travel in a mailbox under a standard mutex with a pipe byte as the wake-up, not in
// Qt's event queue, whose futex locking hides the hand-over from thread checkers.
#include "channels/CTunerController.h"
#include "channels/ChannelModel.h"

#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

class QObject;

namespace kelto::viewer::config {

// What the scan needs of the band, taken on the page's thread when it starts (the worker never
// reads the channel model, which the viewer may change meanwhile).
struct ScanPlan {
    ChannelBand band = ChannelBand::Broadcast;
    int lowest = 0;
    int highest = 0;
    // trunc((intermediate MHz + channel MHz) x 16) by channel number; nullopt: no divider the
    // tuner can take (the channel is skipped as not found).
    std::array<std::optional<std::uint16_t>, kMaxChannel + 1> dividers{};

    static ScanPlan of(const ChannelModel& model, ChannelBand band);
};

// The channels a scan found, in ascending order, with the fine tuning each gets (1).
struct ScanFindings {
    std::vector<int> channels;
    std::vector<int> fineTuning;
};

// The page's side of the scan. Every call runs on the page's thread.
class ScanPage {
public:
    virtual ~ScanPage() = default;
    // The list's rows removed, the viewer told a scan runs, the card's audio muted.
    virtual void scanStarted() = 0;
    // Cable: the viewer tunes the channel first (it becomes its current cable channel).
    virtual void tuneForScan(int channel) = 0;
    virtual void channelFound(int row, int channel) = 0;
    // Progress and status after a channel was tested.
    virtual void channelTested(int channel) = 0;
    // The last channel was tested, or "Current Status Save" ended the scan: controls back.
    virtual void scanCompleted() = 0;
    // The registration question; the answer (framework::IDYES, IDNO).
    virtual int askRegistration() = 0;
    // What follows the answer, and the end of the scan.
    virtual void scanRegistration(int answer, const ScanFindings& findings) = 0;
    // "Cancel" ended the scan: everything as before it, and the end of the scan.
    virtual void scanCancelled() = 0;
};

class ScanThread {
public:
    // `context` is the page's QObject (the calls are queued to its thread); `page` its side of
    // the scan. Both and the tuner must outlive this object.
    ScanThread(QObject& context, ScanPage& page, CTunerController& tuner, const ScanPlan& plan);
    // Cancels and joins.
    ~ScanThread();
    ScanThread(const ScanThread&) = delete;
    ScanThread& operator=(const ScanThread&) = delete;

    void start();
    // "Cancel" and "Current Status Save": read by the worker once per channel, after the channel
    // being tested.
    void requestStop();
    void requestStopAndKeep();
    // Ends the scan without another word to the page and waits for the worker.
    void cancelAndJoin();

private:
    struct Shared;
    void run();
    // Queues `work` to the page's thread and goes on.
    void post(std::function<void()> work);
    // Queues `work` and waits for its answer; nullopt when the scan was cancelled meanwhile.
    std::optional<int> ask(std::function<int()> work);
    bool cancelled() const;

    ScanPage& page_;
    CTunerController& tuner_;
    ScanPlan plan_;
    std::shared_ptr<Shared> shared_;
    // Receives the wake-ups on the page's thread (a child of the page's QObject).
    class MailDoor;
    std::unique_ptr<MailDoor> door_;
    std::thread worker_;
};

}  // namespace kelto::viewer::config
