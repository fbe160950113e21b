#pragma once
// The registered channels of both bands and the fine tuning of every channel: the short lists the
// user steps through, filled by the auto scan, the channel commands and the frequency tables,
// and kept in the settings store by the viewer.
//
// Fine tuning is in steps of 1/16 MHz (62.5 kHz) and is added to the tuner divider. These tables
// are the viewer's one copy of it: the channel model computes dividers from them, the channel page
// and the auto scan change them, and the settings load and save fill and read them.
// With country code 86 channels are shown and entered by their 1-based position in the band's
// list instead of their number (ChannelNumbering::ListPosition).
#include "settings/ChannelTypes.h"

#include <array>
#include <cstdint>
#include <optional>

namespace kelto {

enum class ChannelNumbering { ChannelNumber, ListPosition };
ChannelNumbering numberingForCountry(int countryCode);

class RegisteredChannels {
public:
    // Both lists of a fresh installation: 6, 7, 9, 11, 12; fine tuning 0.
    static constexpr std::array<std::int32_t, 5> kFactoryChannels{6, 7, 9, 11, 12};
    static RegisteredList factoryList();

    RegisteredChannels();
    // From saved state; counts outside 0..256 are clipped.
    RegisteredChannels(const RegisteredList& broadcast, const RegisteredList& cable, const FineTuneTable& broadcastFine,
                       const FineTuneTable& cableFine);

    // The list accessors. Positions are 0-based; a position outside 0..255 reads 0 and is not
    // stored, a count is kept within 0..256.
    int count(ChannelBand band) const { return list(band).count; }
    std::int32_t entry(ChannelBand band, int position) const;
    void setEntry(ChannelBand band, int position, std::int32_t channel);
    void setCount(ChannelBand band, int count);
    const RegisteredList& list(ChannelBand band) const { return band == ChannelBand::Broadcast ? broadcast_ : cable_; }

    // Position of a channel among the registered entries, or -1.
    int positionOf(ChannelBand band, std::int32_t channel) const { return list(band).indexOf(channel); }
    // Removes the entry at a position, moving the later ones up; false for a position not in use.
    bool removeAt(ChannelBand band, int position);
    // Registers every channel lowest..highest in order (as accepting a frequency table does),
    // limited to channels 1..256; a band with lowest above highest ends up empty.
    void registerRange(ChannelBand band, std::int32_t lowest, std::int32_t highest);

    // Fine tuning of channel 1..256 (0 for other numbers, which are not stored).
    std::int32_t fineTune(ChannelBand band, std::int32_t channel) const;
    void setFineTune(ChannelBand band, std::int32_t channel, std::int32_t steps);
    const FineTuneTable& fineTuneTable(ChannelBand band) const {
        return band == ChannelBand::Broadcast ? broadcastFine_ : cableFine_;
    }

    // The number the user sees for a channel: itself, or with list positions its 1-based position
    // (nullopt when it is not registered).
    std::optional<std::int32_t> shownNumber(ChannelBand band, std::int32_t channel, ChannelNumbering numbering) const;
    // The channel the user means by a number: itself, or with list positions the entry at that
    // 1-based position (nullopt outside the list).
    std::optional<std::int32_t> channelForNumber(ChannelBand band, std::int32_t number, ChannelNumbering numbering) const;

private:
    RegisteredList& mutableList(ChannelBand band) { return band == ChannelBand::Broadcast ? broadcast_ : cable_; }
    FineTuneTable& mutableFine(ChannelBand band) { return band == ChannelBand::Broadcast ? broadcastFine_ : cableFine_; }

    RegisteredList broadcast_;
    RegisteredList cable_;
    FineTuneTable broadcastFine_{};
    FineTuneTable cableFine_{};
};

}  // namespace kelto
