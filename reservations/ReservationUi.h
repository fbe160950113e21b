#pragma once
// The windows the reservation engine asks for: the confirmation with its countdown
// ("Programming Info"), the reservation list and one message. The tray agent implements it with
// the reservation dialogs; tests answer in memory. Every call is made on the user-interface thread.
#include "reservations/ReservationRecord.h"
#include "reservations/TurnOffSetting.h"

namespace kelto {

class ReservationUi {
public:
    virtual ~ReservationUi() = default;

    // Shows the confirmation in reservation form for a copy of the record, modally, and counts
    // down; true (OK, or the countdown ran out) applies it, false (Cancel) declines.
    virtual bool confirmReservation(const ReservationRecord& record) = 0;
    // The same in turn-off form.
    virtual bool confirmTurnOff(const TurnOffSetting& setting) = 0;
    // Opens the reservation list, or refreshes it when it is open already.
    virtual void openReservationList() = 0;
    // Refreshes the reservation list when it is open; nothing otherwise.
    virtual void refreshReservationList() = 0;
    // Shows string 32876 "Already reserved time.\n\rEnter the other time.." (information icon).
    virtual void showAlreadyReserved() = 0;
};

}  // namespace kelto
