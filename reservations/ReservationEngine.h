#pragma once
// The tray agent's reservation engine: the table and the turn-off, their file, the scheduler,
// reservation requests from other programs and the power-off message. The agent owns one and
// forwards to it; the reservation dialogs edit table() directly and call the engine for the rest.
//
// The agent supplies three interfaces: the viewer (ReservationViewer), the windows
// (ReservationUi) and itself (ReservationAgentHost: timers, posting 0x46E, its exit).
// Single-threaded: everything runs on the user-interface thread.
//
// Agent wiring:
//   initialisation   engine.start()            loads "reserve.rsd", starts timer 30
//   timers 30, 31    engine.onTimer(id)
//   copy-data        engine.handleReservationRequest(bytes)
//   message 0x46E    engine.handlePowerOffMessage(wParam)
//   exit sequence    engine.save(); engine.endingWithoutQuestion() skips the question
// Every change of the table is saved at once as well ("reserve.rsd" is replaced atomically).
#include "reservations/ReservationAgentHost.h"
#include "reservations/ReservationScheduler.h"
#include "reservations/ReservationStarter.h"
#include "reservations/ReservationTable.h"
#include "reservations/ReservationUi.h"
#include "reservations/ReservationViewer.h"
#include "reservations/ReserveFile.h"

#include <cstdint>
#include <filesystem>
#include <string_view>
#include <vector>

namespace kelto {

class ReservationEngine {
public:
    ReservationEngine(ReservationViewer& viewer, ReservationUi& ui, ReservationAgentHost& host,
                      std::filesystem::path file = ReserveFile::defaultPath());
    ReservationEngine(const ReservationEngine&) = delete;
    ReservationEngine& operator=(const ReservationEngine&) = delete;

    // Agent start: loads the file (the turn-off time starts as now) and starts timer 30.
    void start();
    ReserveFile::LoadResult load();
    // Writes the file; false when it could not be written. The engine also writes it after every
    // change of the table, so an accepted reservation survives a crash.
    bool save() const;

    ReservationTable& table() { return table_; }
    const ReservationTable& table() const { return table_; }
    ReservationScheduler& scheduler() { return scheduler_; }
    const std::filesystem::path& filePath() const { return file_; }

    // Timers 30 and 31; false for other timers (they get the default handling).
    bool onTimer(int timerId);

    // A copy-data reservation request, answered at once: the sender never waits for a box or a
    // recording. Refused blocks are traced and answered false. A request whose start minute is
    // taken (or a full table) answers false, and "Already reserved time." is shown afterwards from
    // the event loop. Otherwise the record is added (and saved), the list opened or refreshed,
    // and true answered; when the programme is on air already, its recording starts from the
    // event loop without a question (after a recording that runs, if still on air then).
    bool handleReservationRequest(std::string_view block);

    // The agent calls this from the event loop when a recording of the viewer has ended: the
    // scheduler looks at what became due meanwhile, and requests held back start now.
    void recordingEnded();

    // Message 0x46E. Non-zero: set ending-without-question, run the agent's exit and switch the
    // computer off (PowerOffSequence). The engine may be destroyed by the exit; nothing of it is
    // used afterwards. Zero: close the viewer when one is open.
    void handlePowerOffMessage(std::uint32_t firstParameter);

    // Set when the computer is being switched off or the session ends: the exit asks nothing.
    bool endingWithoutQuestion() const { return endingWithoutQuestion_; }
    void setEndingWithoutQuestion() { endingWithoutQuestion_ = true; }

private:
    ReservationViewer& viewer_;
    ReservationUi& ui_;
    ReservationAgentHost& host_;
    std::filesystem::path file_;
    ReservationTable table_;
    ReservationStarter starter_;
    ReservationScheduler scheduler_;
    bool recordingRuns() const { return viewer_.isOpen() && viewer_.recording(); }
    void startOnAir(const ReservationRecord& record);

    bool endingWithoutQuestion_ = false;
    bool loading_ = false;
    // Requests on air that arrived while a recording ran.
    std::vector<ReservationRecord> heldOnAir_;
};

}  // namespace kelto
