// The PLL tuner: where a divider tunes to, when the loop locks, the level against the distance
// to a station, and the FM modes of both tuner makes.
#include "tests/cardsim/CardFixture.h"

namespace kelto::cardsim::test {
namespace {

class TunerTest : public CardFixture {};

TEST_F(TunerTest, LockBitAppearsAfterTheSettlingTime) {
    buildCard({.tuner = TunerKind::Philips}, {tvStation(55'250'000, "WKEL 2")});
    loadBtVid();
    tune(0xC0, 1616, 0xCEA0);
    EXPECT_EQ(status(0xC0) & 0x40, 0);
    clock.advanceMs(PllTuner::kTvSettleMs - 1);
    EXPECT_EQ(status(0xC0) & 0x40, 0);
    clock.advanceMs(1);
    EXPECT_EQ(status(0xC0), 0x40);
    // Rewriting the same divider keeps the lock; a new divider loses it until it settles again.
    tune(0xC0, 1616, 0xCEA0);
    EXPECT_EQ(status(0xC0) & 0x40, 0x40);
    tune(0xC0, 1617, 0xCEA0);
    EXPECT_EQ(status(0xC0) & 0x40, 0);
}

TEST_F(TunerTest, LevelGrowsWithTheDistanceToTheCarrier) {
    buildCard({.tuner = TunerKind::Philips}, {tvStation(55'250'000, "WKEL 2")});
    loadBtVid();
    // Steps of 62.5 kHz around the divider 1616 that sits on the carrier.
    const struct {
        int step;
        std::uint8_t level;
    } cases[] = {{0, 0}, {1, 0}, {2, 0}, {-3, 1}, {4, 1}, {8, 2}, {-16, 3}, {17, 4}, {24, 4}, {32, 5}, {48, 6}, {49, 7}, {200, 7}};
    for (const auto& c : cases) {
        tune(0xC0, std::uint16_t(1616 + c.step), 0xCEA0);
        clock.advanceMs(PllTuner::kTvSettleMs);
        const std::uint8_t s = status(0xC0);
        EXPECT_EQ(s & 0x40, 0x40);
        EXPECT_EQ(s & 7, c.level) << "step " << c.step;
        // Usable (level below 4) exactly within 1 MHz, where the picture is received.
        EXPECT_EQ((s & 7) < 4, lockCard()->receivedStation().has_value()) << "step " << c.step;
    }
}

TEST_F(TunerTest, ChannelDividersOfBothStandardsLandOnTheirStations) {
    // NTSC: intermediate frequency 45.75 MHz; US broadcast channel 2, 13 and cable 14.
    buildCard({.tuner = TunerKind::Philips, .intermediateFrequencyHz = kNtscIntermediateFrequencyHz},
              {tvStation(55'250'000, "A"), tvStation(211'250'000, "B"), tvStation(121'250'000, "C")});
    loadBtVid();
    for (double mhz : {55.25, 211.25, 121.25}) {
        tune(0xC0, dividerFor(45.75, mhz));
        clock.advanceMs(PllTuner::kTvSettleMs);
        EXPECT_EQ(lockCard()->tuner()->tunedFrequencyHz(), std::int64_t(mhz * 1e6));
        EXPECT_EQ(status(0xC0), 0x40) << mhz;
    }
    // PAL: 38.875 MHz; European E2 (divider 772 + 622) and E21.
    buildCard({.tuner = TunerKind::Alps, .standard = VideoStandard::Pal, .intermediateFrequencyHz = kPalIntermediateFrequencyHz},
              {tvStation(48'250'000, "E2"), tvStation(471'250'000, "E21")});
    for (std::uint16_t divider : {772 + 622, 7540 + 622}) {
        tune(0xC2, divider, 0xCE01);
        clock.advanceMs(PllTuner::kTvSettleMs);
        EXPECT_EQ(status(0xC2), 0x40) << divider;
    }
    EXPECT_EQ(lockCard()->receivedStation()->station->name, "E21");
}

TEST_F(TunerTest, PhilipsRadioModeReportsStrengthThenCentring) {
    buildCard({.chip = ChipKind::Bt878, .tuner = TunerKind::Philips}, {fmStation(98'100'000, "FM 98.1")});
    loadBtVid();
    // N = (8 x f + 856) / 5 for f in 0.1 MHz; 981 gives 1740 = 98.05 MHz.
    const auto radioStatus = [&](int tenthsMHz, std::uint16_t word) {
        const std::uint16_t n = std::uint16_t((8 * tenthsMHz + 856) / 5);
        EXPECT_EQ(btvid.I2CHWWrite3(0xC0, word >> 8, word & 0xFF), 0);
        EXPECT_EQ(btvid.I2CHWWrite3(0xC0, n >> 8, n & 0xFF), 0);
        clock.advanceMs(10);
        return status(0xC0);
    };
    std::uint8_t s = radioStatus(981, 0xCEAC);
    EXPECT_EQ(lockCard()->tuner()->mode(), TunerMode::Fm);
    EXPECT_EQ(s & 0x40, 0x40);
    EXPECT_GE(s & 7, 3);            // strong enough for the default threshold
    s = radioStatus(981, 0x8EAD);
    EXPECT_EQ(s, 0x40 | 3);          // just below the carrier: centred window 1..3
    s = radioStatus(982, 0x8EAD);
    EXPECT_EQ(s, 0x40 | 0);          // 75 kHz above: outside the window
    s = radioStatus(1000, 0xCEAC);
    EXPECT_EQ(s, 0);                 // no station: no lock
    EXPECT_FALSE(lockCard()->receivedStation().has_value());
    // A TV control word leaves the radio mode.
    tune(0xC0, 1616, 0xCEA0);
    EXPECT_EQ(lockCard()->tuner()->mode(), TunerMode::Tv);
}

TEST_F(TunerTest, AlpsRadioModeTellsWhichWayTheStationLies) {
    buildCard({.tuner = TunerKind::Alps}, {fmStation(98'100'000, "FM 98.1")});
    loadBtVid();
    // N = 32 x f / 10 + 1320: 981 gives 4459 (98.09375 MHz), the station 6.25 kHz above.
    const auto radioStatus = [&](std::uint16_t n) {
        EXPECT_EQ(btvid.I2CHWWrite3(0xC2, 0xC6, 0x05), 0);
        EXPECT_EQ(btvid.I2CHWWrite3(0xC2, n >> 8, n & 0xFF), 0);
        clock.advanceMs(20);
        return status(0xC2);
    };
    EXPECT_EQ(radioStatus(4459), 0x40 | 4);
    EXPECT_EQ(radioStatus(4460), 0x40 | 2);  // one step off
    EXPECT_EQ(radioStatus(4461), 0x40 | 3);  // two steps off
    EXPECT_EQ(radioStatus(4456), 0);         // 98.0: nothing
    EXPECT_EQ(lockCard()->receivedStation(), std::nullopt);
    radioStatus(4459);
    ASSERT_TRUE(lockCard()->receivedStation().has_value());
    EXPECT_EQ(lockCard()->receivedStation()->station->name, "FM 98.1");
}

}  // namespace
}  // namespace kelto::cardsim::test
