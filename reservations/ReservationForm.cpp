#include "reservations/ReservationForm.h"

#include "reservations/LocalTime.h"

namespace kelto {

namespace {

std::pair<int, int> limitsOf(const ChannelBounds& bounds, std::uint32_t videoMode) {
    return videoMode == 1 ? std::pair{bounds.catvLowest, bounds.catvHighest} : std::pair{bounds.tvLowest, bounds.tvHighest};
}

}  // namespace

std::vector<int> bandChannels(const ChannelBounds& bounds, std::uint32_t videoMode) {
    const auto [lowest, highest] = limitsOf(bounds, videoMode);
    std::vector<int> channels;
    for (int channel = lowest; channel <= highest; ++channel) channels.push_back(channel);
    return channels;
}

int channelEntry(const ChannelBounds& bounds, std::uint32_t videoMode, std::uint32_t channel) {
    const auto [lowest, highest] = limitsOf(bounds, videoMode);
    const auto value = std::int64_t(channel);
    return value >= lowest && value <= highest ? int(value - lowest) : 0;
}

ReservationRecord buildReservation(const ReservationFormValues& values, const ChannelBounds& bounds, std::uint32_t apply) {
    ReservationRecord record;
    record.apply = apply;
    record.videoMode = values.videoMode;
    const std::vector<int> channels = bandChannels(bounds, values.videoMode);
    const bool inList = values.channelEntry >= 0 && std::size_t(values.channelEntry) < channels.size();
    record.channel = std::uint32_t(inList ? channels[std::size_t(values.channelEntry)] : 0);
    if (values.dayModeEntry == int(DayMode::Date)) {
        const LocalTime day = toLocalTime(values.date);
        const LocalTime time = toLocalTime(values.start);
        record.startTime = std::uint32_t(fromLocalTime(day.year, day.month, day.day, time.hour, time.minute, time.second));
    } else {
        record.startTime = std::uint32_t(values.start);
    }
    record.endTime = std::uint32_t(values.end);
    record.dayMode = DayMode(std::uint32_t(values.dayModeEntry));
    record.comment = values.comment;
    record.recording = values.recording ? 1 : 0;
    record.option = AfterRecording(std::uint32_t(values.optionEntry));
    return record;
}

}  // namespace kelto
