// The shipped country file against the shipped broadcast world on the simulated card, with the
// real hardware library started as the viewer starts it: tuning every channel of a plan through
// the channel model and the tuner controller locks exactly where the world has a station.
#include "ChannelTestSupport.h"

#include "cardsim/Card.h"
#include "channels/ChannelModel.h"
#include "platform/Paths.h"
#include "platform/ProfileFile.h"

#include <map>
#include <set>
#include <string>
#include <string_view>

namespace kelto::test {
namespace {

using cardsim::BroadcastWorld;
using cardsim::PllTuner;

class ShippedPlansTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::setClock(&clock);
        ASSERT_TRUE(platform::prepareInstallRoot());  // copies the shipped country file
        world = BroadcastWorld::load(cardsim::defaultWorldFile());
        ASSERT_FALSE(world.stations().empty());
    }
    void TearDown() override {
        controller.UnloadRurorizi();
        controller.UnloadBtVid();
        cardsim::test::clearFaults();
        platform::setClock(nullptr);
    }

    // Builds the card the country's user would have and reads the country's plan.
    void setUpCountry(int countryCode, cardsim::TunerKind tuner = cardsim::TunerKind::Philips) {
        const auto standard = cardsim::standardForCountry(countryCode);
        cardsim::CardConfig config{.tuner = tuner, .standard = standard};
        config.intermediateFrequencyHz = standard == cardsim::VideoStandard::Pal ? cardsim::kPalIntermediateFrequencyHz
                                                                                 : cardsim::kNtscIntermediateFrequencyHz;
        controller.UnloadRurorizi();
        controller.UnloadBtVid();
        cardsim::test::buildCard(config, world.stations());
        // The viewer's start-up order; the library probes the tuner and names it in the registry.
        ASSERT_EQ(controller.LoadBtVid(), 1);
        controller.SetRiscAudioFlag(0);
        ASSERT_EQ(controller.LoadRurorizi(), 1);
        model.ReadTunerConfig(controller, countryCode);
        model.setConfigPath((platform::windowsFolder() / kCountryFileName).string());
        ASSERT_EQ(model.chooseTableSource(controller, kDefaultTableName, countryCode), TableSource::ConfigFile);
        controller.Open();
        ASSERT_EQ(controller.SetInput(VideoMode::TV), 0);
    }

    // Scan-tunes a channel as the auto scan does; whether the tuner reports a usable lock.
    bool scan(ChannelBand band, std::int32_t channel) {
        const auto divider = model.ComputeDivider(band, channel);
        EXPECT_TRUE(divider) << channel;
        if (!divider) return false;
        auto lock = controller.lockTuner();
        if (band == ChannelBand::Broadcast) controller.ScanTuneBroadcast(channel, divider->high(), divider->low());
        else controller.ScanTuneCable(channel, divider->high(), divider->low());
        return controller.PollLock() == 1;
    }

    std::int64_t tunedFrequencyHz() { return cardsim::lockCard()->tuner()->tunedFrequencyHz(); }

    platform::VirtualClock clock{std::chrono::system_clock::time_point(std::chrono::hours(24 * 365 * 30))};
    BroadcastWorld world;
    CollectedMessages messages;
    CTunerController controller{&messages};
    ChannelModel model;
};

TEST_F(ShippedPlansTest, TheUsPlanLocksExactlyWhereTheWorldHasStations) {
    for (const auto tuner : {cardsim::TunerKind::Philips, cardsim::TunerKind::Alps}) {
        setUpCountry(1, tuner);
        EXPECT_FLOAT_EQ(model.intermediateFrequencyMHz(), 45.75f);
        EXPECT_EQ(model.bounds(), (ChannelBounds{2, 69, 1, 125}));
        for (const ChannelBand band : {ChannelBand::Broadcast, ChannelBand::Cable}) {
            const FrequencyTable& table = model.records().of(band);
            std::set<int> locked;
            for (std::int32_t channel = table.lowest; channel <= table.highest; ++channel) {
                const std::uint32_t hz = std::uint32_t(table.frequencyHz[std::size_t(channel)]);
                const bool lock = scan(band, channel);
                if (lock) locked.insert(channel);
                // A picture is there within the card's picture range of a station's carrier.
                EXPECT_EQ(lock, world.nearest(cardsim::Band::Tv, hz, PllTuner::kPictureRangeHz).has_value())
                    << "channel " << channel << " at " << hz << " Hz";
                if (world.nearest(cardsim::Band::Tv, hz, 0)) {
                    EXPECT_EQ(tunedFrequencyHz(), std::int64_t(hz)) << "channel " << channel;
                    const auto received = cardsim::lockCard()->receivedStation();
                    ASSERT_TRUE(received) << channel;
                    EXPECT_EQ(received->offsetHz, 0) << channel;
                }
            }
            const std::set<int> usStations = band == ChannelBand::Broadcast ? std::set<int>{2, 4, 7, 11, 13, 28, 50}
                                                                            : std::set<int>{14, 18, 23, 40, 95, 100};
            for (int channel : usStations) EXPECT_TRUE(locked.contains(channel)) << channel;
        }
        EXPECT_TRUE(messages.shown.empty());
    }
}

// Every country of the file, on the card its user would have: each channel that has a station on
// its carrier tunes exactly there, and every channel table of the file (each plan, shared by its
// countries) reaches at least one station of the world.
TEST_F(ShippedPlansTest, EveryShippedCountryLandsExactlyOnTheStationsOfItsChannels) {
    const std::string file = (platform::dataFolder() / kCountryFileName).string();
    std::map<std::string, int> stationsOfTable;
    int stationsFound = 0;
    for (const std::string& key : platform::getPrivateProfileKeyNames("COUNTRY LIST", file)) {
        const int country = std::stoi(key.substr(std::string_view("COUNTRY_").size()));
        setUpCountry(country);
        const std::string section = countrySectionName(file, country);
        EXPECT_FALSE(model.tunerSettings().tunerModel.empty()) << country;
        for (const ChannelBand band : {ChannelBand::Broadcast, ChannelBand::Cable}) {
            const std::string tableName = platform::getPrivateProfileString(
                section, band == ChannelBand::Broadcast ? "BROADCAST TV" : "CABLE TV", "", file);
            stationsOfTable.try_emplace(tableName, 0);
            const FrequencyTable& table = model.records().of(band);
            EXPECT_GE(table.lowest, 1) << country;
            EXPECT_LE(table.highest, kMaxChannel) << country;
            for (std::int32_t channel = table.lowest; channel <= table.highest; ++channel) {
                const std::int32_t hz = table.frequencyHz[std::size_t(channel)];
                if (!world.nearest(cardsim::Band::Tv, std::uint32_t(hz), 0)) continue;
                ++stationsFound;
                ++stationsOfTable[tableName];
                EXPECT_TRUE(scan(band, channel)) << "country " << country << " channel " << channel;
                EXPECT_EQ(tunedFrequencyHz(), hz) << "country " << country << " channel " << channel;
                const auto received = cardsim::lockCard()->receivedStation();
                ASSERT_TRUE(received) << "country " << country << " channel " << channel;
                EXPECT_EQ(received->offsetHz, 0) << "country " << country << " channel " << channel;
            }
        }
    }
    EXPECT_GE(stationsOfTable.size(), 17u);
    for (const auto& [tableName, stations] : stationsOfTable) EXPECT_GE(stations, 1) << tableName;
    EXPECT_GT(stationsFound, 1000);
}

// The stations that show only on a plan of their own: found on that plan's channel, on the card
// of one of its countries.
TEST_F(ShippedPlansTest, StationsOnTheChannelsOfASinglePlanTuneOnThatPlan) {
    struct Expected {
        int country;
        ChannelBand band;
        std::int32_t channel;
        const char* station;
    };
    const Expected cases[] = {
        {81, ChannelBand::Cable, 22, "CATV JAPAN C22"},   {39, ChannelBand::Broadcast, 7, "RETE ITALIA G"},
        {33, ChannelBand::Broadcast, 4, "TELE FRANCE L4"}, {61, ChannelBand::Broadcast, 4, "AUSSIE TV 4"},
        {7, ChannelBand::Broadcast, 2, "EFIR R2"},        {7, ChannelBand::Cable, 8, "KABEL SK3"},
        {353, ChannelBand::Broadcast, 9, "TELEFIS I"},    {27, ChannelBand::Broadcast, 13, "SANTV 13"},
        {64, ChannelBand::Broadcast, 1, "KIWI TV 1"},     {380, ChannelBand::Broadcast, 2, "EFIR R2"},
    };
    for (const Expected& expected : cases) {
        setUpCountry(expected.country);
        EXPECT_TRUE(scan(expected.band, expected.channel)) << expected.station;
        const auto received = cardsim::lockCard()->receivedStation();
        ASSERT_TRUE(received) << expected.station;
        EXPECT_EQ(received->station->name, expected.station);
        EXPECT_EQ(received->offsetHz, 0) << expected.station;
    }
}

}  // namespace
}  // namespace kelto::test
