#pragma once
// The rows of the multi-screen page's channel list, without widgets: which channel each row
// stands for and what it puts into a multi-screen slot.
//
// With channel numbering the list holds every channel of the band, lowest to highest (row i is
// channel lowest + i), and a slot takes the channel number. With list-position numbering (country
// code 86) the multi-screen view reads a slot as a 1-based position in the band's registered
// list, so the list holds the registered channels in list order and a slot takes the position;
// the rows show that position beside the channel, as the channel page does.
#include "channels/RegisteredChannels.h"
#include "settings/ChannelTypes.h"

#include <string>
#include <vector>

namespace kelto::viewer::config {

struct MultiScreenChannelRow {
    int channel = 0;    // what selecting the row tunes
    int slotValue = 0;  // what "&Add" puts into a slot
    std::vector<std::string> texts;  // the row's cells, column by column
};

struct MultiScreenChannelRows {
    std::vector<std::string> headings;
    std::vector<MultiScreenChannelRow> rows;

    // The row standing for a channel, or -1.
    int rowOfChannel(int channel) const;
};

// The rows for a band. Channel numbering covers lowest..highest of the band, limited to the
// channel numbers 1..256 (a band with lowest above highest has no rows).
MultiScreenChannelRows multiScreenChannelRows(ChannelBand band, const ChannelBounds& bounds,
                                              const RegisteredChannels& registered, ChannelNumbering numbering);

// The heading of the slot list: the channel column's name, or "CH" for positions.
std::string multiScreenSlotHeading(ChannelBand band, ChannelNumbering numbering);

}  // namespace kelto::viewer::config
