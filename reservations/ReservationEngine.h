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

namespace kelto {

class ReservationEngine {
public:
    static constexpr std::uint32_t kPowerOffMessage = 0x46E;

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

    // A copy-data reservation request. Refused blocks are traced and answered false. A request
    // whose start minute is taken (or a full table) shows "Already reserved time." and answers
    // false. Otherwise the record is added, the list opened or refreshed, and when the programme
    // is on air already its recording starts at once without a question; true.
    bool handleReservationRequest(std::string_view block);

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
    bool endingWithoutQuestion_ = false;
    bool loading_ = false;
};

}  // namespace kelto
