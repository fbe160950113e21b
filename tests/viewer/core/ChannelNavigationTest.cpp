// Tuning, stepping through the registered channels, the previous channel, typed channel numbers
// and registering channels, on the real library over the simulated card.
#include "SessionRig.h"

#include "viewer/core/ChannelStepping.h"

namespace kelto::viewer::test {
namespace {

using Texts = std::vector<std::string>;

TEST_F(SessionTest, TuningClampsToTheBandAndTellsDisplayPanelAndTuner) {
    ViewerSession& s = start();
    s.TuneChannel(99, true);  // broadcast 2..69
    EXPECT_EQ(s.tvChannel(), 69);
    EXPECT_EQ(s.previousTvChannel(), 7);
    EXPECT_EQ(panel.channelNumber, 69);
    ASSERT_EQ(osd.shown.size(), 1u);
    EXPECT_EQ(osd.shown[0], (OsdText{"CH  69", OsdAlign::Right, OsdEdge::Top, settings.osdColor, true, 20}));
    // (45.75 + 801.25) x 16
    EXPECT_EQ(dividersOnTheBus(), (std::vector<int>{13552}));
    // The sound is off for the change and on again after it.
    EXPECT_EQ(mixerWrites(rig.masterMute), (std::vector<std::uint32_t>{1, 0}));

    s.TuneChannel(0, false);
    EXPECT_EQ(s.tvChannel(), 2);
    EXPECT_EQ(osd.shown.size(), 1u);  // no display asked for
    EXPECT_EQ(s.lastTunedChannels(), (std::array<int, 2>{2, 69}));

    // Muted by the user: tuning leaves the sound alone.
    s.muteToggle();
    rig.mixer.clearWrites();
    s.TuneChannel(9, true);
    EXPECT_TRUE(mixerWrites(rig.masterMute).empty());
}

TEST_F(SessionTest, AFineTunedChannelReachesTheTunerWithItsOwnDivider) {
    model.registered().setFineTune(ChannelBand::Broadcast, 7, 3);
    model.registered().setFineTune(ChannelBand::Cable, 7, -2);
    ViewerSession& s = start();
    s.TuneChannel(7, true);
    s.SetVideoMode(VideoMode::CATV);
    s.TuneChannel(7, true);
    // Broadcast 7: (45.75 + 175.25) x 16 + 3; the switch to cable retunes cable 6 ((45.75 + 83.25)
    // x 16); cable 7 lies on the same carrier as broadcast 7, less 2 steps.
    EXPECT_EQ(dividersOnTheBus(), (std::vector<int>{3539, 2064, 3534}));

    // Without fine tuning the tuner lands on the station.
    model.registered().setFineTune(ChannelBand::Cable, 7, 0);
    s.TuneChannel(7, true);
    advanceMs(50);
    const auto received = cardsim::lockCard()->receivedStation();
    ASSERT_TRUE(received && received->station);
    EXPECT_EQ(received->station->name, "WKEL 7");
}

TEST_F(SessionTest, StepsFollowTheRegisteredListWrapAndCoverTheBandWhenItIsEmpty) {
    settings.tvChannel = 30;  // above every registered channel
    ViewerSession& s = start();
    s.channelUp();
    EXPECT_EQ(s.tvChannel(), 6);
    EXPECT_EQ(osd.lastText(), "CH   6");
    s.channelDown();
    EXPECT_EQ(s.tvChannel(), 12);
    s.TuneChannel(8, false);  // not registered: down goes to the entry before 9
    s.channelDown();
    EXPECT_EQ(s.tvChannel(), 7);

    registerBroadcast({});
    s.TuneChannel(68, false);
    s.channelUp();
    s.channelUp();
    EXPECT_EQ(s.tvChannel(), 2);
    s.channelDown();
    EXPECT_EQ(s.tvChannel(), 69);

    // A list holding only the current channel changes nothing and shows nothing.
    registerBroadcast({69});
    osd.shown.clear();
    s.channelUp();
    EXPECT_EQ(s.tvChannel(), 69);
    EXPECT_TRUE(osd.shown.empty());
}

TEST_F(SessionTest, SteppingRulesForUnregisteredChannels) {
    RegisteredList list;
    for (int c : {3, 9, 20}) list.channels[std::size_t(list.count++)] = c;
    EXPECT_EQ(steppedChannel(list, 10, StepDirection::Up, 2, 69), 20);
    EXPECT_EQ(steppedChannel(list, 10, StepDirection::Down, 2, 69), 9);
    EXPECT_EQ(steppedChannel(list, 2, StepDirection::Up, 2, 69), 3);    // nothing below: first
    EXPECT_EQ(steppedChannel(list, 2, StepDirection::Down, 2, 69), 20); // before the first: last
    EXPECT_EQ(steppedChannel(list, 40, StepDirection::Down, 2, 69), 20);
    EXPECT_EQ(steppedChannel(list, 20, StepDirection::Up, 2, 69), 3);
}

TEST_F(SessionTest, PreviousChannelGoesBackAndForthPerBand) {
    ViewerSession& s = start();
    s.TuneChannel(9, false);
    s.previousChannel();
    EXPECT_EQ(s.tvChannel(), 7);
    EXPECT_EQ(osd.lastText(), "CH   7");
    s.previousChannel();
    EXPECT_EQ(s.tvChannel(), 9);

    // While the keypad is open the request is the keypad's; the multi-screen view ignores it.
    setCompanions(true, false);
    s.previousChannel();
    EXPECT_EQ(keypad.passed, (std::vector<RecordingKeypad::Passed>{{kMsgRemotePreviousChannel, 0}}));
    setCompanions(false, true);
    s.previousChannel();
    EXPECT_EQ(s.tvChannel(), 9);

    setCompanions(false, false);
    s.SetVideoMode(VideoMode::VIDEO);
    s.previousChannel();
    EXPECT_EQ(s.tvChannel(), 9);
}

TEST_F(SessionTest, ASingleDigitTunesAfterOneSecond) {
    ViewerSession& s = start();
    characters("5");
    EXPECT_EQ(osd.lastText(), "CH   5");
    EXPECT_EQ(panel.channelNumber, 5);
    advanceMs(999);
    EXPECT_EQ(s.tvChannel(), 7);
    EXPECT_TRUE(dividersOnTheBus().empty());
    advanceMs(1);
    EXPECT_EQ(s.tvChannel(), 5);
    EXPECT_FALSE(s.numericEntryActive());

    // Each digit restarts the wait: a second digit 900 ms after the first still counts.
    s.SetVideoMode(VideoMode::CATV);
    characters("1");
    advanceMs(900);
    characters("2");
    advanceMs(900);
    EXPECT_EQ(s.catvChannel(), 6);
    advanceMs(100);
    EXPECT_EQ(s.catvChannel(), 12);
}

TEST_F(SessionTest, TwoDigitsTuneAtOnceOnBroadcastThreeOnCable) {
    ViewerSession& s = start();
    characters("12");
    EXPECT_EQ(s.tvChannel(), 12);
    EXPECT_FALSE(timers.running(kNumericEntryTimer));
    EXPECT_EQ(osd.texts(), (Texts{"CH   1", "CH  12", "CH  12"}));

    s.SetVideoMode(VideoMode::CATV);
    characters("125");
    EXPECT_EQ(s.catvChannel(), 125);
    EXPECT_FALSE(timers.running(kNumericEntryTimer));

    // A new digit after the end starts a new number.
    characters("99");
    characters("9");
    EXPECT_EQ(s.catvChannel(), 125);  // clamped to the cable band's last channel
    EXPECT_EQ(s.lastTunedChannels(), (std::array<int, 2>{125, 125}));
}

// A number typed on one band is not finished on another.
TEST_F(SessionTest, ChangingTheModeDropsANumberBeingTyped) {
    ViewerSession& s = start();
    characters("1");
    s.SetVideoMode(VideoMode::CATV);
    characters("25");
    EXPECT_EQ(s.catvChannel(), 6);
    advanceMs(1000);
    EXPECT_EQ(s.catvChannel(), 25);
    EXPECT_EQ(s.tvChannel(), 7);
}

TEST_F(SessionTest, NinetyNineOnABandEndingAt69TunesAndShows69) {
    ViewerSession& s = start();
    characters("99");
    EXPECT_EQ(s.tvChannel(), 69);
    EXPECT_EQ(osd.lastText(), "CH  69");
    EXPECT_EQ(panel.channelNumber, 69);
}

TEST_F(SessionTest, DigitsAreIgnoredOutsideTheTunerModesAndWhileTheMultiScreenViewIsOpen) {
    ViewerSession& s = start();
    setCompanions(false, true);
    characters("12");
    EXPECT_EQ(s.tvChannel(), 7);
    setCompanions(false, false);
    s.SetVideoMode(VideoMode::VIDEO);
    osd.shown.clear();
    characters("12");
    EXPECT_TRUE(osd.shown.empty());
    EXPECT_EQ(s.tvChannel(), 7);

    // The window's own digit keys, main row and numeric pad, unless the configuration sheet is open.
    s.SetVideoMode(VideoMode::TV);
    EXPECT_TRUE(s.onDigitKey(96 + 1));
    EXPECT_TRUE(s.onDigitKey('1'));
    EXPECT_EQ(s.tvChannel(), 11);
    s.setCompanions(CompanionWindows{.configSheetOpen = true});
    EXPECT_FALSE(s.onDigitKey('2'));
    EXPECT_FALSE(s.numericEntryActive());
}

TEST_F(SessionTest, WithListPositionsTheDisplayShowsPositionsAndATypedNumberIsNotTuned) {
    settings.countryCode = 86;
    ViewerSession& s = start();
    s.TuneChannel(9, true);
    EXPECT_EQ(osd.lastText(), "CH   3");
    EXPECT_EQ(panel.channelNumber, 3);
    s.TuneChannel(8, true);
    EXPECT_EQ(s.displayedNumber(), 0);

    characters("2");
    EXPECT_EQ(panel.channelNumber, 2);
    advanceMs(1000);
    EXPECT_EQ(s.tvChannel(), 8);
    EXPECT_EQ(osd.lastText(), "CH   2");
    EXPECT_EQ(panel.channelNumber, 0);  // back to what is on

    // Registering is not offered; unregistering names the position the channel had.
    s.TuneChannel(11, false);
    s.saveChannel();
    s.deleteChannel();
    EXPECT_EQ(osd.lastText(), "DELETE CH : 4");
    EXPECT_EQ(registered(ChannelBand::Broadcast), (std::vector<int>{6, 7, 9, 12}));
}

TEST_F(SessionTest, SavingRegistersInOrderAndOnlyOnce) {
    registerBroadcast({2, 7, 9});
    settings.tvChannel = 4;
    ViewerSession& s = start();
    s.saveChannel();
    EXPECT_EQ(registered(ChannelBand::Broadcast), (std::vector<int>{2, 4, 7, 9}));
    ASSERT_EQ(osd.shown.size(), 1u);
    EXPECT_EQ(osd.shown[0], (OsdText{"SAVE CH : 4", OsdAlign::Right, OsdEdge::Top, settings.osdColor, true, 10}));

    s.saveChannel();  // registered already: nothing, not even a display
    EXPECT_EQ(osd.shown.size(), 1u);
    EXPECT_EQ(model.registered().count(ChannelBand::Broadcast), 4);

    s.deleteChannel();
    EXPECT_EQ(registered(ChannelBand::Broadcast), (std::vector<int>{2, 7, 9}));
    EXPECT_EQ(model.registered().entry(ChannelBand::Broadcast, 3), 0);
    EXPECT_EQ(osd.lastText(), "DELETE CH : 4");
    s.deleteChannel();  // not registered any more
    EXPECT_EQ(osd.shown.size(), 2u);
}

TEST_F(SessionTest, SavingStopsAtTheBandsHighestChannel) {
    // A band of 125 cable channels has room for 125 entries.
    RegisteredChannels& r = model.registered();
    r.registerRange(ChannelBand::Cable, 1, 125);
    r.setEntry(ChannelBand::Cable, 124, 0);  // one gap at the end...
    r.setCount(ChannelBand::Cable, 124);
    settings.catvChannel = 125;
    settings.videoMode = VideoMode::CATV;
    ViewerSession& s = start();
    s.saveChannel();
    EXPECT_EQ(r.count(ChannelBand::Cable), 125);
    EXPECT_EQ(osd.lastText(), "SAVE CH : 125");

    // ...and none after it is filled: a channel outside the band is not registered.
    settings.catvChannel = 200;
    osd.shown.clear();
    s.saveChannel();
    EXPECT_EQ(r.count(ChannelBand::Cable), 125);
    EXPECT_TRUE(osd.shown.empty());
}

// Entries past the count are left from an earlier, longer list (a frequency table registers its
// whole range; a shorter range later leaves the rest behind). Saving must not bring them back.
TEST_F(SessionTest, SavingDoesNotReviveEntriesPastTheCount) {
    RegisteredChannels& r = model.registered();
    r.registerRange(ChannelBand::Cable, 1, 20);
    r.registerRange(ChannelBand::Cable, 1, 3);
    settings.videoMode = VideoMode::CATV;
    settings.catvChannel = 50;
    ViewerSession& s = start();
    s.saveChannel();
    EXPECT_EQ(registered(ChannelBand::Cable), (std::vector<int>{1, 2, 3, 50}));
}

// A store damaged by hand may hold an empty entry inside the count; saving fills that entry and
// keeps every registered channel after it.
TEST_F(SessionTest, SavingIntoAGapKeepsTheEntriesAfterIt) {
    registerBroadcast({6, 0, 9, 11});
    settings.tvChannel = 20;
    ViewerSession& s = start();
    s.saveChannel();
    EXPECT_EQ(registered(ChannelBand::Broadcast), (std::vector<int>{6, 9, 11, 20}));
}

}  // namespace
}  // namespace kelto::viewer::test
