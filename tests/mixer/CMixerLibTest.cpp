#include "mixer/CMixerLib.h"

#include "tests/mixer/MixerRig.h"

#include <gtest/gtest.h>

namespace kelto::mixer::test {
namespace {

using Values = std::vector<std::uint32_t>;

class CMixerLibTest : public ::testing::Test {
protected:
    // Binds the master output of a sound card whose master volume reads left, right.
    void bindMaster(std::uint32_t left, std::uint32_t right) {
        rig.buildSoundCard({left, right});
        ASSERT_TRUE(lib().Init(nullptr, CT::DstSpeakers, kNoSourceLine, 0));
        rig.mixer.clearWrites();
    }
    CMixerLib& lib() { return MixerLibs()[0]; }
    Values lastWrite() {
        auto writes = rig.mixer.writes();
        return writes.empty() ? Values{} : writes.back().values;
    }

    MixerRig rig;
};

TEST_F(CMixerLibTest, StereoLevelIsTheLouderChannelAndWritesKeepTheBalance) {
    bindMaster(0x8000, 0x4000);
    lib().SetHVSliderPos();
    EXPECT_EQ(lib().GetValue(0), 0x8000u);
    EXPECT_FLOAT_EQ(lib().GetBalance(), -0.5f);

    lib().SetFaderValue(0x4000);
    EXPECT_EQ(lastWrite(), (Values{0x4000, 0x2000}));
    EXPECT_EQ(rig.mixer.values(rig.masterVolume), (Values{0x4000, 0x2000}));

    // Leaning right: the right channel carries the level.
    rig.mixer.changeFromOutside(rig.masterVolume, {0x4000, 0x8000});
    lib().SetHVSliderPos();
    EXPECT_EQ(lib().GetValue(0), 0x8000u);
    EXPECT_FLOAT_EQ(lib().GetBalance(), 0.5f);
    lib().SetFaderValue(0x6000);
    EXPECT_EQ(lastWrite(), (Values{0x3000, 0x6000}));
}

TEST_F(CMixerLibTest, AValueAboveTheMaximumWritesTheMaximum) {
    bindMaster(0x100, 0x100);
    lib().SetHVSliderPos();
    lib().SetFaderValue(0x12345);
    EXPECT_EQ(lastWrite(), (Values{0xFFFF, 0xFFFF}));
    lib().SetFaderValue(0xFFFFFFFFu);
    EXPECT_EQ(rig.mixer.values(rig.masterVolume), (Values{0xFFFF, 0xFFFF}));
}

TEST_F(CMixerLibTest, ASilentLineKeepsItsBalance) {
    bindMaster(0x8000, 0x4000);
    lib().SetHVSliderPos();
    ASSERT_FLOAT_EQ(lib().GetBalance(), -0.5f);

    rig.mixer.changeFromOutside(rig.masterVolume, {0, 0});
    lib().SetHVSliderPos();
    EXPECT_EQ(lib().GetValue(0), 0u);
    EXPECT_FLOAT_EQ(lib().GetBalance(), -0.5f);

    // Turning it up again restores the old balance.
    lib().SetFaderValue(0x4000);
    EXPECT_EQ(lastWrite(), (Values{0x4000, 0x2000}));
}

TEST_F(CMixerLibTest, FaderModesReadTheirPosition) {
    bindMaster(0x8000, 0x4000);  // balance -0.5, step count 0xFFFF
    lib().SetFaderMode(FaderMode::Left);
    lib().SetHVSliderPos();
    EXPECT_EQ(lib().GetValue(0), 0x8000u);

    lib().SetFaderMode(FaderMode::Right);
    lib().SetHVSliderPos();
    EXPECT_EQ(lib().GetValue(0), 0x4000u);

    lib().SetFaderMode(FaderMode::Main);
    lib().SetHVSliderPos();
    EXPECT_EQ(lib().GetValue(0), 0x8000u);

    lib().SetFaderMode(FaderMode::Balance);
    lib().SetHVSliderPos();
    EXPECT_EQ(lib().GetValue(0), static_cast<std::uint32_t>(0.5 * 0xFFFF * 0.5));  // (balance + 1) × steps × 0.5

    // The balance position of a silent line is left as the control reads.
    rig.mixer.changeFromOutside(rig.masterVolume, {0, 0});
    lib().SetHVSliderPos();
    EXPECT_EQ(lib().GetValue(0), 0u);
    EXPECT_TRUE(rig.diagnostics.empty());
}

TEST_F(CMixerLibTest, FaderModesWriteTheirChannels) {
    bindMaster(0x8000, 0x4000);
    lib().SetFaderMode(FaderMode::Left);
    lib().SetHVSliderPos();  // buffer: 0x8000, 0x4000
    lib().SetFaderValue(0x1000);
    EXPECT_EQ(lastWrite(), (Values{0x1000, 0x4000}));

    lib().SetFaderMode(FaderMode::Right);
    lib().SetHVSliderPos();  // buffer: 0x4000, 0x4000
    lib().SetFaderValue(0x2000);
    EXPECT_EQ(lastWrite(), (Values{0x4000, 0x2000}));

    // Balance: the level (the louder of the values held) goes to one side, the other follows the position.
    rig.mixer.changeFromOutside(rig.masterVolume, {0x8000, 0x8000});
    lib().SetFaderMode(FaderMode::Left);
    lib().SetHVSliderPos();
    lib().SetFaderMode(FaderMode::Balance);
    lib().SetFaderValue(0xC000);  // right of the middle (range 0xFFFF, half 0x7FFF)
    EXPECT_EQ(lastWrite(), (Values{static_cast<std::uint32_t>((1.0 - double(0xC000) / 0xFFFF) * 2 * 0x8000), 0x8000}));
    rig.mixer.changeFromOutside(rig.masterVolume, {0x8000, 0x8000});
    lib().SetFaderMode(FaderMode::Left);
    lib().SetHVSliderPos();
    lib().SetFaderMode(FaderMode::Balance);
    lib().SetFaderValue(0x4000);  // left of the middle
    EXPECT_EQ(lastWrite(), (Values{0x8000, static_cast<std::uint32_t>(2.0 * 0x4000 * 0x8000 / 0xFFFF)}));
}

TEST_F(CMixerLibTest, AnUnknownFaderModeIsReportedAndWritesNothing) {
    bindMaster(0x8000, 0x4000);
    lib().SetFaderMode(static_cast<FaderMode>(7));
    lib().SetHVSliderPos();
    lib().SetFaderValue(0x1000);
    EXPECT_TRUE(rig.mixer.writes().empty());
    EXPECT_EQ(rig.diagnostics, (std::vector<Diagnostic>{
                                   {"CMixerLib::SetHVSliderPos", "Wrong sub-type for a fader control."},
                                   {"CMixerLib::SetFaderValue", "Wrong sub-type for a fader control."}}));
}

TEST_F(CMixerLibTest, MonoAndUniformControlsUseOneValue) {
    const auto speakers = rig.mixer.addDestination(CT::DstSpeakers, 2, "Speakers");
    const auto volume = rig.mixer.addControl(speakers, MixerRig::volume({0x5000, 0x5000}, 0xFFFF, pm::ControlFlag::Uniform));
    ASSERT_TRUE(lib().Init(nullptr, CT::DstSpeakers, kNoSourceLine, 0));
    lib().SetHVSliderPos();
    EXPECT_EQ(lib().GetValue(0), 0x5000u);
    for (FaderMode mode : {FaderMode::Right, FaderMode::Balance}) {
        // Modes that name the second channel never reach past the single value.
        lib().SetFaderMode(mode);
        lib().SetHVSliderPos();
        lib().SetFaderValue(0x7000);
    }
    const auto writes = rig.mixer.writes();
    ASSERT_EQ(writes.size(), 2u);
    EXPECT_EQ(writes[0].channelCount, 1u);
    EXPECT_EQ(writes[0].values, (Values{0x7000}));
    EXPECT_EQ(rig.mixer.values(volume).size(), 2u);
}

TEST_F(CMixerLibTest, MultipleItemControlsGetAValueForEveryChannelAndItem) {
    const auto speakers = rig.mixer.addDestination(CT::DstSpeakers, 2, "Speakers");
    auto setup = MixerRig::volume({1, 2, 3, 4, 5, 6}, 0xFFFF, pm::ControlFlag::Multiple);
    setup.itemCount = 3;
    rig.mixer.addControl(speakers, setup);
    ASSERT_TRUE(lib().Init(nullptr, CT::DstSpeakers, kNoSourceLine, 0));
    lib().SetHVSliderPos();
    EXPECT_EQ(lib().GetValue(0), 2u);
    EXPECT_EQ(lib().GetValue(5), 6u);
    EXPECT_EQ(lib().GetValue(6), 0u);  // beyond the buffer
}

TEST_F(CMixerLibTest, OnlySourceLinesWithAVolumeControlAreListed) {
    rig.buildSoundCard();
    ASSERT_TRUE(lib().Init(nullptr, CT::DstSpeakers, kNoSourceLine, 0));
    ASSERT_EQ(lib().GetLineCount(), 2);  // Wave and CD Audio; the microphone has a switch only
    MixerLineInfo info;
    ASSERT_TRUE(lib().GetLineInfo(1, info));
    EXPECT_EQ(info.componentType, CT::SrcCompactDisc);
    EXPECT_EQ(info.name, "CD Audio");
    EXPECT_EQ(info.shortName, "CD");
    EXPECT_EQ(info.typeName, "MIXERLINE_COMPONENTTYPE_SRC_COMPACTDISC");
    EXPECT_FALSE(lib().GetLineInfo(2, info));
    EXPECT_FALSE(lib().GetLineInfo(-1, info));
    EXPECT_EQ(lib().GetComponentType(), CT::DstSpeakers);

    // Line number 1 of the list is the CD line (source index 2).
    ASSERT_TRUE(lib().Init(nullptr, CT::DstSpeakers, CT::SrcCompactDisc, 1));
    EXPECT_EQ(lib().lineName(), "CD Audio");
    EXPECT_EQ(lib().GetComponentType(), CT::SrcCompactDisc);
    lib().SetFaderValue(0x1234);
    EXPECT_EQ(rig.mixer.values(rig.cdVolume), (Values{0x1234, 0x1234}));
    // The list-collecting handle is closed again; the volume and (absent) mute leave one open.
    EXPECT_EQ(rig.mixer.openHandleCount(), 1u);
}

TEST_F(CMixerLibTest, AtMostTwentySourceLinesAreOffered) {
    const auto speakers = rig.mixer.addDestination(CT::DstSpeakers, 2, "Speakers");
    rig.mixer.addControl(speakers, MixerRig::volume({0, 0}));
    for (int i = 0; i < 25; ++i) {
        const auto line = rig.mixer.addSource(0, CT::SrcLine, 2, "Line " + std::to_string(i));
        rig.mixer.addControl(line, MixerRig::volume({0, 0}));
    }
    ASSERT_TRUE(lib().Init(nullptr, CT::DstSpeakers, kNoSourceLine, 0));
    EXPECT_EQ(lib().GetLineCount(), 20);
    MixerLineInfo info;
    ASSERT_TRUE(lib().GetLineInfo(19, info));
    EXPECT_EQ(info.name, "Line 19");
}

// --- every failure of a binding, with its diagnostic; each leaves nothing open ---

class CMixerLibInitFailureTest : public CMixerLibTest {
protected:
    void expectFailure(std::uint32_t sourceType, int lineNumber, Diagnostic expected) {
        EXPECT_FALSE(lib().Init(nullptr, CT::DstSpeakers, sourceType, lineNumber));
        EXPECT_FALSE(lib().IsOpen());
        EXPECT_EQ(rig.mixer.openHandleCount(), 0u);
        ASSERT_FALSE(rig.diagnostics.empty());
        EXPECT_EQ(rig.diagnostics.back(), expected);
    }
};

TEST_F(CMixerLibInitFailureTest, NoMixerDevice) {
    rig.buildSoundCard();
    rig.mixer.setDeviceCount(0);
    expectFailure(kNoSourceLine, 0, {"CMixerBase::Init", "No mixer device present"});
}

TEST_F(CMixerLibInitFailureTest, TheMixerDoesNotOpen) {
    rig.buildSoundCard();
    rig.mixer.setOpenFails(true);
    expectFailure(kNoSourceLine, 0, {"CMixerBase::Init", "Could not open mixer device"});
}

TEST_F(CMixerLibInitFailureTest, NoSpeakerDestination) {
    const auto record = rig.mixer.addDestination(CT::DstWaveIn, 2, "Recording Control");
    rig.mixer.addControl(record, MixerRig::volume({0, 0}));
    expectFailure(kNoSourceLine, 0,
                  {"CMixerBase::Init", "Warning: the destination line \nMIXERLINE_COMPONENTTYPE_DST_SPEAKERS\nwas not found."});
}

TEST_F(CMixerLibInitFailureTest, NoSuchSourceLine) {
    rig.buildSoundCard();
    expectFailure(CT::SrcLine, 5,
                  {"CMixerBase::Init", "Warning: the source line \nMIXERLINE_COMPONENTTYPE_SRC_LINE\n not found.\n\n"
                                       "(Associated to Destination line \nMIXERLINE_COMPONENTTYPE_DST_SPEAKERS)"});
}

TEST_F(CMixerLibInitFailureTest, ALineWithoutControls) {
    rig.mixer.addDestination(CT::DstSpeakers, 2, "Speakers");
    expectFailure(kNoSourceLine, 0, {"CMixerBase::Init", "No controls available for this audio line: Speakers"});
}

TEST_F(CMixerLibInitFailureTest, ALineWithoutAVolumeControl) {
    const auto speakers = rig.mixer.addDestination(CT::DstSpeakers, 2, "Speakers");
    rig.mixer.addControl(speakers, MixerRig::mute());
    expectFailure(kNoSourceLine, 0,
                  {"CMixerBase::Init",
                   "Could not find specified mixer control. Associated Windows control will be disabled.\n"
                   "Control type: MIXERCONTROL_CONTROLTYPE_VOLUME,\n\n"
                   "Dest line type: MIXERLINE_COMPONENTTYPE_DST_SPEAKERS,\n"
                   "Src  line type: unknown (0x0000100B)\n"});
}

TEST_F(CMixerLibInitFailureTest, AControlTooLargeToHold) {
    const auto speakers = rig.mixer.addDestination(CT::DstSpeakers, 2, "Speakers");
    auto setup = MixerRig::volume({}, 0xFFFF, pm::ControlFlag::Multiple);
    setup.itemCount = 0x40000000;
    rig.mixer.addControl(speakers, setup);
    expectFailure(kNoSourceLine, 0, {"CMixerBase::InitMXDetails", "Memory allocation error."});
}

TEST_F(CMixerLibInitFailureTest, ALineWithoutChannelsHasNoValues) {
    const auto speakers = rig.mixer.addDestination(CT::DstSpeakers, 0, "Speakers");
    rig.mixer.addControl(speakers, MixerRig::volume({}));
    expectFailure(kNoSourceLine, 0, {"CMixerLib::Init", "m_Value NULL."});
}

TEST_F(CMixerLibInitFailureTest, AControlOfUnknownUnits) {
    const auto speakers = rig.mixer.addDestination(CT::DstSpeakers, 2, "Speakers");
    pm::InMemoryMixer::ControlSetup custom;
    custom.controlType = CtlT::Custom;
    rig.mixer.addControl(speakers, custom);
    CMixerBase base;
    EXPECT_FALSE(base.Init(CT::DstSpeakers, kNoSourceLine, CtlT::Custom, nullptr, 0));
    EXPECT_FALSE(base.IsOpen());
    EXPECT_EQ(rig.mixer.openHandleCount(), 0u);
    EXPECT_EQ(rig.diagnostics, (std::vector<Diagnostic>{{"CMixerBase::InitMXDetails", "Control uses unknown units."}}));
}

TEST_F(CMixerLibInitFailureTest, ALineNumberBeyondTheListNamesNoSourceLine) {
    rig.buildSoundCard();
    expectFailure(CT::SrcWaveOut, 2,  // the list holds two lines
                  {"CMixerBase::Init", "Warning: the source line \nMIXERLINE_COMPONENTTYPE_SRC_WAVEOUT\n not found.\n\n"
                                       "(Associated to Destination line \nMIXERLINE_COMPONENTTYPE_DST_SPEAKERS)"});
}

}  // namespace
}  // namespace kelto::mixer::test
