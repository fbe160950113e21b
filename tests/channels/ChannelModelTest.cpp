// The country file readers and the channel model: tables, band limits, dividers, table source.
#include "channels/ChannelModel.h"
#include "channels/CTunerController.h"
#include "platform/Paths.h"
#include "platform/Registry.h"
#include "tests/support/TestRoot.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace kelto {
namespace {

using test::writeFile;

class ChannelModelTest : public ::testing::Test {
protected:
    // Writes a country file into the Windows folder and returns its path.
    std::string countryFile(const std::string& name, const std::string& text) {
        const auto path = platform::windowsFolder() / name;
        std::filesystem::create_directories(path.parent_path());
        writeFile(path, text);
        return path.string();
    }

    CTunerController controller{nullptr};
    ChannelModel model;
};

constexpr const char* kSmallPlan = R"([COUNTRY LIST]
COUNTRY_1=LAND
COUNTRY_7=ODD
[LAND]
TUNER TYPE=MODEL X
MODEL X INTERMEDIATE FREQUENCY=38875000
LOW BAND=1
LOWMID BAND=2
MIDHIGH BAND=3
HIGH BAND=4
LOW CONTROL=5
MID CONTROL=6
HIGH CONTROL=7
BROADCAST TV=AIR
CABLE TV=WIRE
[AIR]
LOWEST CHANNEL=2
HIGHEST CHANNEL=4
CHAN_2=55250000
CHAN_4=67250000
[WIRE]
LOWEST CHANNEL=9
HIGHEST CHANNEL=3
CHAN_3=1000000
CHAN_9=2000000
[ODD]
TUNER TYPE=MODEL Y
BROADCAST TV=WIDE
[WIDE]
LOWEST CHANNEL=0
HIGHEST CHANNEL=300
CHAN_0=11
CHAN_1=12
CHAN_256=13
CHAN_257=14
)";

TEST_F(ChannelModelTest, TheDividerExample) {
    const auto file = countryFile("plan.ini", "[COUNTRY LIST]\nCOUNTRY_1=US\n[US]\nBROADCAST TV=B\n[B]\n"
                                              "LOWEST CHANNEL=2\nHIGHEST CHANNEL=2\nCHAN_2=55250000\n");
    model.ReadTunerConfig(controller, 1, file);  // no tuner model: 45.75 MHz
    EXPECT_FLOAT_EQ(model.intermediateFrequencyMHz(), 45.75f);
    model.LoadConfigTables(file, 1);
    model.ApplyTables(controller);
    auto divider = model.ComputeDivider(ChannelBand::Broadcast, 2);
    ASSERT_TRUE(divider);
    EXPECT_EQ(divider->value, 1616);
    EXPECT_EQ(divider->high(), 0x06);
    EXPECT_EQ(divider->low(), 0x50);
    model.registered().setFineTune(ChannelBand::Broadcast, 2, 1);
    EXPECT_EQ(model.ComputeDivider(ChannelBand::Broadcast, 2)->value, 1617);
    model.registered().setFineTune(ChannelBand::Broadcast, 2, -16);
    EXPECT_EQ(model.ComputeDivider(ChannelBand::Broadcast, 2)->value, 1600);
}

// Frequencies off the 62.5 kHz grid give a sum with a fraction, which is cut off, never rounded.
TEST_F(ChannelModelTest, ADividerOffTheGridIsTruncated) {
    const auto file = countryFile("offgrid.ini", "[COUNTRY LIST]\nCOUNTRY_1=US\n[US]\nBROADCAST TV=B\nCABLE TV=C\n"
                                                 "[B]\nLOWEST CHANNEL=2\nHIGHEST CHANNEL=3\nCHAN_2=55290000\nCHAN_3=61260000\n"
                                                 "[C]\nLOWEST CHANNEL=1\nHIGHEST CHANNEL=1\nCHAN_1=73280000\n");
    model.ReadTunerConfig(controller, 1, file);  // 45.75 MHz
    model.LoadConfigTables(file, 1);
    model.ApplyTables(controller);
    // (45.75 + 55.29) x 16 = 1616.64: 1616, where rounding would give 1617.
    EXPECT_EQ(model.ComputeDivider(ChannelBand::Broadcast, 2)->value, 1616);
    // (45.75 + 61.26) x 16 = 1712.16 and (45.75 + 73.28) x 16 = 1904.48: the fraction goes also
    // when it is small, and on the cable band.
    EXPECT_EQ(model.ComputeDivider(ChannelBand::Broadcast, 3)->value, 1712);
    EXPECT_EQ(model.ComputeDivider(ChannelBand::Cable, 1)->value, 1904);
    // Fine tuning is added before the cut: 1616.64 - 1 = 1615.64 gives 1615.
    model.registered().setFineTune(ChannelBand::Broadcast, 2, -1);
    EXPECT_EQ(model.ComputeDivider(ChannelBand::Broadcast, 2)->value, 1615);
    model.registered().setFineTune(ChannelBand::Broadcast, 2, 1);
    EXPECT_EQ(model.ComputeDivider(ChannelBand::Broadcast, 2)->value, 1617);
}

TEST_F(ChannelModelTest, TunerConfigComesFromTheCountrySectionAndTheRegistry) {
    const auto file = countryFile("tuner.ini", kSmallPlan);
    platform::Registry::instance().setString(platform::RegHive::LocalMachine, kTunerTypeKey, "", "LGAlps");
    model.ReadTunerConfig(controller, 1, file);
    EXPECT_EQ(controller.tunerType(), TunerType::LgAlps);
    EXPECT_EQ(controller.tunerAddress(), 0xC6);
    EXPECT_FLOAT_EQ(model.intermediateFrequencyMHz(), 38.875f);
    EXPECT_EQ(controller.bandConfig(), (TunerBandConfig{1, 2, 3, 4, 5, 6, 7}));

    // A country without an entry: 45.75 MHz and a band configuration of zeros.
    model.ReadTunerConfig(controller, 99, file);
    EXPECT_FLOAT_EQ(model.intermediateFrequencyMHz(), 45.75f);
    EXPECT_EQ(controller.bandConfig(), TunerBandConfig{});
    // A tuner model without its intermediate-frequency key.
    model.ReadTunerConfig(controller, 7, file);
    EXPECT_EQ(model.tunerSettings().tunerModel, "MODEL Y");
    EXPECT_FLOAT_EQ(model.intermediateFrequencyMHz(), 45.75f);
}

TEST_F(ChannelModelTest, TunerModelNamesLongerThan232CharactersAreRefused) {
    const std::string fits(232, 'M');
    const std::string tooLong(233, 'M');
    const auto file = countryFile("long.ini", "[COUNTRY LIST]\nCOUNTRY_1=A\nCOUNTRY_2=B\n"
                                              "[A]\nTUNER TYPE=" + fits + "\n" + fits + " INTERMEDIATE FREQUENCY=38875000\n"
                                              "[B]\nTUNER TYPE=" + tooLong + "\n" + tooLong + " INTERMEDIATE FREQUENCY=38875000\n");
    EXPECT_EQ(readTunerSettings(file, 1).intermediateFrequencyHz, 38875000);
    EXPECT_FALSE(readTunerSettings(file, 1).tunerModelRefused);
    const TunerFileSettings refused = readTunerSettings(file, 2);
    EXPECT_TRUE(refused.tunerModelRefused);
    EXPECT_EQ(refused.intermediateFrequencyHz, kDefaultIntermediateFrequencyHz);
}

TEST_F(ChannelModelTest, TablesBoundsAndTheCopiesApplyTablesMakes) {
    const auto file = countryFile("tables.ini", kSmallPlan);
    model.ReadTunerConfig(controller, 1, file);
    controller.setFrequencyHz(ChannelBand::Cable, 2, 777);  // cable channel 3, held from before
    model.LoadConfigTables(file, 1);
    const FrequencyTables& t = model.records();
    EXPECT_EQ(t.broadcast.frequencyHz[2], 55250000);
    EXPECT_EQ(t.broadcast.frequencyHz[3], 0);  // absent key
    // Lowest above highest: no channel is read, but the limits are kept.
    EXPECT_EQ(t.cable.lowest, 9);
    EXPECT_EQ(t.cable.highest, 3);
    EXPECT_EQ(t.cable.frequencyHz[3], 0);
    EXPECT_EQ(t.cable.frequencyHz[9], 0);

    model.ApplyTables(controller);
    EXPECT_EQ(model.bounds(), (ChannelBounds{2, 4, 9, 3}));
    EXPECT_EQ(controller.frequencyHz(ChannelBand::Broadcast, 1), 55250000);
    EXPECT_EQ(controller.frequencyHz(ChannelBand::Broadcast, 3), 67250000);
    EXPECT_EQ(controller.frequencyHz(ChannelBand::Cable, 2), 777);  // nothing copied for the band
    EXPECT_FLOAT_EQ(model.channelMHz(ChannelBand::Broadcast, 4), 67.25f);
    EXPECT_EQ(model.channelFrequencyHz(ChannelBand::Broadcast, 1), 55250000);
    EXPECT_EQ(model.channelFrequencyHz(ChannelBand::Broadcast, 256), 0);

    // The absent channel 3 tunes to the intermediate frequency alone, plus its fine tuning.
    model.registered().setFineTune(ChannelBand::Broadcast, 3, 2);
    EXPECT_EQ(model.ComputeDivider(ChannelBand::Broadcast, 3)->value, 38875 * 16 / 1000 + 2);
}

TEST_F(ChannelModelTest, ChannelsOutsideOneTo256AreNeitherReadNorStored) {
    const auto file = countryFile("wide.ini", kSmallPlan);
    model.LoadConfigTables(file, 7);
    const FrequencyTable& wide = model.records().broadcast;
    EXPECT_EQ(wide.lowest, 0);
    EXPECT_EQ(wide.highest, 300);
    EXPECT_EQ(wide.frequencyHz[0], 0);
    EXPECT_EQ(wide.frequencyHz[1], 12);
    EXPECT_EQ(wide.frequencyHz[256], 13);
    model.ApplyTables(controller);
    EXPECT_EQ(model.bounds().tvHighest, 300);
    EXPECT_EQ(controller.frequencyHz(ChannelBand::Broadcast, 255), 13);
    EXPECT_EQ(controller.frequencyHz(ChannelBand::Broadcast, 256), 0);
    EXPECT_FALSE(model.ComputeDivider(ChannelBand::Broadcast, 0));
    EXPECT_FALSE(model.ComputeDivider(ChannelBand::Broadcast, 257));
    // A fine tuning that would push the divider into the control-word range is not tuned.
    model.registered().setFineTune(ChannelBand::Broadcast, 1, 40000);
    EXPECT_FALSE(model.ComputeDivider(ChannelBand::Broadcast, 1));
}

TEST_F(ChannelModelTest, MissingLimitsGiveZeroToTheViewerAndDefaultsToTheReservationList) {
    const auto file = countryFile("bare.ini", "[COUNTRY LIST]\nCOUNTRY_1=X\n[X]\nBROADCAST TV=B\nCABLE TV=C\n"
                                              "[B]\nCHAN_2=55250000\n[C]\nHIGHEST CHANNEL=90\n");
    model.LoadConfigTables(file, 1);
    model.ApplyTables(controller);
    EXPECT_EQ(model.bounds(), (ChannelBounds{0, 0, 0, 90}));
    EXPECT_EQ(model.records().broadcast.frequencyHz[2], 0);
    EXPECT_EQ(readReservationBounds(file, 1), (ChannelBounds{2, 69, 1, 90}));
    EXPECT_EQ(readReservationBounds(file, 5), (ChannelBounds{2, 69, 1, 125}));  // no such country
}

TEST_F(ChannelModelTest, TableSourceTakesTheNamedFileOrFallsBackToTheCountryFile) {
    model.setConfigPath(countryFile("source.ini", kSmallPlan));
    std::filesystem::create_directories(platform::programFolder());
    FrequencyTables mine;
    mine.broadcast = {5, 5, {}};
    mine.broadcast.frequencyHz[5] = 77250000;
    mine.cable = {1, 1, {}};
    mine.cable.frequencyHz[1] = 73250000;
    ASSERT_TRUE(FreqFile::write(FreqFile::pathForName("mine"), FreqFile::contentOf(mine)));
    writeFile(FreqFile::pathForName("broken"), "abc");

    EXPECT_EQ(model.chooseTableSource(controller, "mine", 1), TableSource::TableFile);
    EXPECT_EQ(model.bounds(), (ChannelBounds{5, 5, 1, 1}));
    EXPECT_EQ(controller.frequencyHz(ChannelBand::Broadcast, 4), 77250000);
    EXPECT_EQ(model.activeTableName(), "mine");

    for (const char* name : {"Default", "broken", "missing", "../mine"}) {
        EXPECT_EQ(model.chooseTableSource(controller, name, 1), TableSource::ConfigFile) << name;
        EXPECT_EQ(model.bounds(), (ChannelBounds{2, 4, 9, 3})) << name;
        EXPECT_EQ(model.activeTableName(), name);
    }
}

}  // namespace
}  // namespace kelto
