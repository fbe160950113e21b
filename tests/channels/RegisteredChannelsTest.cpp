// The registered lists, fine tuning and list-position numbering.
#include "channels/RegisteredChannels.h"

#include <gtest/gtest.h>

namespace kelto {
namespace {

constexpr auto TV = ChannelBand::Broadcast;
constexpr auto CATV = ChannelBand::Cable;

std::vector<std::int32_t> entries(const RegisteredChannels& r, ChannelBand band) {
    std::vector<std::int32_t> result;
    for (int i = 0; i < r.count(band); ++i) result.push_back(r.entry(band, i));
    return result;
}

TEST(RegisteredChannels, FactoryListsAndFineTuning) {
    const RegisteredChannels r;
    EXPECT_EQ(entries(r, TV), (std::vector<std::int32_t>{6, 7, 9, 11, 12}));
    EXPECT_EQ(entries(r, CATV), (std::vector<std::int32_t>{6, 7, 9, 11, 12}));
    for (int channel = 1; channel <= kMaxChannel; ++channel) EXPECT_EQ(r.fineTune(TV, channel), 0);
}

TEST(RegisteredChannels, AccessorsStayInsideTheLists) {
    RegisteredList saved;
    saved.count = 900;  // a damaged count from the store
    RegisteredChannels r(saved, {}, {}, {});
    EXPECT_EQ(r.count(TV), kMaxChannel);
    r.setCount(CATV, -3);
    EXPECT_EQ(r.count(CATV), 0);
    r.setEntry(CATV, 256, 5);
    r.setEntry(CATV, -1, 5);
    EXPECT_EQ(r.entry(CATV, 256), 0);
    EXPECT_EQ(r.entry(CATV, -1), 0);

    r.setFineTune(TV, 0, 9);
    r.setFineTune(TV, 257, 9);
    r.setFineTune(TV, 256, -16);
    EXPECT_EQ(r.fineTune(TV, 0), 0);
    EXPECT_EQ(r.fineTune(TV, 257), 0);
    EXPECT_EQ(r.fineTune(TV, 256), -16);
    EXPECT_EQ(r.fineTuneTable(TV)[255], -16);  // channel n at n - 1
    r.setFineTune(TV, 1, 4);
    EXPECT_EQ(r.fineTuneTable(TV)[0], 4);
    EXPECT_EQ(r.fineTune(CATV, 256), 0);  // the bands are separate
}

TEST(RegisteredChannels, RemovingAndRegisteringRanges) {
    RegisteredChannels r;
    EXPECT_TRUE(r.removeAt(TV, 4));  // the last entry
    EXPECT_TRUE(r.removeAt(TV, 0));
    EXPECT_EQ(entries(r, TV), (std::vector<std::int32_t>{7, 9, 11}));
    EXPECT_FALSE(r.removeAt(TV, 3));
    EXPECT_EQ(r.positionOf(TV, 11), 2);
    EXPECT_EQ(r.positionOf(TV, 12), -1);

    r.registerRange(CATV, 2, 4);
    EXPECT_EQ(entries(r, CATV), (std::vector<std::int32_t>{2, 3, 4}));
    r.registerRange(CATV, -10, 300);  // only channels 1..256
    EXPECT_EQ(r.count(CATV), 256);
    EXPECT_EQ(r.entry(CATV, 0), 1);
    EXPECT_EQ(r.entry(CATV, 255), 256);
    r.registerRange(CATV, 9, 3);
    EXPECT_EQ(r.count(CATV), 0);
}

TEST(RegisteredChannels, CountryCode86NumbersChannelsByListPosition) {
    EXPECT_EQ(numberingForCountry(86), ChannelNumbering::ListPosition);
    EXPECT_EQ(numberingForCountry(1), ChannelNumbering::ChannelNumber);
    RegisteredList list;
    list.channels[0] = 6;
    list.channels[1] = 9;
    list.channels[2] = 11;
    list.count = 3;
    const RegisteredChannels r(list, list, {}, {});
    const auto positions = ChannelNumbering::ListPosition;
    EXPECT_EQ(r.shownNumber(TV, 6, positions), 1);
    EXPECT_EQ(r.shownNumber(TV, 9, positions), 2);
    EXPECT_EQ(r.shownNumber(TV, 11, positions), 3);
    EXPECT_EQ(r.shownNumber(TV, 7, positions), std::nullopt);
    EXPECT_EQ(r.channelForNumber(TV, 2, positions), 9);
    EXPECT_EQ(r.channelForNumber(TV, 4, positions), std::nullopt);
    EXPECT_EQ(r.channelForNumber(TV, 0, positions), std::nullopt);
    EXPECT_EQ(r.shownNumber(TV, 7, ChannelNumbering::ChannelNumber), 7);
    EXPECT_EQ(r.channelForNumber(TV, 40, ChannelNumbering::ChannelNumber), 40);
}

}  // namespace
}  // namespace kelto
