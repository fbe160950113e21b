#include "viewer/config/MultiScreenChannelRows.h"

#include <algorithm>

namespace kelto::viewer::config {

namespace {

std::string channelHeading(ChannelBand band) { return band == ChannelBand::Cable ? "CATV CHANNEL" : "TV CHANNEL"; }
std::string channelText(int channel) { return "CH" + std::to_string(channel); }

}  // namespace

int MultiScreenChannelRows::rowOfChannel(int channel) const {
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (rows[i].channel == channel) return int(i);
    return -1;
}

MultiScreenChannelRows multiScreenChannelRows(ChannelBand band, const ChannelBounds& bounds,
                                              const RegisteredChannels& registered, ChannelNumbering numbering) {
    MultiScreenChannelRows out;
    if (numbering == ChannelNumbering::ListPosition) {
        out.headings = {"CH", channelHeading(band)};
        for (int i = 0; i < registered.count(band); ++i) {
            const int channel = registered.entry(band, i);
            out.rows.push_back({channel, i + 1, {std::to_string(i + 1), channelText(channel)}});
        }
        return out;
    }
    out.headings = {channelHeading(band)};
    const bool cable = band == ChannelBand::Cable;
    // Limits outside 1..256 are kept as the tables were read; only channel numbers are listed.
    const int lowest = std::max(cable ? bounds.catvLowest : bounds.tvLowest, 1);
    const int highest = std::min(cable ? bounds.catvHighest : bounds.tvHighest, kMaxChannel);
    for (int channel = lowest; channel <= highest; ++channel) out.rows.push_back({channel, channel, {channelText(channel)}});
    return out;
}

std::string multiScreenSlotHeading(ChannelBand band, ChannelNumbering numbering) {
    return numbering == ChannelNumbering::ListPosition ? "CH" : channelHeading(band);
}

}  // namespace kelto::viewer::config
