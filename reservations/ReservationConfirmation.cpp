#include "reservations/ReservationConfirmation.h"

#include "reservations/LocalTime.h"

#include <cstdio>

namespace kelto {

namespace {

constexpr const char* kLineEnd = "\n\r";

std::string hourMinute(std::uint32_t time) {
    const LocalTime local = toLocalTime(time);
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, ": %02d:%02d", local.hour, local.minute);
    return buffer;
}

std::string afterRecordingText(AfterRecording option, const StringLookup& text) {
    switch (option) {
        case AfterRecording::None: return text(32871);
        case AfterRecording::ExitProgram: return text(32874);
        case AfterRecording::PowerOff: return text(32875);
    }
    return {};  // a value no dialog stores: shown as nothing
}

}  // namespace

std::string describeReservation(const ReservationRecord& record, const StringLookup& text) {
    std::string out;
    out += text(32855) + (record.videoMode == 1 ? ": CATV" : ": TV") + kLineEnd;
    out += text(32856) + ": " + std::to_string(record.channel) + kLineEnd;
    out += text(32857) + hourMinute(record.startTime) + kLineEnd;
    if (record.records()) {
        out += text(32858) + hourMinute(record.endTime) + kLineEnd;
        out += text(32860) + ": " + text(32870) + kLineEnd;
        out += text(32873) + ": " + afterRecordingText(record.option, text) + kLineEnd;
    } else {
        out += text(32858) + ": " + kLineEnd;
        out += text(32860) + ": " + text(32871) + kLineEnd;
        out += text(32873) + ": " + kLineEnd;
    }
    out += text(32861) + ": " + record.comment;
    return out;
}

std::string describeTurnOff(const TurnOffSetting& setting, const StringLookup& text) {
    return text(32857) + hourMinute(setting.time) + kLineEnd + text(setting.powersOff() ? 32875 : 32874);
}

}  // namespace kelto
