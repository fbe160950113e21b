// The binding with the real hardware-control library over the simulated card, in the viewer's
// start-up order: video driver library, RISC audio flag 0, hardware library, configuration.
#include "ChannelTestSupport.h"

#include "cardsim/Card.h"
#include "channels/ChannelModel.h"
#include "platform/Paths.h"

namespace kelto::test {
namespace {

using cardsim::TunerKind;

class RuroriziBindingTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::setClock(&clock);
        ASSERT_TRUE(platform::prepareInstallRoot());
    }
    void TearDown() override {
        unload();
        cardsim::test::clearFaults();
        platform::setClock(nullptr);
    }

    void startHardware(cardsim::CardConfig card, int countryCode = 1) {
        unload();
        cardsim::test::buildCard(card, {cardsim::test::tvStation(55'250'000, "WKEL 2")});
        controller.LoadBtVid();
        controller.SetRiscAudioFlag(0);
        controller.LoadRurorizi();
        model.ReadTunerConfig(controller, countryCode);
        model.setConfigPath((platform::windowsFolder() / kCountryFileName).string());
        model.chooseTableSource(controller, kDefaultTableName, countryCode);
        controller.Open();
    }
    void unload() {
        controller.Close();
        controller.UnloadRurorizi();
        controller.UnloadBtVid();
    }
    int tuneBroadcast(int channel) {
        const auto divider = model.ComputeDivider(ChannelBand::Broadcast, channel);
        auto lock = controller.lockTuner();
        controller.ScanTuneBroadcast(channel, divider->high(), divider->low());
        return controller.PollLock();
    }
    cardsim::PictureControls picture() { return cardsim::lockCard()->video().controls; }

    platform::VirtualClock clock{std::chrono::system_clock::time_point(std::chrono::hours(24 * 365 * 30))};
    CollectedMessages messages;
    CTunerController controller{&messages};
    ChannelModel model;
};

TEST_F(RuroriziBindingTest, TheViewerTunesTheTunerTheLibraryFound) {
    struct Case {
        TunerKind kind;
        const char* name;
        TunerType type;
        std::uint8_t address;
    };
    for (const Case& c : {Case{TunerKind::Philips, "Philips", TunerType::Philips, 0xC0},
                          Case{TunerKind::Alps, "Alps", TunerType::Alps, 0xC2},
                          Case{TunerKind::LgAlps, "LGAlps", TunerType::LgAlps, 0xC6}}) {
        startHardware({.tuner = c.kind});
        EXPECT_TRUE(messages.shown.empty()) << c.name;
        EXPECT_EQ(platform::Registry::instance().queryString(platform::RegHive::LocalMachine, kTunerTypeKey, ""), c.name);
        EXPECT_EQ(controller.ReadRiscAudioFlag(), 0);
        EXPECT_EQ(controller.tunerType(), c.type) << c.name;
        EXPECT_EQ(controller.tunerAddress(), c.address) << c.name;
        EXPECT_EQ(tuneBroadcast(2), 1) << c.name;
        EXPECT_EQ(tuneBroadcast(3), 0) << c.name;
    }
}

TEST_F(RuroriziBindingTest, PictureLevelsInputsAndMuteReachTheCard) {
    startHardware({});
    EXPECT_EQ(controller.SetBrightness(64), 0);
    EXPECT_EQ(picture().brightness, 128);
    EXPECT_EQ(controller.SetBrightness(128), -3);  // 256 is out of the library's range
    EXPECT_EQ(picture().brightness, 128);
    EXPECT_EQ(controller.SetContrast(10), 0);
    EXPECT_EQ(controller.SetSaturation(20), 0);
    EXPECT_EQ(controller.SetHue(30), 0);
    EXPECT_EQ(picture().contrast, 20);
    EXPECT_EQ(picture().saturation, 40);
    EXPECT_EQ(picture().hue, 60);

    EXPECT_EQ(controller.SetInput(VideoMode::SVHS), 0);
    EXPECT_EQ(cardsim::lockCard()->video().input(), cardsim::VideoInput::SVideo);
    EXPECT_EQ(controller.SetInput(VideoMode::CATV), 0);
    EXPECT_EQ(cardsim::lockCard()->video().input(), cardsim::VideoInput::Tuner);
    EXPECT_EQ(controller.rurorizi().GetTVParam(1), 4);
    EXPECT_EQ(controller.SetInput(VideoMode::VIDEO), 0);
    EXPECT_EQ(controller.rurorizi().GetTVParam(1), 0);

    EXPECT_EQ(controller.Mute(true), 0);
    startHardware({.chip = cardsim::ChipKind::Bt848});
    EXPECT_EQ(controller.Mute(true), -257);  // no radio codes on a Bt848
}

}  // namespace
}  // namespace kelto::test
