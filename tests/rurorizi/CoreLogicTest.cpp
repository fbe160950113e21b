// The library's pure parts, checked directly where the simulated card cannot reach them: the
// channel plan tables, the band boundaries, SetDivider's range, the status byte decoding and the
// decimal conversion. (This copy of the code runs without a bound video driver, so nothing here
// touches the bus.)
#include "platform/SystemInfo.h"
#include "rurorizi/CAlpsTuner.h"
#include "rurorizi/ChannelPlans.h"
#include "rurorizi/CountryCode.h"
#include "rurorizi/DecimalText.h"
#include "rurorizi/SoundDecoder.h"

#include <gtest/gtest.h>

#include <string>

namespace kelto::rurorizi {
namespace {

TEST(ChannelPlanTablesTest, RunsAndGapsOfEveryPlan) {
    const ChannelPlan& usBroadcast = channelPlan(PlanName::UsBroadcast);
    EXPECT_EQ(usBroadcast.highestChannel, 69);
    EXPECT_EQ(usBroadcast.entries[1], 0);
    EXPECT_EQ(usBroadcast.entries[4], 1616 + 2 * 96);
    EXPECT_EQ(usBroadcast.entries[5], 1968);

    const ChannelPlan& europe = channelPlan(PlanName::EuropeanBroadcast);
    EXPECT_EQ(europe.offset, 622);
    EXPECT_EQ(europe.highestChannel, 120);
    EXPECT_EQ(europe.entries[1], 724);
    EXPECT_EQ(europe.entries[12], 2804 + 7 * 112);
    EXPECT_EQ(europe.entries[16], 2804);
    EXPECT_EQ(europe.entries[20], 2932 + 3 * 144);
    EXPECT_EQ(europe.entries[72], 732 + 2 * 128);
    for (int empty : {0, 73, 77, 78, 79}) EXPECT_EQ(europe.entries[std::size_t(empty)], 0) << empty;
    EXPECT_EQ(europe.entries[74], 1108);
    EXPECT_EQ(europe.entries[99], 3700 + 9 * 112);

    const ChannelPlan& usCable = channelPlan(PlanName::UsCable);
    EXPECT_EQ(usCable.highestChannel, 125);
    EXPECT_EQ(usCable.entries[23], 4208);
    EXPECT_EQ(usCable.entries[94], 4208 + 71 * 96);
    EXPECT_EQ(usCable.entries[99], 2192 + 4 * 96);

    EXPECT_EQ(channelPlan(PlanName::EuropeanCableA).highestChannel, 55);
    EXPECT_EQ(channelPlan(PlanName::EuropeanCableA).entries[34], 1684 + 27 * 112);
    const ChannelPlan& cableB = channelPlan(PlanName::EuropeanCableB);
    EXPECT_EQ(cableB.highestChannel, 87);
    EXPECT_EQ(cableB.entries[32], 756 + 31 * 128);
    EXPECT_EQ(cableB.entries[33], 772);
    EXPECT_EQ(cableB.entries[66], 1684 + 27 * 112);
}

TEST(ChannelPlanTablesTest, CountryChoosesThePlan) {
    EXPECT_EQ(planForCountry(0, 82), &channelPlan(PlanName::UsBroadcast));
    EXPECT_EQ(planForCountry(0, 852), &channelPlan(PlanName::EuropeanBroadcast));
    EXPECT_EQ(planForCountry(1, 82), &channelPlan(PlanName::UsCable));
    EXPECT_EQ(planForCountry(1, 420), &channelPlan(PlanName::EuropeanCableA));
    EXPECT_EQ(planForCountry(1, 852), &channelPlan(PlanName::EuropeanCableB));
    EXPECT_EQ(planForCountry(1, 2), nullptr);
    EXPECT_EQ(planForCountry(1, 52), nullptr);
    EXPECT_EQ(planForCountry(0, 86), nullptr);
    EXPECT_EQ(planForCountry(2, 1), nullptr);
}

class TunerLogicTest : public ::testing::Test {
protected:
    void SetUp() override { platform::setUserLocaleCountryOverride(std::string("1")); }
    void TearDown() override { platform::clearUserLocaleCountryOverride(); }
    CountryCode country;
};

TEST_F(TunerLogicTest, BandBoundariesStayInTheLowerBand) {
    CPhilipsTuner philips(country, TunerType::Philips, 0xC0);
    const std::uint16_t saved = philips.GetDivider(5, 0);
    const struct {
        std::uint16_t divider;
        std::uint16_t control;
    } philipsBands[] = {{2564, 0xCEA0}, {2565, 0xCE90}, {7168, 0xCE90}, {7169, 0xCE30}};
    for (const auto& b : philipsBands) {
        ASSERT_TRUE(philips.SetDivider(5, 0, b.divider));
        EXPECT_EQ(philips.GetDivider(5, 0), b.divider);
        EXPECT_EQ(philips.GetControlWord(5, 0), b.control) << b.divider;
    }
    CAlpsTuner alps(country, TunerType::Alps, 0xC2);
    const struct {
        std::uint16_t divider;
        std::uint16_t control;
    } alpsBands[] = {{2816, 0xCE01}, {2817, 0xCE02}, {6464, 0xCE02}, {6465, 0xCE08}};
    for (const auto& b : alpsBands) {
        ASSERT_TRUE(alps.SetDivider(5, 0, b.divider));
        EXPECT_EQ(alps.GetControlWord(5, 0), b.control) << b.divider;
    }
    ASSERT_TRUE(philips.SetDivider(5, 0, saved));
}

TEST_F(TunerLogicTest, SetDividerRefusesChannelsOutsideThePlan) {
    CPhilipsTuner tuner(country, TunerType::Philips, 0xC0);
    EXPECT_EQ(tuner.GetChannel(), 0);
    EXPECT_FALSE(tuner.SetDivider(70, 0, 1234));
    EXPECT_FALSE(tuner.SetDivider(-1, 0, 1234));
    EXPECT_EQ(tuner.GetDivider(70, 0), 0);
    country.set(2);
    EXPECT_FALSE(tuner.SetDivider(1, 1, 1234));  // no cable plan for country 2
    EXPECT_EQ(tuner.GetMaxChannel(1), 69);       // the limit left by the last plan
    EXPECT_EQ(tuner.GetFMFrequency(), 640);
}

TEST(SoundDecoderStatusTest, StatusByteFromTheTwoFirstBytes) {
    EXPECT_EQ(dactl::decodeStatusBytes(0x08, 0x0B), 0x71);
    EXPECT_EQ(dactl::decodeStatusBytes(0x08, 0x08), 0x41);
    EXPECT_EQ(dactl::decodeStatusBytes(0x08, 0x0A), 0x51);
    EXPECT_EQ(dactl::decodeStatusBytes(0x13, 0x00), 0xB1);
    EXPECT_EQ(dactl::decodeStatusBytes(0x08, 0x00), 0x01);  // only b0 has bit 0x08
    EXPECT_EQ(dactl::decodeStatusBytes(0x00, 0x08), 0x01);
    EXPECT_EQ(dactl::decodeStatusBytes(0x02, 0x00), 0x21);
}

TEST(DecimalTextTest, ConvertsLikeTheCRuntime) {
    EXPECT_EQ(decimalValue("82"), 82);
    EXPECT_EQ(decimalValue("  7abc"), 7);
    EXPECT_EQ(decimalValue("-1"), -1);
    EXPECT_EQ(decimalValue("+4"), 4);
    EXPECT_EQ(decimalValue("x"), 0);
    EXPECT_EQ(decimalValue(""), 0);
    EXPECT_EQ(decimalValue("99999999999"), 2147483647);
    EXPECT_EQ(decimalValue("-99999999999"), -2147483647 - 1);
}

}  // namespace
}  // namespace kelto::rurorizi
