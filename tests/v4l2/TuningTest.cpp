// Tuning a V4L2 card the way the program does: the viewer's dividers from the country file
// through its tuner controller, and the real hardware-control library's channel plans, lock
// polls and scan, all over the in-memory bttv card.
#include "tests/v4l2/V4l2Fixture.h"

#include "channels/CTunerController.h"
#include "channels/ChannelModel.h"
#include "channels/CountryConfigFile.h"
#include "platform/ProfileFile.h"
#include "platform/Registry.h"
#include "rurorizi/RuroriziApi.h"

#include <cstdlib>
#include <set>

namespace kelto::v4l2::test {
namespace {

constexpr std::int64_t kUnitHz = 62'500;

struct TuningTest : V4l2Fixture {
    void SetUp() override {
        V4l2Fixture::SetUp();
        // The viewer writes this before it loads the library: the sound goes by the GPIO route.
        ASSERT_TRUE(platform::Registry::instance().setString(platform::RegHive::LocalMachine,
                                                             "SOFTWARE\\Brooktree\\Audio\\RiscEnabled", "", "0"));
    }
    void TearDown() override {
        if (rurorizi) platform::freeLibrary(rurorizi);
        V4l2Fixture::TearDown();
    }
    void loadRurorizi() {
        rurorizi = platform::loadLibrary("RURORIZI.DLL");
        ASSERT_NE(rurorizi, nullptr) << platform::lastLoadError();
        setTV = platform::getProc<decltype(&::SetTVParam)>(rurorizi, "SetTVParam");
        getTV = platform::getProc<decltype(&::GetTVParam)>(rurorizi, "GetTVParam");
        ASSERT_TRUE(setTV && getTV);
    }
    static std::string countryFile() { return (platform::windowsFolder() / kCountryFileName).string(); }

    platform::ModuleHandle rurorizi = nullptr;
    decltype(&::SetTVParam) setTV = nullptr;
    decltype(&::GetTVParam) getTV = nullptr;
};

TEST_F(TuningTest, EveryChannelOfEveryShippedPlanTunesItsVisionCarrier) {
    CTunerController controller;
    ASSERT_EQ(controller.LoadBtVid(), 1);
    controller.ReadTunerType();
    int countries = 0;
    long channels = 0;
    for (const std::string& key : platform::getPrivateProfileKeyNames("COUNTRY LIST", countryFile())) {
        const int country = std::atoi(key.c_str() + std::string("COUNTRY_").size());
        platform::setUserLocaleCountryOverride(std::to_string(country));
        useFakeCard();  // the card takes the country's intermediate frequency when it opens
        ChannelModel model;
        model.ReadTunerConfig(controller, country, countryFile());
        model.LoadConfigTables(countryFile(), country);
        model.ApplyTables(controller);
        ++countries;
        for (const ChannelBand band : {ChannelBand::Broadcast, ChannelBand::Cable}) {
            for (std::int32_t channel = 1; channel <= kMaxChannel; ++channel) {
                const std::int64_t carrierHz = model.channelFrequencyHz(band, channel - 1);
                const auto divider = model.ComputeDivider(band, channel);
                if (carrierHz <= 0 || !divider) continue;
                card.frequencyLog.clear();
                if (band == ChannelBand::Broadcast) controller.TuneBroadcast(channel, divider->high(), divider->low());
                else controller.TuneCable(channel, divider->high(), divider->low());
                ASSERT_EQ(card.frequencyLog.size(), 1u) << key << " channel " << channel;
                const std::int64_t tunedHz = std::int64_t(card.frequencyUnits) * kUnitHz;
                // The divider is cut to whole steps, so the tuner lands within one step below.
                ASSERT_LE(carrierHz - tunedHz, kUnitHz) << key << " channel " << channel;
                ASSERT_GE(carrierHz - tunedHz, 0) << key << " channel " << channel;
                ++channels;
            }
        }
    }
    EXPECT_GT(countries, 60);
    EXPECT_GT(channels, 10'000);
}

TEST_F(TuningTest, TheLibrarysOwnPlansTuneTheirVisionCarriers) {
    loadRurorizi();
    ASSERT_EQ(setTV(1, 5), 0) << "broadcast tuner";
    struct Case {
        int country, plan, channel;
        std::uint32_t carrierHz;
    } cases[] = {{1, 5, 2, 55'250'000},   {1, 5, 13, 211'250'000}, {1, 5, 14, 471'250'000}, {1, 5, 69, 801'250'000},
                 {1, 4, 95, 91'250'000},  {49, 5, 2, 48'250'000},  {49, 5, 21, 471'250'000}, {49, 4, 42, 359'250'000}};
    for (const Case& c : cases) {
        platform::setUserLocaleCountryOverride(std::to_string(c.country));
        useFakeCard();
        ASSERT_EQ(setTV(19, 0), 0);  // the country again from the locale
        ASSERT_EQ(setTV(1, c.plan), 0);
        EXPECT_EQ(setTV(2, c.channel), -4) << "no station there";
        EXPECT_EQ(std::int64_t(card.frequencyUnits) * kUnitHz, c.carrierHz) << c.country << " " << c.channel;
    }
}

TEST_F(TuningTest, AScanThroughTheLibraryFindsTheStationsThatGiveAUsableLock) {
    card.stations = {{kUsChannel2Hz, 0xFFFF}, {kUsChannel7Hz, 0xC000}, {kUsChannel33Hz, 0xFFFF},
                     {471'250'000 + 6'000'000, 0x3000}};  // channel 15: too faint for a usable lock
    loadRurorizi();
    EXPECT_EQ(platform::Registry::instance().queryString(platform::RegHive::LocalMachine,
                                                         "SOFTWARE\\Brooktree\\Audio\\TunerType", ""),
              "Philips");
    ASSERT_EQ(setTV(1, 5), 0);
    std::set<int> found;
    for (int channel = 2; channel <= 69; ++channel) {
        const int r = setTV(2, channel);
        ASSERT_TRUE(r == 0 || r == -4) << channel << ": " << r;
        if (r == 0) found.insert(channel);
    }
    EXPECT_EQ(found, (std::set<int>{2, 7, 33}));
    EXPECT_EQ(card.input, 0u) << "the tuner input";
    EXPECT_EQ(getTV(2), 33) << "the last channel that locked";
}

TEST_F(TuningTest, TheViewersScanPollFindsTheSameStations) {
    card.stations = {{kUsChannel2Hz, 0xFFFF}, {kUsChannel7Hz, 0xC000}, {471'250'000 + 6'000'000, 0x3000}};
    CTunerController controller;
    ASSERT_EQ(controller.LoadBtVid(), 1);
    controller.ReadTunerType();
    ChannelModel model;
    model.ReadTunerConfig(controller, 1, countryFile());
    model.LoadConfigTables(countryFile(), 1);
    model.ApplyTables(controller);
    std::set<int> found;
    for (int channel = 2; channel <= 69; ++channel) {
        const auto divider = model.ComputeDivider(ChannelBand::Broadcast, channel);
        ASSERT_TRUE(divider);
        auto lock = controller.lockTuner();
        ASSERT_EQ(controller.ScanTuneBroadcast(channel, divider->high(), divider->low()), 0);
        if (controller.PollLock() == 1) found.insert(channel);
    }
    EXPECT_EQ(found, (std::set<int>{2, 7}));
}

TEST_F(TuningTest, TheLibrarysInputsControlsAndMuteReachTheDevice) {
    loadRurorizi();
    ASSERT_EQ(setTV(1, 1), 0);
    EXPECT_EQ(card.input, 2u) << "S-Video";
    EXPECT_EQ(card.audioInput, 1u) << "external sound for a line input";
    ASSERT_EQ(setTV(1, 0), 0);
    EXPECT_EQ(card.input, 1u) << "composite";
    ASSERT_EQ(setTV(1, 5), 0);
    EXPECT_EQ(card.input, 0u);
    EXPECT_EQ(card.audioInput, 0u) << "the tuner's sound";
    EXPECT_EQ(getTV(1), 5);

    ASSERT_EQ(setTV(3, 255), 0);
    EXPECT_EQ(card.control(V4L2_CID_BRIGHTNESS), 255 * 256);
    ASSERT_EQ(setTV(6, 0), 0);
    EXPECT_EQ(card.control(V4L2_CID_SATURATION), 0);
    EXPECT_EQ(getTV(6), 0);

    ASSERT_EQ(setTV(16, 0), 0);
    EXPECT_EQ(card.control(V4L2_CID_AUDIO_MUTE), 1);
    EXPECT_EQ(getTV(16), 0);
    ASSERT_EQ(setTV(16, 1), 0);
    EXPECT_EQ(card.control(V4L2_CID_AUDIO_MUTE), 0);
    EXPECT_EQ(getTV(16), 1);

    // A device gone: the library reports the driver's failure with its usual codes.
    card.vanish();
    EXPECT_EQ(setTV(3, 10), -253);
    EXPECT_EQ(setTV(1, 0), -253);
    EXPECT_LT(setTV(2, 7), 0);
}

TEST_F(TuningTest, TheLibrarysFmTuningFindsStationsOnTheRadioDevice) {
    radioCard.stations = {{100'000'000}};
    struct Case {
        std::uint8_t tunerAddress;
        const char* name;
    } tuners[] = {{0xC0, "Philips"}, {0xC2, "Alps"}};
    for (const Case& tuner : tuners) {
        useFakeCard(v4l2Config(tuner.tunerAddress, std::nullopt, "/dev/radio0"));
        loadRurorizi();
        const auto setRadio = platform::getProc<decltype(&::SetRadioParam)>(rurorizi, "SetRadioParam");
        const auto getRadio = platform::getProc<decltype(&::GetRadioParam)>(rurorizi, "GetRadioParam");
        ASSERT_TRUE(setRadio && getRadio);
        EXPECT_EQ(setRadio(1, 1000), 0) << tuner.name;
        EXPECT_EQ(getRadio(1), 1000) << tuner.name;
        EXPECT_LE(std::llabs(std::int64_t(radioCard.frequencyUnits) * 125 / 2 - 100'000'000), 50'000) << tuner.name;
        EXPECT_EQ(setRadio(1, 1012), -4) << tuner.name << ": nothing at 101.2 MHz";
        EXPECT_EQ(getRadio(1), 1000) << tuner.name;
        platform::freeLibrary(rurorizi);
        rurorizi = nullptr;
    }
    // Without a radio device the radio finds nothing.
    useFakeCard();
    loadRurorizi();
    EXPECT_EQ(platform::getProc<decltype(&::SetRadioParam)>(rurorizi, "SetRadioParam")(1, 1000), -4);
}

TEST_F(TuningTest, TheLibraryLoadsOnACardWithoutTunerAndRefusesToTune) {
    card.hasTuner = false;
    useFakeCard();
    loadRurorizi();
    ASSERT_EQ(setTV(1, 0), 0);
    EXPECT_EQ(card.input, 0u) << "Composite1 is the first input without a tuner";
    EXPECT_EQ(setTV(1, 5), -253);
}

}  // namespace
}  // namespace kelto::v4l2::test
