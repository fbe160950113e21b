#pragma once
// The turn-off dialog's rule, without widgets: which setting its OK stores, and when it refuses.
#include "reservations/TurnOffSetting.h"

namespace kelto {

class ReservationTable;

// The setting made of the stored one and what the dialog shows: apply, hour and minute, option.
// Date and seconds come from the stored time, so a time left as it was is stored unchanged.
TurnOffSetting editedTurnOff(const TurnOffSetting& stored, bool apply, int hour, int minute, TurnOffOption option);

// True when OK must be refused with "Already reserved time.": the edited turn-off is to apply,
// its minute is taken (by a reservation or by the stored turn-off itself), the stored turn-off
// is active and the option is unchanged. So OK without changes on an active turn-off is refused,
// while changing only the option stores the same time.
bool turnOffRefused(const ReservationTable& table, const TurnOffSetting& edited);

}  // namespace kelto
