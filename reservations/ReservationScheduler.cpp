#include "reservations/ReservationScheduler.h"

#include "reservations/ReservationTiming.h"

#include "platform/Trace.h"

namespace kelto {

namespace {
constexpr std::uint32_t kPowerOffParameter = 1;

// The start of the minute after now's minute: the minute an entry found now is due for.
std::int64_t nextMinuteStart(std::int64_t nowSeconds, const LocalTime& now) { return nowSeconds - now.second + 60; }
}  // namespace

ReservationScheduler::ReservationScheduler(ReservationTable& table, ReservationStarter& starter,
                                           ReservationViewer& viewer, ReservationUi& ui, ReservationAgentHost& host)
    : table_(table), starter_(starter), viewer_(viewer), ui_(ui), host_(host) {}

void ReservationScheduler::start() { host_.setTimer(kSearchTimerId, kSearchPeriodMs); }

bool ReservationScheduler::onTimer(int timerId) {
    if (timerId == kSearchTimerId) {
        if (pending_ == kNoEntry && !recordingRuns()) search();
        return true;
    }
    if (timerId == kFireTimerId) {
        if (recordingRuns()) {
            // Kept pending: recordingEnded fires it if it is still due then.
            host_.killTimer(kFireTimerId);
            platform::tracef("scheduler: entry %d waits for the running recording", pending_);
            return true;
        }
        fire();
        return true;
    }
    return false;
}

void ReservationScheduler::recordingEnded() {
    if (recordingRuns()) return;
    if (pending_ != kNoEntry) {
        fire();  // started when still due, dropped (traced) when its minute has passed
        return;
    }
    const std::int64_t seconds = nowSeconds();
    const LocalTime now = toLocalTime(seconds);
    if (const int entry = findStartingNow(seconds); entry != kNoEntry) {
        pending_ = entry;
        pendingForMinute_ = seconds - now.second;
        fire();
        return;
    }
    search();
}

void ReservationScheduler::noteStartedNow(int entry) {
    const std::int64_t seconds = nowSeconds();
    firedEntry_ = entry;
    firedForMinute_ = seconds - toLocalTime(seconds).second;
}

int ReservationScheduler::findStartingNow(std::int64_t nowSeconds) const {
    const LocalTime now = toLocalTime(nowSeconds);
    const std::int64_t minute = nowSeconds - now.second;
    auto firedAlready = [&](int entry) { return entry == firedEntry_ && minute == firedForMinute_; };
    for (int i = 0; i < table_.count(); ++i) {
        const ReservationRecord record = table_.record(i);
        if (record.isActive() && dayMatches(record, now) && minutesAhead(record.startTime, now) == 0 && !firedAlready(i))
            return i;
    }
    const TurnOffSetting& turnOff = table_.turnOff();
    if (turnOff.isActive() && minutesAhead(turnOff.time, now) == 0 && !firedAlready(kTurnOffEntry)) return kTurnOffEntry;
    return kNoEntry;
}

int ReservationScheduler::findDue(std::int64_t nowSeconds) const {
    const LocalTime now = toLocalTime(nowSeconds);
    const std::int64_t minute = nextMinuteStart(nowSeconds, now);
    auto firedAlready = [&](int entry) { return entry == firedEntry_ && minute == firedForMinute_; };
    for (int i = 0; i < table_.count(); ++i)
        if (recordDue(table_.record(i), now) && !firedAlready(i)) return i;
    if (turnOffDue(table_.turnOff(), now) && !firedAlready(kTurnOffEntry)) return kTurnOffEntry;
    return kNoEntry;
}

std::uint32_t ReservationScheduler::delayToFireMs(const LocalTime& now) {
    const std::uint32_t elapsedMs = static_cast<std::uint32_t>(now.second) * 1000;
    // Found in seconds 55..59 (the agent started late in the minute): fire at once rather than
    // wait for a period that has already passed.
    return elapsedMs >= kFireSecondMs ? 0 : kFireSecondMs - elapsedMs;
}

void ReservationScheduler::search() {
    const std::int64_t seconds = nowSeconds();
    const LocalTime now = toLocalTime(seconds);
    const int entry = findDue(seconds);
    if (entry == kNoEntry) return;
    pending_ = entry;
    pendingForMinute_ = nextMinuteStart(seconds, now);
    host_.setTimer(kFireTimerId, delayToFireMs(now));
}

bool ReservationScheduler::stillDue(int entry, const LocalTime& now) const {
    // Timer 31 fires in the minute before the start, or a moment late in the start minute itself.
    if (entry == kTurnOffEntry) {
        const TurnOffSetting& turnOff = table_.turnOff();
        const int ahead = minutesAhead(turnOff.time, now);
        return turnOff.isActive() && (ahead == 0 || ahead == 1);
    }
    if (entry < 0 || entry >= table_.count()) return false;
    const ReservationRecord record = table_.record(entry);
    const int ahead = minutesAhead(record.startTime, now);
    return record.isActive() && dayMatches(record, now) && (ahead == 0 || ahead == 1);
}

void ReservationScheduler::fire() {
    host_.killTimer(kFireTimerId);
    const int entry = pending_;
    if (entry == kNoEntry) return;
    firedEntry_ = entry;
    firedForMinute_ = pendingForMinute_;

    if (!stillDue(entry, localNow())) {
        // Deleted, switched off or moved in the list since it was found.
        platform::tracef("scheduler: entry %d is no longer due; nothing started", entry);
    } else if (entry == kTurnOffEntry) {
        offerTurnOff();
    } else {
        const ReservationRecord record = table_.record(entry);
        starter_.start(entry, true);
        if (record.dayMode == DayMode::Date && entry < table_.count() &&
            table_.record(entry).sameReservationAs(record)) {
            table_.setApply(entry, 0);
            ui_.refreshReservationList();
        }
    }
    pending_ = kNoEntry;
}

void ReservationScheduler::offerTurnOff() {
    // Asked also when no viewer is open, so the user can still cancel a power-off.
    const TurnOffSetting setting = table_.turnOff();
    if (!ui_.confirmTurnOff(setting)) return;
    if (setting.powersOff())
        host_.postPowerOffMessage(kPowerOffParameter);
    else if (viewer_.isOpen())
        viewer_.requestClose();  // with no viewer open there is nothing to close
}

}  // namespace kelto
