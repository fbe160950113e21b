#include "viewer/core/ChannelStepping.h"

#include <algorithm>

namespace kelto::viewer {

namespace {

// Position of the registered entry next to an unregistered channel in the direction of the step:
// the largest below it (up) or the smallest above it (down); -1 when there is none.
int neighbourPosition(const RegisteredList& list, std::int32_t current, StepDirection direction) {
    int found = -1;
    for (int i = 0; i < list.count; ++i) {
        const std::int32_t c = list.channels[std::size_t(i)];
        if (direction == StepDirection::Up) {
            if (c < current && (found < 0 || c > list.channels[std::size_t(found)])) found = i;
        } else {
            if (c > current && (found < 0 || c < list.channels[std::size_t(found)])) found = i;
        }
    }
    return found;
}

}  // namespace

std::int32_t steppedChannel(const RegisteredList& list, std::int32_t current, StepDirection direction,
                            std::int32_t lowest, std::int32_t highest) {
    const int count = std::clamp(list.count, 0, kMaxChannel);
    if (count == 0) {
        if (direction == StepDirection::Up) return current >= highest ? lowest : current + 1;
        return current <= lowest ? highest : current - 1;
    }
    int position = list.indexOf(current);
    if (position < 0) position = neighbourPosition(list, current, direction);
    if (direction == StepDirection::Up) {
        if (position < 0) return list.channels[0];
        return list.channels[std::size_t((position + 1) % count)];
    }
    if (position < 0) return list.channels[std::size_t(count - 1)];
    return list.channels[std::size_t((position + count - 1) % count)];
}

bool registerChannel(RegisteredChannels& channels, ChannelBand band, std::int32_t channel, std::int32_t highest) {
    const int count = channels.count(band);
    for (int i = count; i < kMaxChannel; ++i) channels.setEntry(band, i, 0);
    if (channels.positionOf(band, channel) >= 0) return false;

    const int limit = std::clamp(highest, 0, kMaxChannel);
    int free = -1;
    for (int i = 0; i < limit && free < 0; ++i)
        if (channels.entry(band, i) == 0) free = i;
    if (free < 0) return false;
    channels.setEntry(band, free, channel);
    const int newCount = std::max(count, free + 1);
    channels.setCount(band, newCount);

    RegisteredList sorted = channels.list(band);
    std::sort(sorted.channels.begin(), sorted.channels.begin() + newCount);
    for (int i = 0; i < newCount; ++i) channels.setEntry(band, i, sorted.channels[std::size_t(i)]);
    return true;
}

std::optional<int> unregisterChannel(RegisteredChannels& channels, ChannelBand band, std::int32_t channel) {
    const int position = channels.positionOf(band, channel);
    if (position < 0 || !channels.removeAt(band, position)) return std::nullopt;
    return position + 1;
}

}  // namespace kelto::viewer
