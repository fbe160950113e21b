#include "channels/TunerBandTables.h"

#include "platform/Text.h"

#include <array>
#include <span>

namespace kelto {

namespace {

struct ChannelRange {
    std::int32_t first;
    std::int32_t last;
    int band;
};

constexpr std::array<ChannelRange, 3> kBroadcastRanges{{{2, 6, 0}, {7, 13, 1}, {14, 69, 2}}};
constexpr std::array<ChannelRange, 7> kAlpsCableRanges{
    {{1, 6, 0}, {7, 13, 1}, {14, 15, 0}, {16, 47, 1}, {48, 94, 2}, {95, 99, 0}, {100, 125, 2}}};
constexpr std::array<ChannelRange, 7> kPhilipsCableRanges{
    {{1, 6, 0}, {7, 13, 1}, {14, 20, 0}, {21, 62, 1}, {63, 94, 2}, {95, 99, 0}, {100, 125, 2}}};

bool startsWithIgnoreCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && platform::equalsIgnoreCase(text.substr(0, prefix.size()), prefix);
}

}  // namespace

TunerType tunerTypeFromText(std::string_view text) {
    if (startsWithIgnoreCase(text, "Philips")) return TunerType::Philips;
    if (startsWithIgnoreCase(text, "Alps")) return TunerType::Alps;
    if (platform::equalsIgnoreCase(text, "LGAlps")) return TunerType::LgAlps;
    if (!text.empty() && (text[0] == 'P' || text[0] == 'p' || text[0] == 'A' || text[0] == 'a')) return TunerType::Other;
    return TunerType::Philips;
}

std::uint8_t tunerAddressFor(TunerType type, std::uint8_t currentAddress) {
    switch (type) {
    case TunerType::Philips: return 0xC0;
    case TunerType::Alps: return 0xC2;
    case TunerType::LgAlps: return 0xC6;
    case TunerType::Other: break;
    }
    return currentAddress;
}

int channelBand(int plan, TunerType type, std::int32_t channel) {
    std::span<const ChannelRange> ranges;
    if (plan == 0) ranges = kBroadcastRanges;
    else if (plan == 1)
        ranges = (type == TunerType::Alps || type == TunerType::LgAlps) ? std::span<const ChannelRange>(kAlpsCableRanges)
                                                                        : std::span<const ChannelRange>(kPhilipsCableRanges);
    int band = 0;
    // Later ranges win where ranges overlap.
    for (const ChannelRange& r : ranges)
        if (channel >= r.first && channel <= r.last) band = r.band;
    return band;
}

std::uint16_t bandControlWord(TunerType type, int band) {
    static constexpr std::array<std::uint16_t, 3> kPhilips{0xCEA0, 0xCE90, 0xCE30};
    static constexpr std::array<std::uint16_t, 3> kOther{0x8E02, 0x8E04, 0x8E01};
    static constexpr std::array<std::uint16_t, 3> kAlps{0xCE01, 0xCE02, 0xCE08};
    if (band < 0 || band > 2) return 0;
    switch (type) {
    case TunerType::Philips: return kPhilips[std::size_t(band)];
    case TunerType::Other: return kOther[std::size_t(band)];
    case TunerType::Alps:
    case TunerType::LgAlps: return kAlps[std::size_t(band)];
    }
    return 0;
}

std::uint16_t bandLimitControlWord(const TunerBandConfig& b, std::uint32_t value) {
    std::uint32_t word = b.highControl;
    if (b.lowBand < value && value < b.lowMidBand) word = b.lowControl;
    else if (b.lowMidBand < value && value < b.midHighBand) word = b.midControl;
    return static_cast<std::uint16_t>(word);
}

std::uint16_t controlWordFor(int plan, TunerType type, std::int32_t value, const TunerBandConfig& bands) {
    if (value > kHighestChannelValue) return bandLimitControlWord(bands, static_cast<std::uint32_t>(value));
    if (plan != 0 && plan != 1) return 0;
    return bandControlWord(type, channelBand(plan, type, value));
}

}  // namespace kelto
