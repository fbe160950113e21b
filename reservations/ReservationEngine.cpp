#include "reservations/ReservationEngine.h"

#include "reservations/LocalTime.h"
#include "reservations/PowerOffSequence.h"
#include "reservations/ReservationRequest.h"
#include "reservations/ReservationTiming.h"

#include "platform/Trace.h"

#include <utility>

namespace kelto {

ReservationEngine::ReservationEngine(ReservationViewer& viewer, ReservationUi& ui, ReservationAgentHost& host,
                                     std::filesystem::path file)
    : viewer_(viewer),
      ui_(ui),
      host_(host),
      file_(std::move(file)),
      table_(static_cast<std::uint32_t>(nowSeconds())),
      starter_(table_, viewer_, ui_, host_),
      scheduler_(table_, starter_, viewer_, ui_, host_) {
    // A crash or a kill must not lose what was accepted: every change is on disk at once.
    table_.setChangeObserver([this] {
        if (!loading_) save();
    });
}

void ReservationEngine::start() {
    load();
    scheduler_.start();
}

ReserveFile::LoadResult ReservationEngine::load() {
    // Reading the file changes the table but is no reason to write it (a missing file stays missing).
    loading_ = true;
    const auto result = ReserveFile::load(file_, table_, static_cast<std::uint32_t>(nowSeconds()));
    loading_ = false;
    return result;
}

bool ReservationEngine::save() const { return ReserveFile::save(file_, table_); }

bool ReservationEngine::onTimer(int timerId) { return scheduler_.onTimer(timerId); }

bool ReservationEngine::handleReservationRequest(std::string_view block) {
    std::string why;
    const auto request = ReservationRequest::decode(block, &why);
    if (!request) {
        platform::tracef("reservation request refused: %s", why.c_str());
        return false;
    }
    const ReservationRecord record = request->toRecord();
    if (!table_.addRecord(record)) {
        platform::tracef("reservation request refused: %s is taken or the table is full",
                         request->title.c_str());
        ReservationUi& ui = ui_;
        host_.runLater([&ui] { ui.showAlreadyReserved(); });
        return false;
    }
    ui_.openReservationList();
    if (programmeOnAir(record.startTime, record.endTime, nowSeconds()))
        host_.runLater([this, record] { startOnAir(record); });
    return true;
}

void ReservationEngine::startOnAir(const ReservationRecord& record) {
    if (recordingRuns()) {
        heldOnAir_.push_back(record);
        return;
    }
    if (!programmeOnAir(record.startTime, record.endTime, nowSeconds())) return;
    // Found again by its contents: the list may have moved or removed it since it was accepted.
    for (int i = 0; i < table_.count(); ++i) {
        if (table_.record(i).sameReservationAs(record)) {
            scheduler_.noteStartedNow(i);
            starter_.start(i, false);
            return;
        }
    }
    platform::tracef("reservation request %s was removed before its recording could start", record.comment.c_str());
}

void ReservationEngine::recordingEnded() {
    if (recordingRuns()) return;  // another one has started meanwhile; its end comes later
    scheduler_.recordingEnded();
    std::vector<ReservationRecord> held;
    held.swap(heldOnAir_);
    for (const ReservationRecord& record : held) startOnAir(record);
}

void ReservationEngine::handlePowerOffMessage(std::uint32_t firstParameter) {
    if (firstParameter == 0) {
        if (viewer_.isOpen()) viewer_.requestClose();
        return;
    }
    endingWithoutQuestion_ = true;
    ReservationAgentHost& host = host_;  // the exit may destroy this engine
    host.runExitSequence();
    PowerOffSequence::switchOff();
}

}  // namespace kelto
