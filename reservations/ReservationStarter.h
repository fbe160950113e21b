#pragma once
// The start of a reservation: ask (when wanted and a viewer is open), open the viewer when none
// is, switch it to the record's mode and channel, and for a recording record for the
// reservation's length into the next numbered file, then carry out the option after recording.
#include "reservations/ReservationAgentHost.h"
#include "reservations/ReservationTable.h"
#include "reservations/ReservationUi.h"
#include "reservations/ReservationViewer.h"

namespace kelto {

class ReservationStarter {
public:
    enum class Outcome {
        NoRecord,         // the index names no stored record
        Declined,         // the confirmation was cancelled
        ViewerUnavailable,  // the viewer could not be opened
        Switched,         // the viewer shows the record's mode and channel
        Recorded,         // switched and recorded successfully
        RecordingFailed,  // switched, the recording failed (the option was still carried out)
    };

    ReservationStarter(ReservationTable& table, ReservationViewer& viewer, ReservationUi& ui,
                       ReservationAgentHost& host);

    // Starts record index. With confirm, an open viewer first shows the confirmation; a closed
    // viewer is opened without one.
    Outcome start(int index, bool confirm);

    // Switches the open viewer to the record's mode and band channel.
    void switchViewer(const ReservationRecord& record);

private:
    Outcome record(int index, const ReservationRecord& record);
    void storeRecordedFile(int index, const ReservationRecord& started, const std::string& file);

    ReservationTable& table_;
    ReservationViewer& viewer_;
    ReservationUi& ui_;
    ReservationAgentHost& host_;
};

}  // namespace kelto
