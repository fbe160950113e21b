#include "channels/RegisteredChannels.h"

#include <algorithm>

namespace kelto {

namespace {

bool validPosition(int position) { return position >= 0 && position < kMaxChannel; }
int clippedCount(int count) { return std::clamp(count, 0, kMaxChannel); }

}  // namespace

ChannelNumbering numberingForCountry(int countryCode) {
    return countryCode == 86 ? ChannelNumbering::ListPosition : ChannelNumbering::ChannelNumber;
}

RegisteredList RegisteredChannels::factoryList() {
    RegisteredList list;
    std::copy(kFactoryChannels.begin(), kFactoryChannels.end(), list.channels.begin());
    list.count = static_cast<std::int32_t>(kFactoryChannels.size());
    return list;
}

RegisteredChannels::RegisteredChannels() : broadcast_(factoryList()), cable_(factoryList()) {}

RegisteredChannels::RegisteredChannels(const RegisteredList& broadcast, const RegisteredList& cable,
                                       const FineTuneTable& broadcastFine, const FineTuneTable& cableFine)
    : broadcast_(broadcast), cable_(cable), broadcastFine_(broadcastFine), cableFine_(cableFine) {
    broadcast_.count = clippedCount(broadcast_.count);
    cable_.count = clippedCount(cable_.count);
}

std::int32_t RegisteredChannels::entry(ChannelBand band, int position) const {
    return validPosition(position) ? list(band).channels[std::size_t(position)] : 0;
}

void RegisteredChannels::setEntry(ChannelBand band, int position, std::int32_t channel) {
    if (validPosition(position)) mutableList(band).channels[std::size_t(position)] = channel;
}

void RegisteredChannels::setCount(ChannelBand band, int count) { mutableList(band).count = clippedCount(count); }

bool RegisteredChannels::removeAt(ChannelBand band, int position) {
    RegisteredList& l = mutableList(band);
    if (position < 0 || position >= l.count) return false;
    std::copy(l.channels.begin() + position + 1, l.channels.begin() + l.count, l.channels.begin() + position);
    l.channels[std::size_t(l.count - 1)] = 0;
    --l.count;
    return true;
}

void RegisteredChannels::registerRange(ChannelBand band, std::int32_t lowest, std::int32_t highest) {
    RegisteredList& l = mutableList(band);
    l.count = 0;
    for (std::int64_t channel = std::max(lowest, 1); channel <= std::min(highest, kMaxChannel); ++channel)
        l.channels[std::size_t(l.count++)] = static_cast<std::int32_t>(channel);
}

std::int32_t RegisteredChannels::fineTune(ChannelBand band, std::int32_t channel) const {
    return isChannelNumber(channel) ? fineTuneTable(band)[std::size_t(channel - 1)] : 0;
}

void RegisteredChannels::setFineTune(ChannelBand band, std::int32_t channel, std::int32_t steps) {
    if (isChannelNumber(channel)) mutableFine(band)[std::size_t(channel - 1)] = steps;
}

std::optional<std::int32_t> RegisteredChannels::shownNumber(ChannelBand band, std::int32_t channel,
                                                            ChannelNumbering numbering) const {
    if (numbering == ChannelNumbering::ChannelNumber) return channel;
    const int position = positionOf(band, channel);
    if (position < 0) return std::nullopt;
    return position + 1;
}

std::optional<std::int32_t> RegisteredChannels::channelForNumber(ChannelBand band, std::int32_t number,
                                                                 ChannelNumbering numbering) const {
    if (numbering == ChannelNumbering::ChannelNumber) return number;
    if (number < 1 || number > count(band)) return std::nullopt;
    return entry(band, number - 1);
}

}  // namespace kelto
