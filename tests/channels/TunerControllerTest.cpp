// The viewer's hardware binding over the simulated card's video driver library and a recording
// stand-in of the hardware library.
#include "ChannelTestSupport.h"

#include "cardsim/Card.h"
#include "resources/StringTable.h"

#include <atomic>
#include <thread>

namespace kelto::test {
namespace {

using cardsim::test::i2cLog;
using platform::RegHive;

std::vector<std::vector<std::uint8_t>> writesTo(std::uint8_t address) {
    std::vector<std::vector<std::uint8_t>> writes;
    for (const auto& t : i2cLog())
        if (!t.read && t.address == address) writes.push_back(t.bytes);
    return writes;
}

TEST_F(ControllerFixture, TuneWritesTheDividerThenTheChannelsControlWord) {
    loadBoth();
    EXPECT_EQ(controller.TuneBroadcast(2, 0x06, 0x50), 1);
    const std::vector<std::vector<std::uint8_t>> expected{{0x06, 0x50}, {0xCE, 0xA0}};
    EXPECT_EQ(writesTo(0xC0), expected);

    // A value up to 10000 is a channel (in no range of the cable plan: band 0); above it, a
    // frequency judged by the country file's band limits (below LOW BAND: HIGH CONTROL).
    controller.bandConfig() = {44000, 160000, 454000, 864000, 0x1111, 0x2222, 0x3333};
    cardsim::test::clearI2cLog();
    controller.TuneCable(10000, 0x30, 0x00);
    controller.TuneCable(10001, 0x30, 0x00);
    const auto writes = writesTo(0xC0);
    ASSERT_EQ(writes.size(), 4u);
    EXPECT_EQ(writes[1], (std::vector<std::uint8_t>{0xCE, 0xA0}));
    EXPECT_EQ(writes[3], (std::vector<std::uint8_t>{0x33, 0x33}));
}

TEST_F(ControllerFixture, TunerTypeFromTheRegistryChoosesAddressAndWords) {
    auto& registry = platform::Registry::instance();
    cardsim::test::buildCard({.tuner = cardsim::TunerKind::Alps}, {});
    loadBoth();
    registry.setString(RegHive::LocalMachine, kTunerTypeKey, "", "Alps");
    controller.ReadTunerType();
    EXPECT_EQ(controller.tunerType(), TunerType::Alps);
    EXPECT_EQ(controller.tunerAddress(), 0xC2);
    controller.TuneCable(50, 0x10, 0x00);
    EXPECT_EQ(writesTo(0xC2).back(), (std::vector<std::uint8_t>{0xCE, 0x08}));

    // Type 1 keeps the address it had; an absent value counts as Philips.
    registry.setString(RegHive::LocalMachine, kTunerTypeKey, "", "Acme TV");
    controller.ReadTunerType();
    EXPECT_EQ(controller.tunerType(), TunerType::Other);
    EXPECT_EQ(controller.tunerAddress(), 0xC2);
    registry.deleteKey(RegHive::LocalMachine, kTunerTypeKey);
    controller.ReadTunerType();
    EXPECT_EQ(controller.tunerType(), TunerType::Philips);
    EXPECT_EQ(controller.tunerAddress(), 0xC0);
}

TEST_F(ControllerFixture, PollLockFindsTheStationAndNothingBesideIt) {
    loadBoth();
    // 55.25 MHz + 45.75 MHz = 101 MHz = divider 1616.
    ASSERT_EQ(controller.ScanTuneBroadcast(2, 0x06, 0x50), 0);
    EXPECT_EQ(controller.PollLock(), 1);
    // Channel 4's divider, with no station there: locked, but far from any carrier.
    ASSERT_EQ(controller.ScanTuneBroadcast(4, 0x06, 0xB0), 0);
    EXPECT_EQ(controller.PollLock(), 0);
}

TEST_F(ControllerFixture, PollLockAfterAFailedScanTuneDoesNotTouchTheBus) {
    loadBoth();
    cardsim::test::setI2cAddressSilent(0xC0);
    EXPECT_EQ(controller.ScanTuneBroadcast(2, 0x06, 0x50), -1);
    EXPECT_EQ(controller.lastTuneResult(), -1);
    cardsim::test::setI2cAddressSilent(0xC0, false);
    cardsim::test::clearI2cLog();
    const auto before = clock.tickCountMs();
    EXPECT_EQ(controller.PollLock(), 0);
    EXPECT_TRUE(i2cLog().empty());
    EXPECT_EQ(clock.tickCountMs(), before);

    // Tune reports 1 whatever the tuner did and leaves the last scan result alone.
    cardsim::test::setI2cAddressSilent(0xC0);
    EXPECT_EQ(controller.TuneBroadcast(2, 0x06, 0x50), 1);
    EXPECT_EQ(controller.lastTuneResult(), -1);
}

TEST_F(ControllerFixture, PictureLevelsReachTheLibraryDoubled) {
    loadBoth();
    EXPECT_EQ(controller.SetBrightness(64), 0);
    EXPECT_EQ(controller.SetBrightness(128), -3);
    controller.SetContrast(10);
    controller.SetSaturation(20);
    controller.SetHue(30);
    const std::vector<LibraryCall> expected{{LibraryCall::SetTV, 3, 128},
                                            {LibraryCall::SetTV, 3, 256},
                                            {LibraryCall::SetTV, 4, 20},
                                            {LibraryCall::SetTV, 6, 40},
                                            {LibraryCall::SetTV, 5, 60}};
    EXPECT_EQ(fakeRuroriziCalls(), expected);
}

TEST_F(ControllerFixture, InputsAudioRouteAndMute) {
    loadBoth();
    controller.SetInput(VideoMode::TV);
    controller.SetInput(VideoMode::CATV);
    controller.SetInput(VideoMode::VIDEO);
    controller.SetInput(VideoMode::SVHS);
    controller.SetInput(static_cast<VideoMode>(7));
    EXPECT_EQ(controller.AudioRoute(0), 0);
    controller.AudioRoute(1);
    controller.AudioRoute(2);
    controller.AudioRoute(5);
    controller.Mute(true);
    controller.Mute(false);
    using C = LibraryCall;
    const std::vector<LibraryCall> expected{
        {C::SetTV, 1, 5},    {C::SetTV, 1, 4},    {C::SetTV, 1, 0},    {C::SetTV, 1, 1},
        {C::SetAudio, 1, 3}, {C::SetAudio, 2, 0}, {C::SetAudio, 1, 1}, {C::SetAudio, 2, 0},
        {C::SetAudio, 1, 2}, {C::SetAudio, 2, 0}, {C::SetAudio, 2, 0}, {C::SetRadio, 6, 1},
        {C::SetRadio, 6, 0}};
    EXPECT_EQ(fakeRuroriziCalls(), expected);
}

TEST_F(ControllerFixture, FreezePausesThePictureAndTuningOrPictureChangesEndIt) {
    loadBoth();
    const auto paused = [] { return cardsim::lockCard()->video().paused(); };
    controller.Freeze(1);
    EXPECT_TRUE(paused());
    EXPECT_EQ(controller.freezeFlag(), 1);
    controller.ScanTuneBroadcast(2, 0x06, 0x50);  // a scan does not look at the freeze
    EXPECT_TRUE(paused());
    controller.TuneBroadcast(2, 0x06, 0x50);
    EXPECT_FALSE(paused());
    EXPECT_EQ(controller.freezeFlag(), 0);

    controller.Freeze(1);
    controller.SetHue(64);
    EXPECT_FALSE(paused());
    controller.Freeze(1);
    controller.SetInput(VideoMode::VIDEO);
    EXPECT_FALSE(paused());
    controller.Freeze(2);  // any value but 1 lets the picture run
    EXPECT_FALSE(paused());
    EXPECT_EQ(controller.freezeFlag(), 2);
}

TEST_F(ControllerFixture, AMissingLibraryShowsMessage186AndEveryOperationIsSkipped) {
    cardsim::test::setLibraryLoadFails("BtVid_32.dll");
    CTunerController bare{&messages, platform::Registry::instance(), "NoSuchLibrary.dll"};
    EXPECT_EQ(bare.LoadBtVid(), 0);
    EXPECT_EQ(bare.LoadRurorizi(), 0);
    ASSERT_EQ(messages.ids(), (std::vector<int>{186, 186}));
    EXPECT_EQ(messages.shown[0].text, LoadMessage(186));
    EXPECT_EQ(messages.shown[0].caption, LoadMessage(157));

    EXPECT_EQ(bare.TuneBroadcast(2, 0x06, 0x50), 1);
    EXPECT_EQ(bare.ScanTuneBroadcast(2, 0x06, 0x50), -1);
    EXPECT_EQ(bare.PollLock(), 0);
    EXPECT_EQ(bare.SetBrightness(64), std::nullopt);
    EXPECT_EQ(bare.SetInput(VideoMode::TV), std::nullopt);
    EXPECT_EQ(bare.AudioRoute(0), 1);
    EXPECT_EQ(bare.Mute(true), std::nullopt);
    bare.Freeze(1);
    EXPECT_EQ(bare.freezeFlag(), 1);
}

TEST_F(ControllerFixture, AMissingRequiredEntryShowsMessage187OptionalOnesDoNot) {
    platform::hideExport("BtVid_32.dll", "IsBt878");
    EXPECT_EQ(controller.LoadBtVid(), 1);
    EXPECT_TRUE(messages.shown.empty());
    controller.UnloadBtVid();

    platform::hideExport("BtVid_32.dll", "Bt848Pause");
    platform::hideExport(kFakeRurorizi, "SetAudioParam");
    EXPECT_EQ(controller.LoadBtVid(), 0);
    EXPECT_EQ(controller.LoadRurorizi(), 0);
    EXPECT_EQ(messages.ids(), (std::vector<int>{187, 187}));
    EXPECT_EQ(messages.shown[0].text, LoadMessage(187));

    // The libraries stay loaded and what is there still works; the missing entries are skipped.
    fakeRuroriziCalls();
    EXPECT_EQ(controller.AudioRoute(0), 1);
    EXPECT_EQ(controller.SetBrightness(10), 0);
    EXPECT_EQ(fakeRuroriziCalls(), (std::vector<LibraryCall>{{LibraryCall::SetTV, 3, 20}}));
    controller.Freeze(1);
    EXPECT_FALSE(cardsim::lockCard()->video().paused());
    EXPECT_EQ(controller.ScanTuneBroadcast(2, 0x06, 0x50), 0);
    EXPECT_EQ(controller.PollLock(), 1);
}

TEST_F(ControllerFixture, RiscAudioFlagIsAHexTextInTheRegistry) {
    auto& registry = platform::Registry::instance();
    EXPECT_EQ(controller.ReadRiscAudioFlag(), 0);  // absent
    controller.SetRiscAudioFlag(0);
    EXPECT_EQ(registry.queryString(RegHive::LocalMachine, kRiscEnabledKey, ""), "0");
    EXPECT_EQ(controller.ReadRiscAudioFlag(), 0);
    controller.SetRiscAudioFlag(0x1A);
    EXPECT_EQ(registry.queryString(RegHive::LocalMachine, kRiscEnabledKey, ""), "1A");
    EXPECT_EQ(controller.ReadRiscAudioFlag(), 1);
    registry.setString(RegHive::LocalMachine, kRiscEnabledKey, "", "yes");
    EXPECT_EQ(controller.ReadRiscAudioFlag(), 0);
}

TEST_F(ControllerFixture, TheTunerLockKeepsAScanAndTheViewerFromInterleaving) {
    loadBoth();
    // The scan holds the tuner lock from its tune to the end of its poll, pausing in between,
    // while the viewer keeps tuning elsewhere: the scan must never see the viewer's channel.
    std::atomic<bool> scanning{true};
    std::thread viewer([&] {
        while (scanning) controller.TuneBroadcast(4, 0x08, 0x00);
    });
    int missed = 0;
    for (int i = 0; i < 20; ++i) {
        auto lock = controller.lockTuner();
        controller.ScanTuneBroadcast(2, 0x06, 0x50);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        if (controller.PollLock() != 1) ++missed;
    }
    scanning = false;
    viewer.join();
    EXPECT_EQ(missed, 0);
}

}  // namespace
}  // namespace kelto::test
