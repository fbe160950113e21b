#pragma once
// The tray agent's reservation table: exactly 30 record slots, how many are in use, and the timed
// turn-off. Plain data and rules, no files and no timers (ReserveFile and ReservationScheduler do
// those). Single-threaded: the agent's user-interface thread owns it.
//
// A change observer hears of every change (the agent's engine saves the file there), whoever
// makes it: the engine, the scheduler or the reservation dialogs.
#include "reservations/ReservationRecord.h"
#include "reservations/TurnOffSetting.h"

#include <array>
#include <cstddef>
#include <functional>

namespace kelto {

class ReservationTable {
public:
    static constexpr int kSlots = 30;

    // An empty table; the turn-off is inactive, option 0, with the given time (the agent's start).
    explicit ReservationTable(std::uint32_t turnOffTime = 0);

    int count() const { return count_; }
    bool full() const { return count_ >= kSlots; }

    // Copy of slot index (0..29); the blank record for an index outside the slots.
    ReservationRecord record(int index) const;
    // Overwrites slot index (0..29) without any time check; false for an index outside the slots.
    // A slot at or beyond count() is written but stays outside the table until an add reaches it.
    bool setRecord(int index, const ReservationRecord& record);
    // Appends at index count(). Refused (false) when 30 records are stored or the start time is
    // not free (timeFree).
    bool addRecord(const ReservationRecord& record);
    // Removes record index: later records move one slot down and the vacated slot is blanked.
    // False when index is not below count().
    bool deleteRecord(int index);

    // The apply flag of slot index (0..29; 0 outside).
    std::uint32_t apply(int index) const;
    // Sets the apply flag; only for index below count(). False otherwise.
    bool setApply(int index, std::uint32_t apply);

    const TurnOffSetting& turnOff() const { return turnOff_; }
    void setTurnOff(const TurnOffSetting& setting) {
        turnOff_ = setting;
        changed();
    }

    // False when the time's local hour and minute equal the start hour and minute of any stored
    // record (active or not, any day mode) or the turn-off time (active or not).
    bool timeFree(std::uint32_t time) const;

    // Empties the table and sets the turn-off to its initial state with the given time.
    void clear(std::uint32_t turnOffTime);

    // Replaces everything at once (used by the file reader); records beyond 30 are not taken.
    bool assign(const ReservationRecord* records, int count, const TurnOffSetting& turnOff);

    // Called after every change: add, delete, set record, apply, turn-off, clear, assign. A copy
    // of a table does not take the observer with it.
    void setChangeObserver(std::function<void()> observer) { observer_.call = std::move(observer); }

    bool operator==(const ReservationTable&) const = default;

private:
    // Not copied and not compared: it belongs to the object, not to the table's contents.
    struct Observer {
        std::function<void()> call;
        Observer() = default;
        Observer(const Observer&) {}
        Observer& operator=(const Observer&) { return *this; }
        bool operator==(const Observer&) const { return true; }
    };

    static bool inSlots(int index) { return index >= 0 && index < kSlots; }
    void changed() const {
        if (observer_.call) observer_.call();
    }

    std::array<ReservationRecord, kSlots> slots_{};
    int count_ = 0;
    TurnOffSetting turnOff_;
    Observer observer_;
};

}  // namespace kelto
