// Channel band tables, control words and the "TunerType" text.
#include "channels/TunerBandTables.h"

#include <gtest/gtest.h>

namespace kelto {
namespace {

TEST(TunerBandTables, CableChannelsFallInDifferentBandsByTunerMake) {
    for (TunerType alps : {TunerType::Alps, TunerType::LgAlps}) {
        EXPECT_EQ(channelBand(1, alps, 20), 1);
        EXPECT_EQ(channelBand(1, alps, 50), 2);
        EXPECT_EQ(channelBand(1, alps, 15), 0);
        EXPECT_EQ(channelBand(1, alps, 16), 1);
    }
    for (TunerType philips : {TunerType::Philips, TunerType::Other}) {
        EXPECT_EQ(channelBand(1, philips, 20), 0);
        EXPECT_EQ(channelBand(1, philips, 50), 1);
        EXPECT_EQ(channelBand(1, philips, 63), 2);
    }
    // Broadcast is the same for every make; channel 1 and channels beyond 69 are in no range.
    for (TunerType type : {TunerType::Philips, TunerType::Other, TunerType::Alps, TunerType::LgAlps}) {
        EXPECT_EQ(channelBand(0, type, 1), 0);
        EXPECT_EQ(channelBand(0, type, 6), 0);
        EXPECT_EQ(channelBand(0, type, 7), 1);
        EXPECT_EQ(channelBand(0, type, 13), 1);
        EXPECT_EQ(channelBand(0, type, 14), 2);
        EXPECT_EQ(channelBand(0, type, 70), 0);
        EXPECT_EQ(channelBand(1, type, 97), 0);
        EXPECT_EQ(channelBand(1, type, 125), 2);
        EXPECT_EQ(channelBand(1, type, 126), 0);
    }
}

TEST(TunerBandTables, ControlWordsByMakeAndBand) {
    EXPECT_EQ(controlWordFor(1, TunerType::Philips, 20, {}), 0xCEA0);
    EXPECT_EQ(controlWordFor(1, TunerType::Philips, 50, {}), 0xCE90);
    EXPECT_EQ(controlWordFor(0, TunerType::Philips, 30, {}), 0xCE30);
    EXPECT_EQ(controlWordFor(0, TunerType::Other, 2, {}), 0x8E02);
    EXPECT_EQ(controlWordFor(0, TunerType::Other, 7, {}), 0x8E04);
    EXPECT_EQ(controlWordFor(0, TunerType::Other, 14, {}), 0x8E01);
    EXPECT_EQ(controlWordFor(1, TunerType::Alps, 20, {}), 0xCE02);
    EXPECT_EQ(controlWordFor(1, TunerType::LgAlps, 50, {}), 0xCE08);
    EXPECT_EQ(controlWordFor(0, TunerType::Alps, 3, {}), 0xCE01);
    EXPECT_EQ(controlWordFor(2, TunerType::Philips, 20, {}), 0);  // no such plan
}

TEST(TunerBandTables, ValuesAbove10000UseTheBandLimitsWithStrictBounds) {
    const TunerBandConfig bands{100000, 200000, 300000, 400000, 0x0001, 0x0002, 0x0003};
    EXPECT_EQ(controlWordFor(0, TunerType::Philips, 10000, bands), 0xCEA0);  // still a channel
    EXPECT_EQ(controlWordFor(0, TunerType::Philips, 10001, bands), 0x0003);  // at or below LOW BAND
    EXPECT_EQ(controlWordFor(7, TunerType::Philips, 150000, bands), 0x0001);  // the plan does not matter
    EXPECT_EQ(bandLimitControlWord(bands, 100000), 0x0003);
    EXPECT_EQ(bandLimitControlWord(bands, 100001), 0x0001);
    EXPECT_EQ(bandLimitControlWord(bands, 200000), 0x0003);  // equal to a limit
    EXPECT_EQ(bandLimitControlWord(bands, 250000), 0x0002);
    EXPECT_EQ(bandLimitControlWord(bands, 300000), 0x0003);
    EXPECT_EQ(bandLimitControlWord(bands, 500000), 0x0003);  // HIGH BAND itself is not a limit
    // Unsigned comparisons: a negative value is a very large frequency.
    EXPECT_EQ(bandLimitControlWord({0, 0xFFFFFFF0u, 0xFFFFFFFFu, 0, 1, 2, 3}, std::uint32_t(-5)), 2);
}

TEST(TunerBandTables, TunerTypeText) {
    EXPECT_EQ(tunerTypeFromText("Philips"), TunerType::Philips);
    EXPECT_EQ(tunerTypeFromText("philips fi1236 mk2"), TunerType::Philips);
    EXPECT_EQ(tunerTypeFromText("ALPS TSCH5"), TunerType::Alps);
    EXPECT_EQ(tunerTypeFromText("alps"), TunerType::Alps);
    EXPECT_EQ(tunerTypeFromText("LGALPS"), TunerType::LgAlps);
    EXPECT_EQ(tunerTypeFromText("lgAlps"), TunerType::LgAlps);
    EXPECT_EQ(tunerTypeFromText("LGAlps 2"), TunerType::Philips);  // not exactly LGAlps
    EXPECT_EQ(tunerTypeFromText("Acme"), TunerType::Other);        // A, but not Alps
    EXPECT_EQ(tunerTypeFromText("alp"), TunerType::Other);
    EXPECT_EQ(tunerTypeFromText("Phil"), TunerType::Other);        // P, but not Philips
    EXPECT_EQ(tunerTypeFromText("Temic"), TunerType::Philips);
    EXPECT_EQ(tunerTypeFromText(""), TunerType::Philips);

    EXPECT_EQ(tunerAddressFor(TunerType::Philips, 0xC6), 0xC0);
    EXPECT_EQ(tunerAddressFor(TunerType::Alps, 0xC0), 0xC2);
    EXPECT_EQ(tunerAddressFor(TunerType::LgAlps, 0xC0), 0xC6);
    EXPECT_EQ(tunerAddressFor(TunerType::Other, 0xC6), 0xC6);
}

}  // namespace
}  // namespace kelto
