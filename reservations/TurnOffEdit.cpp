#include "reservations/TurnOffEdit.h"

#include "reservations/LocalTime.h"
#include "reservations/ReservationTable.h"

namespace kelto {

TurnOffSetting editedTurnOff(const TurnOffSetting& stored, bool apply, int hour, int minute, TurnOffOption option) {
    TurnOffSetting edited = stored;
    edited.apply = apply ? 1 : 0;
    edited.option = option;
    const LocalTime was = toLocalTime(stored.time);
    if (was.hour != hour || was.minute != minute)
        edited.time = std::uint32_t(fromLocalTime(was.year, was.month, was.day, hour, minute, was.second));
    return edited;
}

bool turnOffRefused(const ReservationTable& table, const TurnOffSetting& edited) {
    const TurnOffSetting& stored = table.turnOff();
    return edited.isActive() && !table.timeFree(edited.time) && stored.isActive() && edited.option == stored.option;
}

}  // namespace kelto
