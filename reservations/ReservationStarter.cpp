#include "reservations/ReservationStarter.h"

#include "reservations/ReservationTiming.h"

#include "platform/Trace.h"

#include <algorithm>

namespace kelto {

namespace {
constexpr std::uint32_t kPowerOffParameter = 1;
}  // namespace

ReservationStarter::ReservationStarter(ReservationTable& table, ReservationViewer& viewer, ReservationUi& ui,
                                       ReservationAgentHost& host)
    : table_(table), viewer_(viewer), ui_(ui), host_(host) {}

void ReservationStarter::switchViewer(const ReservationRecord& record) {
    if (record.videoMode > static_cast<std::uint32_t>(VideoMode::SVHS)) {
        platform::tracef("reservation: video mode %u is not a mode; the mode is left as it is", record.videoMode);
    } else if (const auto mode = static_cast<VideoMode>(record.videoMode); viewer_.videoMode() != mode) {
        viewer_.setVideoMode(mode);
    }

    // The record holds the band channel the user picked, in every country (country code 86
    // included, whose viewer numbers channels by their place in the registered list).
    const int channel = static_cast<std::int32_t>(record.channel);
    if (channel < 1 || channel > kMaxChannel) {
        // Tuning would clamp it to some other channel; better keep the current one.
        platform::tracef("reservation: channel %d cannot be tuned; the channel is left as it is", channel);
        return;
    }
    if (viewer_.currentChannel() != channel) viewer_.tuneChannel(channel);
}

ReservationStarter::Outcome ReservationStarter::start(int index, bool confirm) {
    if (index < 0 || index >= table_.count()) return Outcome::NoRecord;
    const ReservationRecord record = table_.record(index);

    if (viewer_.isOpen()) {
        if (confirm && !ui_.confirmReservation(record)) return Outcome::Declined;
    } else if (!viewer_.open()) {
        platform::traceLine("reservation: the viewer could not be opened");
        return Outcome::ViewerUnavailable;
    }
    if (!record.records()) {
        switchViewer(record);
        return Outcome::Switched;
    }
    return this->record(index, record);
}

ReservationStarter::Outcome ReservationStarter::record(int index, const ReservationRecord& record) {
    switchViewer(record);

    const RecordingSetup before = viewer_.recordingSetup();
    const int durationSeconds = recordingDurationSeconds(record.startTime, record.endTime);
    RecordingSetup limited = before;
    limited.limitOn = 1;
    limited.limitSeconds = durationSeconds;
    viewer_.setRecordingSetup(limited);

    const std::string file = viewer_.nextRecordingFileName();
    const bool recorded = viewer_.recordStream(file);
    if (recorded) storeRecordedFile(index, record, file);

    // The viewer may have been closed while recording; only an open one takes the set-up back.
    if (before.limitOn == 0 && viewer_.isOpen()) {
        RecordingSetup unlimited = limited;
        unlimited.limitOn = 0;  // "totalsecond" keeps the reservation's length
        viewer_.setRecordingSetup(unlimited);
    }

    switch (record.option) {
    case AfterRecording::ExitProgram:
        viewer_.requestClose();
        break;
    case AfterRecording::PowerOff:
        host_.postPowerOffMessage(kPowerOffParameter);
        break;
    default:
        break;
    }
    return recorded ? Outcome::Recorded : Outcome::RecordingFailed;
}

void ReservationStarter::storeRecordedFile(int index, const ReservationRecord& started, const std::string& file) {
    // The list may have changed the table while the recording ran; write only into the same record.
    if (index >= table_.count() || !table_.record(index).sameReservationAs(started)) {
        platform::tracef("reservation: the record changed while recording; %s not noted", file.c_str());
        return;
    }
    ReservationRecord updated = table_.record(index);
    updated.recordedFile = file;
    table_.setRecord(index, updated);
    ui_.refreshReservationList();
}

}  // namespace kelto
