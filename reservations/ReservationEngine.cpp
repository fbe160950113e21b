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
        ui_.showAlreadyReserved();
        return false;
    }
    const int index = table_.count() - 1;
    ui_.openReservationList();
    if (programmeOnAir(record.startTime, record.endTime, nowSeconds())) starter_.start(index, false);
    return true;
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
