#include "viewer/config/ScanThread.h"

#include "platform/qt/QueuedCall.h"

#include <cmath>
#include <condition_variable>
#include <cstdint>
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

// The answer to one question put to the page's thread. It is given when the call has run, or
// as "no answer" when the call is dropped without running (its holder is destroyed either way).
struct Reply {
    std::function<void(std::optional<int>)> give;
    bool given = false;
    void answer(std::optional<int> value) {
        if (given) return;
        given = true;
        give(value);
    }
    ~Reply() { answer(std::nullopt); }
};

}  // namespace

ScanThread::ScanThread(QObject& context, ScanPage& page, CTunerController& tuner, const ScanPlan& plan)
    : context_(context), page_(page), tuner_(tuner), plan_(plan), shared_(std::make_shared<Shared>()) {}

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
}

bool ScanThread::cancelled() const { return shared_->cancelled; }

void ScanThread::post(std::function<void()> work) {
    platform::queueCall(&context_, false, [shared = shared_, work = std::move(work)] {
        if (shared->cancelled) return false;
        work();
        return true;
    });
}

std::optional<int> ScanThread::ask(std::function<int()> work) {
    std::uint64_t id = 0;
    {
        std::lock_guard lock(shared_->mutex);
        id = ++shared_->asked;
    }
    auto reply = std::make_shared<Reply>();
    reply->give = [shared = shared_, id](std::optional<int> value) { shared->publish(id, value); };
    platform::queueCall(&context_, false, [shared = shared_, reply, work = std::move(work)] {
        if (shared->cancelled) return false;
        reply->answer(work());
        return true;
    });
    reply.reset();  // from here on the queued call holds the only reference

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
