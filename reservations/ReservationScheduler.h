#pragma once
// The scheduler of the tray agent. Timer 30 looks every 10 s for the entry whose minute is one
// minute ahead (records first, in table order, then the turn-off) and arms the one-shot timer 31
// for second 55 of the current minute; timer 31 then starts the record or offers the turn-off.
// Date-mode records switch themselves off once handled.
//
// Timers run through the agent host; "now" comes from platform::clock() in local time.
//
// While the viewer records, the scheduler does not run: timer 30 finds nothing and timer 31
// keeps its entry pending. When the recording has ended (recordingEnded), a pending entry fires
// if it is still due (its start minute, or the minute before), and otherwise the entries whose
// start minute is now or next are looked for, so one that fell due meanwhile is not lost.
#include "reservations/LocalTime.h"
#include "reservations/ReservationAgentHost.h"
#include "reservations/ReservationStarter.h"
#include "reservations/ReservationTable.h"
#include "reservations/ReservationUi.h"
#include "reservations/ReservationViewer.h"

#include <cstdint>

namespace kelto {

class ReservationScheduler {
public:
    static constexpr int kSearchTimerId = 30;
    static constexpr std::uint32_t kSearchPeriodMs = 10000;
    static constexpr int kFireTimerId = 31;
    static constexpr std::uint32_t kFireSecondMs = 55000;  // second 55 of the minute before
    static constexpr int kNoEntry = -1;
    static constexpr int kTurnOffEntry = 100;

    ReservationScheduler(ReservationTable& table, ReservationStarter& starter, ReservationViewer& viewer,
                         ReservationUi& ui, ReservationAgentHost& host);

    // Starts timer 30 (at agent start, after the table was loaded).
    void start();
    // The agent's timer handler for timers 30 and 31; false for any other timer.
    bool onTimer(int timerId);
    // A recording of the viewer has ended: what became due meanwhile is looked at now.
    void recordingEnded();
    // Record index was started in the current minute by other means (a request on air): it is not
    // started again for this minute.
    void noteStartedNow(int entry);

    // −1 none, 0..29 a record, 100 the turn-off.
    int pending() const { return pending_; }

    // The entry due at now: the first due record's index, else 100 when the turn-off is due,
    // else −1. An entry already fired for the same minute is passed over.
    int findDue(std::int64_t nowSeconds) const;
    // How long until second 55 of now's minute; 0 when that is past.
    static std::uint32_t delayToFireMs(const LocalTime& now);

private:
    bool recordingRuns() const { return viewer_.isOpen() && viewer_.recording(); }
    // The first entry whose start minute is the current one and that has not fired for it; −1.
    int findStartingNow(std::int64_t nowSeconds) const;
    void search();
    void fire();
    bool stillDue(int entry, const LocalTime& now) const;
    void offerTurnOff();

    ReservationTable& table_;
    ReservationStarter& starter_;
    ReservationViewer& viewer_;
    ReservationUi& ui_;
    ReservationAgentHost& host_;
    int pending_ = kNoEntry;
    // The entry fired last and the start of the minute it was due for, so that a search later in
    // the same minute before does not fire it again.
    int firedEntry_ = kNoEntry;
    std::int64_t firedForMinute_ = 0;
    std::int64_t pendingForMinute_ = 0;
};

}  // namespace kelto
