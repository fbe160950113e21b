#include "reservations/ReservationListText.h"

#include "reservations/LocalTime.h"

#include <cstdio>

namespace kelto {

namespace {

// Hours and minutes with a space after the colon, as the list's time columns read.
std::string listTime(std::uint32_t time) {
    const LocalTime local = toLocalTime(time);
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%02d: %02d", local.hour, local.minute);
    return buffer;
}

std::string dayModeText(const ReservationRecord& record, const StringLookup& text) {
    const auto day = static_cast<std::uint32_t>(record.dayMode);
    if (day <= 6) return text(32862 + int(day));
    if (record.dayMode == DayMode::Daily) return text(32869);
    if (record.dayMode == DayMode::Date) {
        const LocalTime local = toLocalTime(record.startTime);
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", local.year, local.month, local.day);
        return buffer;
    }
    return {};  // a value no dialog stores
}

std::string optionText(AfterRecording option, const StringLookup& text) {
    switch (option) {
        case AfterRecording::None: return text(32871);
        case AfterRecording::ExitProgram: return text(32874);
        case AfterRecording::PowerOff: return text(32875);
    }
    return {};
}

}  // namespace

std::array<std::string, kReservationListColumns> reservationRowTexts(int row, const ReservationRecord& record,
                                                                     const StringLookup& text) {
    const bool records = record.records();
    return {" " + std::to_string(row + 1),
            record.videoMode == 1 ? "CATV" : "TV",
            std::to_string(record.channel),
            listTime(record.startTime),
            records ? listTime(record.endTime) : std::string(),
            dayModeText(record, text),
            record.comment,
            text(records ? 32870 : 32871),
            records ? optionText(record.option, text) : std::string(),
            record.recordedFile};
}

TurnOffSummary turnOffSummary(const TurnOffSetting& setting, const StringLookup& text) {
    const LocalTime local = toLocalTime(setting.time);
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%02d:%02d", local.hour, local.minute);
    return {text(setting.isActive() ? 32870 : 32871), buffer, text(setting.powersOff() ? 32875 : 32874)};
}

}  // namespace kelto
