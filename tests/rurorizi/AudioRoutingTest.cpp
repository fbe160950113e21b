// How the video source, the chosen audio route, mute and the audio path work together on a Bt848
// (GPIO only), a Bt878 without RISC audio (GPIO and the register word) and a Bt878 with it (the
// audio command library).
#include "RuroriziFixture.h"

namespace kelto::rurorizi::test {
namespace {

constexpr std::uint32_t kExternalBit = 1u << 25;
constexpr std::uint32_t kSecondBit = 1u << 24;

class AudioRoutingTest : public RuroriziFixture {
protected:
    static std::uint32_t gpioAudio() { return gpio().data & 0xF; }
    static std::uint32_t outputsEnabled() { return gpio().outputEnable & 0xF; }
};

TEST_F(AudioRoutingTest, Bt848SourceRoutesAndMuteRemembersTheRoute) {
    disableRiscAudio();
    loadOver({.chip = ChipKind::Bt848});
    ASSERT_EQ(lib.SetTVParam(1, 5), 0);
    EXPECT_EQ(outputsEnabled(), 0xFu);
    EXPECT_EQ(gpioAudio(), 1u);
    EXPECT_EQ(heard(), AudioSource::Tuner);
    EXPECT_EQ(lib.GetTVParam(16), 1);

    EXPECT_EQ(lib.SetTVParam(16, 0), 0);
    EXPECT_EQ(heard(), AudioSource::Silent);
    EXPECT_EQ(lib.GetTVParam(16), 0);
    // Already muted: nothing is written (a failing write would show).
    setFunctionFails("SetGPDATABits");
    EXPECT_EQ(lib.SetTVParam(16, 0), 0);
    setFunctionFails("SetGPDATABits", false);

    // A source change while muted is remembered, not played, until the unmute.
    ASSERT_EQ(lib.SetTVParam(1, 0), 0);
    EXPECT_EQ(heard(), AudioSource::Silent);
    EXPECT_EQ(lib.SetTVParam(16, 1), 0);
    EXPECT_EQ(heard(), AudioSource::ExternalInput);
    EXPECT_EQ(lib.SetTVParam(16, 256), -3);
    EXPECT_EQ(lib.SetTVParam(16, -1), -3);

    setFunctionFails("SetGPDATABits");
    EXPECT_EQ(lib.SetTVParam(16, 0), -254);
    EXPECT_EQ(lib.SetTVParam(1, 5), -254);
    setFunctionFails("SetGPDATABits", false);
    setFunctionFails("GetGPDATABits");
    EXPECT_EQ(lib.GetTVParam(16), -254);
}

TEST_F(AudioRoutingTest, ChooseRouteThenStartPlaysTheChosenInput) {
    disableRiscAudio();
    loadOver({.chip = ChipKind::Bt848});
    const struct {
        int chosen;
        AudioSource heard;
        std::uint32_t registerBits;
    } routes[] = {{3, AudioSource::ExternalInput, kExternalBit}, {1, AudioSource::Tuner, 0},
                  {2, AudioSource::SecondInput, kSecondBit},     {0, AudioSource::Silent, kSecondBit},
                  {7, AudioSource::Silent, kSecondBit}};
    for (const auto& r : routes) {
        SCOPED_TRACE(r.chosen);
        // Without the audio command library the choice silences the card until the start, which
        // plays the chosen input (also on a Bt848, where silencing must not replace the choice).
        EXPECT_EQ(lib.SetAudioParam(1, r.chosen), 0);
        EXPECT_EQ(heard(), AudioSource::Silent);
        EXPECT_EQ(lib.SetAudioParam(2, 0), 0);
        EXPECT_EQ(heard(), r.heard);
        EXPECT_EQ(registerWord(0x10C) & (kExternalBit | kSecondBit), r.registerBits);
    }
    // The audio command library's own codes are not served without it.
    for (unsigned code : {4u, 5u, 6u}) EXPECT_EQ(lib.SetAudioParam(code, 1), 1);
}

TEST_F(AudioRoutingTest, StopReleasesTheOutputsAndRestoresTheRegisterWord) {
    disableRiscAudio();
    buildCard({.chip = ChipKind::Bt878, .riscAudio = false});
    setRegisterWord(0x10C, 0x11);
    ASSERT_TRUE(load());
    ASSERT_EQ(lib.SetTVParam(1, 0), 0);  // external input: bit 25 set
    EXPECT_EQ(registerWord(0x10C), 0x11 | kExternalBit);
    EXPECT_EQ(heard(), AudioSource::ExternalInput);
    EXPECT_EQ(lib.SetAudioParam(3, 0), 0);
    EXPECT_EQ(outputsEnabled(), 0u);
    EXPECT_EQ(registerWord(0x10C), 0x11u);
    EXPECT_EQ(heard(), AudioSource::Silent);

    // An output that cannot be released: reported, and the word keeps the route's bits.
    ASSERT_EQ(lib.SetAudioParam(2, 0), 0);
    EXPECT_EQ(registerWord(0x10C), 0x11 | kExternalBit);
    setFunctionFails("SetGPOEBit");
    EXPECT_EQ(lib.SetAudioParam(3, 0), -254);
    EXPECT_EQ(registerWord(0x10C), 0x11 | kExternalBit);
    EXPECT_EQ(lib.SetTVParam(1, 5), 0);
    EXPECT_EQ(lib.SetAudioParam(1, 0), -254);  // choosing silence stops the path, which fails
}

TEST_F(AudioRoutingTest, Bt878WithoutRiscMutesThroughTheRoute) {
    disableRiscAudio();
    loadOver({.chip = ChipKind::Bt878, .riscAudio = false});
    ASSERT_EQ(lib.SetTVParam(1, 5), 0);
    EXPECT_EQ(heard(), AudioSource::Tuner);
    EXPECT_EQ(lib.SetTVParam(16, 0), 0);
    EXPECT_EQ(heard(), AudioSource::Silent);
    EXPECT_EQ(lib.GetTVParam(16), 0);
    // The mute holds across a source change.
    ASSERT_EQ(lib.SetTVParam(1, 1), 0);
    EXPECT_EQ(heard(), AudioSource::Silent);
    EXPECT_EQ(lib.SetTVParam(16, 200), 0);
    EXPECT_EQ(heard(), AudioSource::ExternalInput);
    EXPECT_EQ(lib.GetTVParam(16), 1);

    // Radio mute: 1 mutes, anything else in 0..255 unmutes.
    EXPECT_EQ(lib.SetRadioParam(6, 1), 0);
    EXPECT_EQ(heard(), AudioSource::Silent);
    EXPECT_EQ(lib.GetRadioParam(6), 0);
    EXPECT_EQ(lib.SetRadioParam(6, 0), 0);
    EXPECT_EQ(heard(), AudioSource::ExternalInput);
    EXPECT_EQ(lib.SetRadioParam(6, 1), 0);
    EXPECT_EQ(lib.SetRadioParam(6, 2), 0);
    EXPECT_EQ(lib.GetRadioParam(6), 1);
    EXPECT_EQ(lib.SetRadioParam(6, 256), -3);
}

TEST_F(AudioRoutingTest, Bt878WithRiscAudioUsesTheAudioCommands) {
    loadOver({.chip = ChipKind::Bt878, .riscAudio = true});
    DigitalAudioPath* path = lockCard()->digitalAudio();
    ASSERT_EQ(lib.SetTVParam(1, 5), 0);
    EXPECT_TRUE(path->running());
    EXPECT_EQ(gpioAudio(), 3u);  // the analogue multiplexer stays silent; the path plays
    EXPECT_EQ(heard(), AudioSource::Tuner);

    EXPECT_EQ(lib.SetTVParam(16, 0), 0);
    EXPECT_TRUE(path->muted());
    EXPECT_EQ(heard(), AudioSource::Silent);
    EXPECT_EQ(lib.GetTVParam(16), 0);
    // A source change keeps the mute.
    ASSERT_EQ(lib.SetTVParam(1, 0), 0);
    EXPECT_TRUE(path->muted());
    EXPECT_EQ(lib.SetTVParam(16, 1), 0);
    EXPECT_EQ(heard(), AudioSource::ExternalInput);

    EXPECT_EQ(lib.SetAudioParam(1, 2), 0);
    EXPECT_EQ(path->route(), 2u);
    EXPECT_EQ(lib.SetAudioParam(1, 9), 1);  // the path refuses route 9
    const std::pair<unsigned, std::uint32_t> settings[] = {{4, 33}, {5, 80}, {6, 81}};
    for (const auto& [code, command] : settings) {
        EXPECT_EQ(lib.SetAudioParam(code, int(code) * 10), 0);
        EXPECT_EQ(path->settings[command], code * 10);
    }
    EXPECT_EQ(lib.SetAudioParam(3, 0), 0);
    EXPECT_FALSE(path->running());
    EXPECT_EQ(lib.SetAudioParam(2, 0), 0);
    EXPECT_TRUE(path->running());

    setAudioCommandFails(68);
    EXPECT_EQ(lib.SetTVParam(16, 0), -254);
    EXPECT_EQ(lib.SetRadioParam(6, 1), -1);
    setAudioCommandFails(68, false);
    setAudioCommandFails(69);
    EXPECT_EQ(lib.SetTVParam(1, 5), -254);
    setAudioCommandFails(112);
    setAudioCommandFails(113);
    EXPECT_EQ(lib.SetAudioParam(2, 0), 1);
    EXPECT_EQ(lib.SetAudioParam(3, 0), 1);
}

}  // namespace
}  // namespace kelto::rurorizi::test
