// Tuning TV channels through SetTVParam 2: the plan chosen by country and source, the divider and
// band control word on the bus, and each result the tuner object can give.
#include "RuroriziFixture.h"

namespace kelto::rurorizi::test {
namespace {

class TvTuningTest : public RuroriziFixture {
protected:
    // Tunes a channel and returns the result with the first two words written to the tuner.
    struct Tuned {
        int result = 0;
        std::uint16_t divider = 0;
        std::uint16_t control = 0;
    };
    Tuned tune(int channel, std::uint8_t tunerAddress = 0xC0) {
        clearI2cLog();
        Tuned tuned;
        tuned.result = lib.SetTVParam(2, channel);
        const auto writes = writesTo(tunerAddress);
        if (writes.size() >= 2) {
            tuned.divider = std::uint16_t(writes[0][0] << 8 | writes[0][1]);
            tuned.control = std::uint16_t(writes[1][0] << 8 | writes[1][1]);
        }
        return tuned;
    }
};

TEST_F(TvTuningTest, UsPlansGiveTheirDividersAndBands) {
    loadOver({.chip = ChipKind::Bt848, .tuner = TunerKind::Philips}, {tvStation(kUsChannel2Hz, "WKEL 2")});
    ASSERT_EQ(lib.SetTVParam(1, 5), 0);  // broadcast
    const struct {
        int channel;
        std::uint16_t divider;
        std::uint16_t control;
    } broadcast[] = {{2, 1616, 0xCEA0}, {6, 2064, 0xCEA0}, {7, 3536, 0xCE90}, {13, 4112, 0xCE90},
                     {14, 8272, 0xCE30}, {69, 13552, 0xCE30}, {1, 0, 0xCEA0}};
    for (const auto& b : broadcast) {
        const Tuned tuned = tune(b.channel);
        EXPECT_EQ(tuned.divider, b.divider) << b.channel;
        EXPECT_EQ(tuned.control, b.control) << b.channel;
    }
    EXPECT_EQ(tune(2).result, 0);
    EXPECT_EQ(lib.GetTVParam(2), 2);
    EXPECT_EQ(lib.SetTVParam(2, 70), -3);
    EXPECT_EQ(lib.SetTVParam(2, -1), -3);
    EXPECT_EQ(lib.GetTVParam(2), 2);

    ASSERT_EQ(lib.SetTVParam(1, 4), 0);  // cable
    EXPECT_EQ(tune(1).divider, 1904);
    EXPECT_EQ(tune(22).divider, 2672 + 8 * 96);
    EXPECT_EQ(tune(95).divider, 2192);
    EXPECT_EQ(tune(125).divider, 11120 + 25 * 96);
    EXPECT_EQ(lib.SetTVParam(2, 126), -3);
}

TEST_F(TvTuningTest, EuropeanPlansAddTheVisionCarrierOffset) {
    loadOver({.chip = ChipKind::Bt878,
              .tuner = TunerKind::Alps,
              .standard = VideoStandard::Pal,
              .intermediateFrequencyHz = kPalIntermediateFrequencyHz},
             {tvStation(kEuropeanChannel21Hz, "ZDK 21")});
    ASSERT_EQ(lib.SetTVParam(19, 49), 0);
    ASSERT_EQ(lib.SetTVParam(1, 5), 0);
    EXPECT_EQ(tune(2, 0xC2).divider, 772 + 622);
    const Tuned ch21 = tune(21, 0xC2);
    EXPECT_EQ(ch21.divider, 7540 + 622);
    EXPECT_EQ(ch21.control, 0xCE08);
    EXPECT_EQ(ch21.result, 0);
    EXPECT_EQ(tune(120, 0xC2).divider, 4852 + 20 * 128 + 622);
    EXPECT_EQ(lib.SetTVParam(2, 121), -3);

    ASSERT_EQ(lib.SetTVParam(1, 4), 0);  // cable A
    EXPECT_EQ(tune(42, 0xC2).divider, 6370);
    EXPECT_EQ(lib.SetTVParam(2, 56), -3);
    ASSERT_EQ(lib.SetTVParam(19, 44), 0);  // cable B
    EXPECT_EQ(tune(1, 0xC2).divider, 756 + 622);
    EXPECT_EQ(tune(87, 0xC2).divider, 4852 + 20 * 128 + 622);
    EXPECT_EQ(lib.SetTVParam(2, 88), -3);
}

TEST_F(TvTuningTest, ACountryWithoutAPlanTunesDividerZeroWithinTheLastLimit) {
    loadOver({.chip = ChipKind::Bt848, .tuner = TunerKind::Philips});
    ASSERT_EQ(lib.SetTVParam(19, 2), 0);
    ASSERT_EQ(lib.SetTVParam(1, 4), 0);
    // A fresh tuner object has no plan and channel limit 0.
    EXPECT_EQ(lib.SetTVParam(2, 1), -3);
    EXPECT_TRUE(writesTo(0xC0).empty());
    // After the US cable plan (limit 125) the limit stays while country 2 selects no cable plan.
    ASSERT_EQ(lib.SetTVParam(19, 1), 0);
    tune(3);
    ASSERT_EQ(lib.SetTVParam(19, 2), 0);
    const Tuned tuned = tune(100);
    EXPECT_EQ(tuned.divider, 0);
    EXPECT_EQ(tuned.result, -4);
    EXPECT_EQ(lib.SetTVParam(2, 126), -3);
}

TEST_F(TvTuningTest, LockLimitsDifferBetweenPhilipsAndAlps) {
    // A tuned channel without a station locks at a level of 7: Philips gives up after 10 such
    // reads, Alps after 20; both write the divider once more and answer -4.
    const struct {
        TunerKind kind;
        std::uint8_t address;
        int lockedReads;
    } tuners[] = {{TunerKind::Philips, 0xC0, 10}, {TunerKind::Alps, 0xC2, 20}, {TunerKind::LgAlps, 0xC6, 20}};
    for (const auto& t : tuners) {
        SCOPED_TRACE(int(t.address));
        loadOver({.chip = ChipKind::Bt848, .tuner = t.kind});
        ASSERT_EQ(lib.SetTVParam(1, 5), 0);
        clearI2cLog();
        const std::uint32_t startMs = platform::tickCountMs();
        EXPECT_EQ(lib.SetTVParam(2, 3), -4);
        // The first poll comes before the tuner settles (20 ms), the rest are locked, level 7.
        EXPECT_EQ(readsFrom(t.address), 1 + t.lockedReads);
        EXPECT_EQ(platform::tickCountMs() - startMs, std::uint32_t(10 * (1 + t.lockedReads)));
        const auto writes = writesTo(t.address);
        ASSERT_EQ(writes.size(), 3u);
        EXPECT_EQ(writes[2], word(1712));
        EXPECT_EQ(lib.GetTVParam(2), 0);  // not remembered
        unload();
    }
}

TEST_F(TvTuningTest, ANearbyCarrierStillCountsAsALock) {
    // 900 kHz off the carrier gives level 3, still usable.
    loadOver({.chip = ChipKind::Bt848}, {tvStation(kUsChannel2Hz + 900'000, "near")});
    ASSERT_EQ(lib.SetTVParam(1, 5), 0);
    EXPECT_EQ(lib.SetTVParam(2, 2), 0);
    EXPECT_EQ(lib.GetTVParam(2), 2);
}

TEST_F(TvTuningTest, FailuresOnTheWayGiveTheirCodes) {
    loadOver({.chip = ChipKind::Bt848}, {tvStation(kUsChannel2Hz, "WKEL 2")});
    EXPECT_EQ(lib.SetTVParam(2, 2), -5);  // source 0 after load
    EXPECT_EQ(lib.GetTVParam(2), -5);
    ASSERT_EQ(lib.SetTVParam(1, 5), 0);
    ASSERT_EQ(lib.SetTVParam(2, 2), 0);

    setFunctionFails("Bt848PreChannelChange");
    clearI2cLog();
    EXPECT_EQ(lib.SetTVParam(2, 4), -253);
    EXPECT_TRUE(writesTo(0xC0).empty());
    setFunctionFails("Bt848PreChannelChange", false);

    setFunctionFails("Bt848ChannelChanged");
    EXPECT_EQ(lib.SetTVParam(2, 2), -253);
    setFunctionFails("Bt848ChannelChanged", false);

    setI2cAddressSilent(0xC0);
    EXPECT_EQ(lib.SetTVParam(2, 2), -255);
    setI2cAddressSilent(0xC0, false);
    setFunctionFails("I2CHWRead");  // the tuner takes the words but its status cannot be read
    EXPECT_EQ(lib.SetTVParam(2, 2), -255);
    setFunctionFails("I2CHWRead", false);

    // The driver was told before the change but the tuner failed: the channel stays 2.
    EXPECT_EQ(lib.GetTVParam(2), 2);
    EXPECT_EQ(lockCard()->video().lastChannel, 2);
    EXPECT_EQ(lib.SetTVParam(2, 2), 0);
    EXPECT_FALSE(lockCard()->video().channelChanging);
}

}  // namespace
}  // namespace kelto::rurorizi::test
