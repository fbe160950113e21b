#pragma once
// What the reservation list shows: the headings of its ten columns, the texts of one record's row
// and the turn-off summary. Texts come through a string lookup (the string table in the program).
#include "reservations/ReservationConfirmation.h"
#include "reservations/ReservationRecord.h"
#include "reservations/TurnOffSetting.h"

#include <array>
#include <string>

namespace kelto {

constexpr int kReservationListColumns = 10;
constexpr int kReservationCommentColumn = 6;

// The string ids of the headings: Apply, Video Mode, Channel, Start Time, End Time, Day Mode,
// Comment, Recording, Option After Recording, Recent File Path After Recording.
constexpr std::array<int, kReservationListColumns> kReservationListHeadings{32854, 32855, 32856, 32857, 32858,
                                                                           32859, 32861, 32860, 32873, 32877};

// The texts of row `row` (0-based) for `record`. End time and option are empty for a reservation
// that does not record, whatever the record holds; day mode "Date" shows the start's local date.
std::array<std::string, kReservationListColumns> reservationRowTexts(int row, const ReservationRecord& record,
                                                                     const StringLookup& text);

struct TurnOffSummary {
    std::string apply;   // "Yes" / "No"
    std::string time;    // local "HH:MM"
    std::string option;  // "Exit TV Program" / "System Power Off"
};
TurnOffSummary turnOffSummary(const TurnOffSetting& setting, const StringLookup& text);

}  // namespace kelto
