#include "viewer/config/ScanThread.h"

#include <QMetaObject>
#include <QObject>
#include <QSocketNotifier>

#include <fcntl.h>
#include <unistd.h>

#include <cmath>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>

namespace kelto::viewer::config {

namespace {

constexpr double kDividerStepsPerMHz = 16.0;
constexpr double kHighestDivider = 0x7FFF;
constexpr int kFoundFineTuning = 1;

}  // namespace

ScanPlan ScanPlan::of(const ChannelModel& model, ChannelBand band) {
    ScanPlan plan;
    plan.band = band;
    const ChannelBounds bounds = model.bounds();
    plan.lowest = band == ChannelBand::Broadcast ? bounds.tvLowest : bounds.catvLowest;
    plan.highest = band == ChannelBand::Broadcast ? bounds.tvHighest : bounds.catvHighest;
    for (int channel = 1; channel <= kMaxChannel; ++channel) {
        // The table frequency alone: a scan does not add the channel's fine tuning.
        const double divider =
            std::trunc((double(model.intermediateFrequencyMHz()) + double(model.channelMHz(band, channel))) *
                       kDividerStepsPerMHz);
        if (divider >= 0 && divider <= kHighestDivider) plan.dividers[std::size_t(channel)] = std::uint16_t(divider);
    }
    return plan;
}

// What the worker and the page's thread share. `cancelled` and the answers change under the
// mutex, so a worker about to wait cannot miss the wake-up.
struct ScanThread::Shared {
    std::atomic<bool> cancelled{false};
    std::atomic<bool> stop{false};
    std::atomic<bool> stopAndKeep{false};
    std::mutex mutex;
    std::condition_variable wake;
    std::uint64_t asked = 0;
    std::uint64_t answered = 0;
    std::optional<int> answer;

    void publish(std::uint64_t id, std::optional<int> value) {
        {
            std::lock_guard lock(mutex);
            if (answered >= id) return;
            answered = id;
            answer = value;
        }
        wake.notify_all();
    }
};

namespace {

// Calls on their way to the page's thread. The work travels through this standard mutex, which
// orders the worker's writes before the page thread's reads in a way thread checkers see (Qt's
// own event queue locks with futexes they cannot see); through Qt goes only a wake-up that
// carries no data.
struct Mail {
    const void* scan;
    std::function<void()> work;
};
std::mutex mailboxMutex;
std::deque<Mail> mailbox;

// One call per wake-up, so the page's event loop turns between the worker's calls.
void deliverMail() {
    std::function<void()> work;
    {
        std::lock_guard lock(mailboxMutex);
        if (mailbox.empty()) return;
        work = std::move(mailbox.front().work);
        mailbox.pop_front();
    }
    work();
}

// Drops what a finished scan left undelivered (its page went away before the wake-up ran).
void discardMail(const void* scan) {
    std::deque<Mail> dropped;
    {
        std::lock_guard lock(mailboxMutex);
        for (auto it = mailbox.begin(); it != mailbox.end();) {
            if (it->scan == scan) {
                dropped.push_back(std::move(*it));
                it = mailbox.erase(it);
            } else {
                ++it;
            }
        }
    }
}

}  // namespace

// The page thread's end of the mailbox: a pipe whose every byte is one call to deliver. Only
// the byte travels through the pipe; the read on the page's thread orders it after the write
// in a way the thread checker sees, and nothing the worker allocates is freed behind its back.
class ScanThread::MailDoor final : public QObject {
public:
    explicit MailDoor(QObject* parent) : QObject(parent) {
        if (::pipe2(fds_, O_NONBLOCK | O_CLOEXEC) != 0) fds_[0] = fds_[1] = -1;
        if (fds_[0] < 0) return;
        notifier_ = new QSocketNotifier(fds_[0], QSocketNotifier::Read, this);
        connect(notifier_, &QSocketNotifier::activated, this, [this] {
            // One call per turn of the event loop: the next byte fires the notifier again.
            char byte = 0;
            if (::read(fds_[0], &byte, 1) == 1) deliverMail();
        });
    }
    ~MailDoor() override {
        delete notifier_;
        for (int fd : fds_)
            if (fd >= 0) ::close(fd);
    }
    // Leaves its page and goes at the next turn of the event loop, not at once: the page may be
    // going away inside a call this door is delivering.
    void retire() {
        if (notifier_) notifier_->setEnabled(false);
        setParent(nullptr);
        deleteLater();
    }
    // Any thread. Without its pipe (the system refused one, or it is full) the wake-up goes
    // through Qt's queue instead, so no call is ever left waiting.
    void ring() {
        const char byte = 1;
        if (fds_[1] >= 0 && ::write(fds_[1], &byte, 1) == 1) return;
        QMetaObject::invokeMethod(this, [] { deliverMail(); }, Qt::QueuedConnection);
    }

private:
    int fds_[2] = {-1, -1};
    QSocketNotifier* notifier_ = nullptr;
};

ScanThread::ScanThread(QObject& context, ScanPage& page, CTunerController& tuner, const ScanPlan& plan)
    : page_(page),
      tuner_(tuner),
      plan_(plan),
      shared_(std::make_shared<Shared>()),
      door_(std::make_unique<MailDoor>(&context)) {}

ScanThread::~ScanThread() { cancelAndJoin(); }

void ScanThread::start() {
    if (!worker_.joinable()) worker_ = std::thread([this] { run(); });
}

void ScanThread::requestStop() { shared_->stop = true; }

void ScanThread::requestStopAndKeep() {
    shared_->stopAndKeep = true;
    shared_->stop = true;
}

void ScanThread::cancelAndJoin() {
    {
        std::lock_guard lock(shared_->mutex);
        shared_->cancelled = true;
    }
    shared_->wake.notify_all();
    if (worker_.joinable()) worker_.join();
    discardMail(shared_.get());
    if (door_) door_.release()->retire();  // wake-ups still on their way go with it
}

bool ScanThread::cancelled() const { return shared_->cancelled; }

void ScanThread::post(std::function<void()> work) {
    {
        std::lock_guard lock(mailboxMutex);
        mailbox.push_back({shared_.get(), [shared = shared_, work = std::move(work)] {
                               if (!shared->cancelled) work();
                           }});
    }
    door_->ring();
}

std::optional<int> ScanThread::ask(std::function<int()> work) {
    std::uint64_t id = 0;
    {
        std::lock_guard lock(shared_->mutex);
        id = ++shared_->asked;
    }
    post([shared = shared_, id, work = std::move(work)] { shared->publish(id, work()); });

    std::unique_lock lock(shared_->mutex);
    shared_->wake.wait(lock, [&] { return shared_->cancelled || shared_->answered >= id; });
    if (shared_->cancelled) return std::nullopt;
    return shared_->answer;
}

void ScanThread::run() {
    if (!ask([this] {
            page_.scanStarted();
            return 1;
        }))
        return;

    ScanFindings findings;
    const bool cable = plan_.band == ChannelBand::Cable;
    for (int channel = plan_.lowest; channel <= plan_.highest; ++channel) {
        if (cancelled()) return;
        // The viewer's tuning runs (and finishes) before this step takes the tuner.
        if (cable && !ask([this, channel] {
                page_.tuneForScan(channel);
                return 1;
            }))
            return;

        bool locked = false;
        const auto divider = isChannelNumber(channel) ? plan_.dividers[std::size_t(channel)] : std::nullopt;
        if (divider) {
            const auto tuner = tuner_.lockTuner();
            const auto high = std::uint8_t(*divider >> 8), low = std::uint8_t(*divider & 0xFF);
            if (cable) tuner_.ScanTuneCable(channel, high, low);
            else tuner_.ScanTuneBroadcast(channel, high, low);
            locked = tuner_.PollLock() == 1;
        }
        if (locked && findings.channels.size() < std::size_t(kMaxChannel)) {
            const int row = int(findings.channels.size());
            findings.channels.push_back(channel);
            findings.fineTuning.push_back(kFoundFineTuning);
            post([this, row, channel] { page_.channelFound(row, channel); });
        }
        post([this, channel] { page_.channelTested(channel); });

        if (shared_->stop) {
            if (!shared_->stopAndKeep) {
                post([this] { page_.scanCancelled(); });
                return;
            }
            shared_->stop = false;
            shared_->stopAndKeep = false;
            break;
        }
    }

    post([this] { page_.scanCompleted(); });
    const std::optional<int> answer = ask([this] { return page_.askRegistration(); });
    if (!answer) return;
    post([this, answer = *answer, findings = std::move(findings)] { page_.scanRegistration(answer, findings); });
}

}  // namespace kelto::viewer::config
