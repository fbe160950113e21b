// Mute and the volume steps over the in-memory mixer and the card, the mixer's change messages,
// the remote control's picture adjustment, and where characters and remote messages go.
#include "SessionRig.h"

#include "platform/WindowMessageIds.h"

namespace kelto::viewer::test {
namespace {

using Values = std::vector<std::uint32_t>;
using Texts = std::vector<std::string>;

TEST_F(SessionTest, VolumeStepsEndAtTheMixersLimits) {
    ViewerSession& s = start();
    EXPECT_EQ(s.volume().unitsPerStep(), 0xFFFFu / 16);
    EXPECT_EQ(panel.volumeStep, 16);

    s.volumeUp();  // at 16 already: nothing at all
    EXPECT_TRUE(osd.shown.empty());
    EXPECT_TRUE(rig.mixer.writes().empty());

    s.SetVolumeStep(20);
    EXPECT_EQ(rig.mixer.values(rig.masterVolume), (Values{0xFFFF, 0xFFFF}));
    ASSERT_EQ(osd.shown.size(), 1u);
    EXPECT_EQ(osd.shown[0], (OsdText{"VOL 16 : IIIIIIIIIIIIIIII", OsdAlign::Left, OsdEdge::Bottom,
                                     settings.osdColor, true, 10}));

    s.volumeDown();
    EXPECT_EQ(rig.mixer.values(rig.masterVolume), (Values{15 * 4095, 15 * 4095}));
    EXPECT_EQ(osd.lastText(), "VOL 15 : IIIIIIIIIIIIIII");
    EXPECT_EQ(panel.volumeStep, 15);

    s.SetVolumeStep(-3);
    EXPECT_EQ(s.volumeStep(), 0);
    EXPECT_EQ(rig.mixer.values(rig.masterVolume), (Values{0, 0}));
    EXPECT_EQ(osd.lastText(), "VOL  0 : ");
    osd.shown.clear();
    s.volumeDown();
    EXPECT_TRUE(osd.shown.empty());
}

TEST_F(SessionTest, MuteSwitchesMixerAndCardAndAVolumeStepEndsIt) {
    ViewerSession& s = start();
    EXPECT_EQ(cardsim::lockCard()->audioSource(), cardsim::AudioSource::Tuner);
    s.muteToggle();
    EXPECT_TRUE(s.muted());
    EXPECT_TRUE(panel.muted);
    EXPECT_EQ(rig.mixer.values(rig.masterMute), (Values{1, 1}));
    EXPECT_EQ(cardsim::lockCard()->audioSource(), cardsim::AudioSource::Silent);
    EXPECT_EQ(osd.lastText(), "MUTE ON");

    s.SetVolumeStep(10);
    EXPECT_FALSE(s.muted());
    EXPECT_EQ(rig.mixer.values(rig.masterMute), (Values{0, 0}));
    EXPECT_EQ(cardsim::lockCard()->audioSource(), cardsim::AudioSource::Tuner);
    EXPECT_EQ(osd.texts(), (Texts{"MUTE ON", "MUTE OFF", "VOL 10 : IIIIIIIIII"}));
}

TEST_F(SessionTest, WithoutAMixerMuteAndVolumeChangeOnlyTheViewer) {
    ViewerSession& s = start(false);
    s.muteToggle();
    s.volumeDown();
    EXPECT_FALSE(s.muted());
    EXPECT_EQ(s.volumeStep(), 15);
    EXPECT_TRUE(rig.mixer.writes().empty());
    EXPECT_EQ(cardsim::lockCard()->audioSource(), cardsim::AudioSource::Tuner);
    EXPECT_EQ(osd.texts(), (Texts{"MUTE ON", "MUTE OFF", "VOL 15 : IIIIIIIIIIIIIII"}));
}

// A line whose whole range is smaller than sixteen units still gets steps of one unit.
TEST_F(SessionTest, ALineWithATinyRangeStillHasVolumeSteps) {
    const auto line = rig.mixer.addSource(0, mixer::test::CT::SrcLine, 2, "Line In", "Line");
    const auto lineVolume = rig.mixer.addControl(line, mixer::test::MixerRig::volume({5, 5}, 10));
    settings.volumeLine = 3;  // master, Wave, CD Audio, Line In
    ViewerSession& s = start();
    EXPECT_EQ(s.volume().unitsPerStep(), 1u);
    rig.mixer.changeFromOutside(lineVolume, {7, 7});
    s.onMixerMessage(kMsgMixerControlChange, false);
    EXPECT_EQ(s.volumeStep(), 7);
    s.SetVolumeStep(16);
    EXPECT_EQ(rig.mixer.values(lineVolume), (Values{10, 10}));
}

TEST_F(SessionTest, ChangesMadeByOtherProgramsAreAdoptedWhileTheViewerIsInactive) {
    ViewerSession& s = start();
    rig.mixer.changeFromOutside(rig.masterVolume, {12 * 4095, 12 * 4095});
    s.onMixerMessage(kMsgMixerControlChange, true);  // the viewer is the active window
    EXPECT_EQ(s.volumeStep(), 16);
    s.onMixerMessage(kMsgMixerControlChange, false);
    EXPECT_EQ(s.volumeStep(), 12);
    EXPECT_EQ(osd.lastText(), "VOL 12 : IIIIIIIIIIII");

    rig.mixer.changeFromOutside(rig.masterMute, {1});
    s.onMixerMessage(kMsgMixerLineChange, false);
    EXPECT_TRUE(s.muted());
    EXPECT_TRUE(panel.muted);
    EXPECT_EQ(osd.lastText(), "MUTE ON");
    osd.shown.clear();
    s.onMixerMessage(kMsgMixerLineChange, false);  // no difference: nothing shown
    s.onMixerMessage(kMsgMixerControlChange, false);
    EXPECT_TRUE(osd.shown.empty());
}

TEST_F(SessionTest, PictureAdjustStepsItemsAndValuesAndStoresEachChange) {
    store.writeInt("user", "s_screenflag", 1);
    store.writeInt("user", "s_hue", 127);
    store.writeInt("user", "s_saturation", 0);
    ViewerSession& s = start();
    EXPECT_TRUE(s.onRemoteMessage(kMsgRemotePictureAdjust));
    EXPECT_TRUE(s.pictureAdjustActive());
    EXPECT_EQ(osd.shown.back(), (OsdText{"BRIGHTNESS  64 : IIIIIIII", OsdAlign::Left, OsdEdge::Bottom,
                                         settings.osdColor, true, 10}));

    s.onCharacter(39);
    EXPECT_EQ(osd.lastText(), "BRIGHTNESS  65 : IIIIIIII");
    EXPECT_EQ(store.readInt("user", "s_brightness", 0), 65);
    EXPECT_EQ(cardsim::lockCard()->video().controls.brightness, 130);

    s.onCharacter(38);
    EXPECT_EQ(osd.lastText(), "CONTRAST  64 : IIIIIIII");
    s.onCharacter(38);
    s.onCharacter(39);  // hue at the top stays there
    EXPECT_EQ(osd.lastText(), "HUE 127 : IIIIIIIIIIIIIII");
    EXPECT_EQ(cardsim::lockCard()->video().controls.hue, 254);
    s.onCharacter(38);
    s.onCharacter(37);  // saturation at the bottom stays there
    EXPECT_EQ(osd.lastText(), "SATURATION   0 : ");
    s.onCharacter(38);  // after saturation comes brightness
    EXPECT_EQ(s.pictureItem(), PictureItem::Brightness);
    s.onCharacter(40);  // and before it saturation
    EXPECT_EQ(s.pictureItem(), PictureItem::Saturation);
    EXPECT_EQ(s.volumeStep(), 16);  // the arrows no longer change volume or channel
    EXPECT_EQ(s.tvChannel(), 7);

    // Off again: the volume is shown; the multi-screen view does not let it switch.
    s.onRemoteMessage(kMsgRemotePictureAdjust);
    EXPECT_FALSE(s.pictureAdjustActive());
    EXPECT_EQ(osd.lastText(), "VOL 16 : IIIIIIIIIIIIIIII");
    setCompanions(false, true);
    s.onRemoteMessage(kMsgRemotePictureAdjust);
    EXPECT_FALSE(s.pictureAdjustActive());
}

TEST_F(SessionTest, CharactersGoToTheKeypadWhileItIsOpenAndNowhereUnderTheMultiScreenView) {
    ViewerSession& s = start();
    setCompanions(true, false);
    characters("5");
    for (std::uint32_t code : {37u, 38u, 39u, 40u}) s.onCharacter(code);
    using P = RecordingKeypad::Passed;
    const std::uint32_t ch = platform::WM_CHAR;
    EXPECT_EQ(keypad.passed, (std::vector<P>{{ch, '5'}, {ch, 37}, {ch, 38}, {ch, 39}, {ch, 40}}));
    EXPECT_TRUE(osd.shown.empty());
    EXPECT_FALSE(s.numericEntryActive());

    setCompanions(false, true);
    for (std::uint32_t code : {37u, 38u, 39u, 40u}) s.onCharacter(code);
    EXPECT_TRUE(osd.shown.empty());
    EXPECT_EQ(s.volumeStep(), 16);
    EXPECT_EQ(s.tvChannel(), 7);

    setCompanions(false, false);
    s.onCharacter(38);
    EXPECT_EQ(s.tvChannel(), 9);
    s.onCharacter(40);
    EXPECT_EQ(s.tvChannel(), 7);
    s.onCharacter(37);
    EXPECT_EQ(s.volumeStep(), 15);
    s.onCharacter(39);
    EXPECT_EQ(s.volumeStep(), 16);
}

TEST_F(SessionTest, RemoteMuteAndModeMessagesRespectTheOpenCompanions) {
    ViewerSession& s = start();
    s.onRemoteMessage(kMsgRemoteMute);
    EXPECT_TRUE(s.muted());
    setCompanions(true, false);
    s.onRemoteMessage(kMsgRemoteMute);
    s.onRemoteMessage(kMsgRemoteNextMode);
    EXPECT_TRUE(s.muted());
    EXPECT_EQ(s.videoMode(), VideoMode::TV);
    EXPECT_EQ(keypad.passed, (std::vector<RecordingKeypad::Passed>{{kMsgRemoteMute, 0}}));
    setCompanions(false, true);
    s.onRemoteMessage(kMsgRemoteMute);
    EXPECT_TRUE(s.muted());
    s.setCompanions(CompanionWindows{.captureSheetOpen = true});
    s.onRemoteMessage(kMsgRemoteNextMode);
    EXPECT_EQ(s.videoMode(), VideoMode::TV);
    s.setCompanions({});
    s.onRemoteMessage(kMsgRemoteNextMode);
    EXPECT_EQ(s.videoMode(), VideoMode::CATV);
    EXPECT_FALSE(s.onRemoteMessage(0x444));  // the still capture is the window's
}

}  // namespace
}  // namespace kelto::viewer::test
