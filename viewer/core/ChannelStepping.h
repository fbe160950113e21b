#pragma once
// Stepping through a band's registered channels, and registering and unregistering the current
// channel. Pure rules over the registered lists; the session tunes and shows the results.
#include "settings/ChannelTypes.h"
#include "channels/RegisteredChannels.h"

#include <cstdint>
#include <optional>

namespace kelto::viewer {

enum class StepDirection { Up, Down };

// The channel a step up or down leads to from current. Up: the registered entry after the current
// channel (or after the largest registered channel below it), wrapping to the first entry; the
// first entry when nothing registered lies below. Down mirrors it. An empty list steps through
// every channel: current ± 1, wrapping from highest to lowest and back.
std::int32_t steppedChannel(const RegisteredList& list, std::int32_t current, StepDirection direction,
                            std::int32_t lowest, std::int32_t highest);

// Registers channel in the band: into the first free entry among the first `highest` entries
// (the band's highest channel), then the entries in use are sorted ascending. Entries past the
// count are cleared first, so no channel unregistered earlier comes back with it. False (nothing
// changed) when the channel is registered already or no free entry is left.
bool registerChannel(RegisteredChannels& channels, ChannelBand band, std::int32_t channel, std::int32_t highest);

// Unregisters channel; its 1-based position before the removal, nullopt when it was not registered.
std::optional<int> unregisterChannel(RegisteredChannels& channels, ChannelBand band, std::int32_t channel);

}  // namespace kelto::viewer
