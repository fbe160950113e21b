// The card file and the world file: what they select, how bad values are refused, and that the
// shipped world puts stations where the channel plans tune.
#include "cardsim/BroadcastWorld.h"
#include "cardsim/CardConfig.h"
#include "platform/Paths.h"
#include "platform/SystemInfo.h"
#include "tests/support/TestRoot.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kelto::cardsim {
namespace {

TEST(CardFilesTest, CardFileSelectsTheCardAndRefusesWhatItDoesNotUnderstand) {
    test::TemporaryFolder folder;
    test::writeFile(folder / "card.ini",
                    "[Card]\nChip=bt848\nTuner=LGAlps\nSoundDecoder=2\nRiscAudio=0\nStandard=PAL\nWorld=my.ini\n");
    CardConfig config = loadCardConfig(folder / "card.ini");
    EXPECT_EQ(config.chip, ChipKind::Bt848);
    EXPECT_EQ(config.tuner, TunerKind::LgAlps);
    EXPECT_EQ(tunerAddress(config.tuner), 0xC6);
    EXPECT_EQ(config.soundDecoder, SoundDecoderKind::Type2);
    EXPECT_FALSE(config.riscAudio);
    EXPECT_EQ(config.standard, VideoStandard::Pal);
    EXPECT_EQ(config.intermediateFrequencyHz, kPalIntermediateFrequencyHz);
    EXPECT_EQ(config.worldFile, folder / "my.ini");

    test::writeFile(folder / "bad.ini",
                    "[Card]\nChip=Bt999\nTuner=Sony\nSoundDecoder=7\nRiscAudio=yes\nStandard=SECAM\n"
                    "IntermediateFrequencyHz=5\n");
    platform::setUserLocaleCountryOverride("49");
    config = loadCardConfig(folder / "bad.ini");
    EXPECT_EQ(config.chip, ChipKind::Bt878);
    EXPECT_EQ(config.tuner, TunerKind::Philips);
    EXPECT_EQ(config.soundDecoder, SoundDecoderKind::Type1);
    EXPECT_TRUE(config.riscAudio);
    EXPECT_EQ(config.standard, VideoStandard::Pal);  // falls back to the country's (Germany)
    EXPECT_EQ(config.intermediateFrequencyHz, kPalIntermediateFrequencyHz);
    platform::setUserLocaleCountryOverride("82");
    EXPECT_EQ(loadCardConfig(folder / "missing.ini").standard, VideoStandard::Ntsc);
    platform::clearUserLocaleCountryOverride();
}

TEST(CardFilesTest, WorldFileLeavesOutStationsItCannotPlace) {
    test::TemporaryFolder folder;
    test::writeFile(folder / "w.ini",
                    "[a]\nFrequencyHz=55250000\nName=A\nSoundMode=stereo\n"
                    "[b]\nBand=FM\nFrequencyHz=98100000\nToneHz=99999\n"
                    "[c]\nBand=AM\nFrequencyHz=1000000\n"
                    "[d]\nFrequencyHz=12\n"
                    "[e]\nFrequencyHz=55250000x\n"
                    "[f]\nFrequencyHz=471250000\nName=A very long station name that does not fit\nPicture=file\n"
                    "[g]\nFrequencyHz=479250000\nPicture=file\nFile=clip.mpg\n");
    const BroadcastWorld world = BroadcastWorld::load(folder / "w.ini");
    ASSERT_EQ(world.stations().size(), 3u);
    EXPECT_EQ(world.stations()[0].soundMode, SoundMode::Stereo);
    EXPECT_EQ(world.stations()[1].band, Band::Fm);
    EXPECT_EQ(world.stations()[1].name, "b");
    EXPECT_EQ(world.stations()[1].toneHz, 5000u);
    EXPECT_EQ(world.stations()[2].picture, PictureKind::VideoFile);
    EXPECT_EQ(world.stations()[2].videoFile, folder / "clip.mpg");
    EXPECT_TRUE(BroadcastWorld::load(folder / "none.ini").stations().empty());

    EXPECT_EQ(world.nearest(Band::Tv, 55'000'000, 300'000)->offsetHz, 250'000);
    EXPECT_FALSE(world.nearest(Band::Tv, 55'000'000, 200'000).has_value());
    EXPECT_FALSE(world.nearest(Band::Tv, 98'100'000, 1'000'000).has_value());  // FM is its own band
}

TEST(CardFilesTest, ShippedWorldSitsOnChannelsOfThePlans) {
    const BroadcastWorld world = BroadcastWorld::load(platform::dataFolder() / "stations.ini");
    ASSERT_GE(world.stations().size(), 40u);
    int tv = 0, fm = 0;
    for (const Station& station : world.stations()) {
        if (station.band == Band::Fm) {
            ++fm;
            continue;
        }
        ++tv;
        // A vision carrier tunes exactly with one of the two intermediate frequencies, the way the
        // channel code computes dividers.
        const double mhz = station.carrierHz / 1e6;
        bool exact = false;
        for (double ifMHz : {45.75, 38.875}) {
            const auto divider = std::uint32_t((ifMHz + mhz) * 16.0);
            exact |= std::int64_t(divider) * 62'500 - std::int64_t(ifMHz * 1e6) == std::int64_t(station.carrierHz);
        }
        EXPECT_TRUE(exact) << station.name;
        // No other station within 1.5 MHz, so every channel shows one clean picture.
        for (const Station& other : world.stations()) {
            if (&other == &station || other.band != Band::Tv) continue;
            EXPECT_GE(std::llabs(std::int64_t(other.carrierHz) - std::int64_t(station.carrierHz)), 1'500'000) << station.name;
        }
    }
    EXPECT_GE(tv, 35);
    EXPECT_GE(fm, 5);
}

}  // namespace
}  // namespace kelto::cardsim
