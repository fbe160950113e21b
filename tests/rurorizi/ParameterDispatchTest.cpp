// The numbered-parameter entry points: codes outside the tables and empty slots, the video source
// and picture codes, the country code, the message lookup and the codes that carry addresses.
#include "RuroriziFixture.h"

#include "resources/StringTable.h"

#include <cstdlib>
#include <cstring>

namespace kelto::rurorizi::test {
namespace {

class ParameterDispatchTest : public RuroriziFixture {};

TEST_F(ParameterDispatchTest, CodesOutsideTheTablesAndEmptySlotsAreAnsweredWithoutACall) {
    loadOver({.chip = ChipKind::Bt878});
    for (unsigned code : {0u, 7u, 8u, 15u, 20u, 21u, 0xFFFFFFFFu}) {
        EXPECT_EQ(lib.SetTVParam(code, 1), -2) << code;
        if (code != 20) {
            EXPECT_EQ(lib.GetTVParam(code), -2) << code;
        }
    }
    for (unsigned code : {0u, 2u, 7u, 0x80000000u}) EXPECT_EQ(lib.SetRadioParam(code, 1), -2) << code;
    for (unsigned code : {0u, 7u}) EXPECT_EQ(lib.GetRadioParam(code), -2) << code;
    for (unsigned code : {0u, 7u, 0xFFFFFFFFu}) EXPECT_EQ(lib.SetAudioParam(code, 1), 1) << code;
    EXPECT_EQ(lib.SetTVParam(18, 12345), 0);
    EXPECT_EQ(lib.SetRadioParam(4, 12345), 0);
    EXPECT_EQ(lib.GetRadioParam(4), 1);

    // A Bt848 answers every radio call with -257 before looking at the code.
    unload();
    loadOver({.chip = ChipKind::Bt848});
    EXPECT_EQ(lib.SetRadioParam(7, 0), -257);
    EXPECT_EQ(lib.SetRadioParam(6, 1), -257);
    EXPECT_EQ(lib.GetRadioParam(3), -257);
    EXPECT_EQ(lib.SetTVParam(21, 0), -2);
}

TEST_F(ParameterDispatchTest, VideoSourceSelectsTheDecoderInputAndReadsBack) {
    loadOver({.chip = ChipKind::Bt848});
    const struct {
        int source;
        VideoInput input;
        int readBack;
    } sources[] = {{0, VideoInput::Composite, 0}, {1, VideoInput::SVideo, 1}, {2, VideoInput::Composite, 2},
                   {4, VideoInput::Tuner, 4},     {5, VideoInput::Tuner, 5}};
    for (const auto& s : sources) {
        EXPECT_EQ(lib.SetTVParam(1, s.source), 0) << s.source;
        EXPECT_EQ(lockCard()->video().input(), s.input);
        EXPECT_EQ(lib.GetTVParam(1), s.readBack);
    }
    // Refused values leave the source as it was.
    for (int bad : {3, 6, -1}) EXPECT_EQ(lib.SetTVParam(1, bad), -3);
    EXPECT_EQ(lib.GetTVParam(1), 5);
    setFunctionFails("Bt848SetVideoSource");
    EXPECT_EQ(lib.SetTVParam(1, 0), -253);
    EXPECT_EQ(lib.GetTVParam(1), 5);
    setFunctionFails("Bt848SetVideoSource", false);

    // The decoder switched behind the library's back: composite with a remembered tuner source
    // reads as S-Video, the tuner input without one as a failure.
    setFunctionFails("Bt848GetVideoSource");
    EXPECT_EQ(lib.GetTVParam(1), -253);
    setFunctionFails("Bt848GetVideoSource", false);
    lockCard()->video().selectInput(3);
    EXPECT_EQ(lib.GetTVParam(1), 1);
    ASSERT_EQ(lib.SetTVParam(1, 0), 0);
    lockCard()->video().selectInput(2);
    EXPECT_EQ(lib.GetTVParam(1), -253);
}

TEST_F(ParameterDispatchTest, PictureControlsTakeByteValues) {
    loadOver({.chip = ChipKind::Bt878});
    const struct {
        unsigned code;
        const char* setter;
        int PictureControls::*field;
    } controls[] = {{3, "Bt848SetBrightness", &PictureControls::brightness},
                    {4, "Bt848SetContrast", &PictureControls::contrast},
                    {5, "Bt848SetHue", &PictureControls::hue},
                    {6, "Bt848SetSaturation", &PictureControls::saturation}};
    for (const auto& c : controls) {
        SCOPED_TRACE(c.setter);
        EXPECT_EQ(lib.SetTVParam(c.code, 255), 0);
        EXPECT_EQ(lockCard()->video().controls.*c.field, 255);
        EXPECT_EQ(lib.GetTVParam(c.code), 255);
        EXPECT_EQ(lib.SetTVParam(c.code, 0), 0);
        EXPECT_EQ(lib.GetTVParam(c.code), 0);
        EXPECT_EQ(lib.SetTVParam(c.code, 256), -3);
        EXPECT_EQ(lib.SetTVParam(c.code, -1), -3);
        setFunctionFails(c.setter);
        EXPECT_EQ(lib.SetTVParam(c.code, 10), -253);
        EXPECT_EQ(lib.GetTVParam(c.code), 0);
    }
}

TEST_F(ParameterDispatchTest, CountryCodeComesFromTheLocaleUntilSet) {
    platform::setUserLocaleCountryOverride(std::string("82"));
    loadOver({.chip = ChipKind::Bt878, .soundDecoder = SoundDecoderKind::None});
    EXPECT_EQ(lib.GetTVParam(19), 82);
    EXPECT_EQ(lib.SetTVParam(19, 49), 0);
    EXPECT_EQ(lib.GetTVParam(19), 49);
    EXPECT_EQ(lib.GetRadioParam(5), 49);
    EXPECT_EQ(lib.SetRadioParam(5, 44), 0);
    EXPECT_EQ(lib.GetTVParam(19), 44);

    // 0 asks the system again at the next use; a failing query gives 1.
    platform::setUserLocaleCountryOverride(std::string("358"));
    EXPECT_EQ(lib.SetTVParam(19, 0), 0);
    EXPECT_EQ(lib.GetTVParam(19), 358);
    platform::setUserLocaleCountryOverride(std::nullopt);
    EXPECT_EQ(lib.SetTVParam(19, 0), 0);
    EXPECT_EQ(lib.GetTVParam(19), 1);
}

TEST_F(ParameterDispatchTest, MessagesByTheLowSixteenBitsOfTheCode) {
    loadOver({.chip = ChipKind::Bt848});
    const char* tunerError = lib.GetTVErrString(unsigned(-255));
    ASSERT_NE(tunerError, nullptr);
    EXPECT_STREQ(tunerError, "Brooktree Video Rurorizi Error: Tuner I2C Error.");
    EXPECT_EQ(lib.GetTVErrString(65281), tunerError);  // the same static buffer, refilled
    EXPECT_STREQ(lib.GetTVErrString(65281), "Brooktree Video Rurorizi Error: Tuner I2C Error.");
    EXPECT_STREQ(lib.GetTVErrString(unsigned(-254)), "Brooktree Video Rurorizi Error: Audio Error.");
    EXPECT_STREQ(lib.GetTVErrString(unsigned(-253)),
                 "Brooktree Video Rurorizi Error: Unable to communicate with BtVid.dll.");
    EXPECT_STREQ(lib.GetTVErrString(0x1234FF04u), "Brooktree Video Rurorizi Error: No audio device handle.");
    for (unsigned code : {1u, 0u, 157u, 65280u, 65285u, unsigned(-2), unsigned(-256), unsigned(-257)})
        EXPECT_EQ(lib.GetTVErrString(code), nullptr) << code;

    // In the user's language.
    ::setenv("LANGUAGE", "ja", 1);
    const char* japanese = lib.GetTVErrString(unsigned(-255));
    ::unsetenv("LANGUAGE");
    ASSERT_NE(japanese, nullptr);
    EXPECT_EQ(std::string(japanese), findString(UiLanguage::Japanese, 65281).value());
}

TEST_F(ParameterDispatchTest, AddressCodesNeverUseATruncatedPointer) {
    loadOver({.chip = ChipKind::Bt878, .soundDecoder = SoundDecoderKind::Type1},
             {tvStation(kUsChannel2Hz, "WKEL 2", SoundMode::Stereo)});
    ASSERT_EQ(lib.SetTVParam(1, 5), 0);
    ASSERT_EQ(lib.SetTVParam(2, 2), 0);

    // The records and the channel text come back as addresses that fit in the int.
    const int tvAddress = lib.GetTVParam(17);
    ASSERT_GT(tvAddress, 0);
    const auto* tv = reinterpret_cast<const SoundFormatInfo*>(static_cast<std::intptr_t>(tvAddress));
    EXPECT_EQ(tv->size, 36);
    EXPECT_EQ(tv->status, -1);  // country 1 has no sound group
    const int textAddress = lib.GetTVParam(20);
    ASSERT_GT(textAddress, 0);
    EXPECT_STREQ(reinterpret_cast<const char*>(static_cast<std::intptr_t>(textAddress)), "2");
    const int radioAddress = lib.GetRadioParam(3);
    ASSERT_GT(radioAddress, 0);
    const auto* radio = reinterpret_cast<const SoundFormatInfo*>(static_cast<std::intptr_t>(radioAddress));
    const SoundFormatInfo initial{36, -1, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(std::memcmp(radio, &initial, sizeof initial), 0);
    EXPECT_EQ(tv->status, -2);  // handing out the radio record marks the TV record not applicable

    if constexpr (sizeof(void*) > sizeof(int)) {
        // A caller's buffer address cannot travel in an int: refused, the buffer stays untouched
        // (the side effects that need no buffer are SoundDecoderTest's).
        SoundFormatInfo buffer{};
        const int cut = static_cast<int>(reinterpret_cast<std::uintptr_t>(&buffer));
        EXPECT_EQ(lib.SetTVParam(17, cut), -3);
        EXPECT_EQ(lib.SetRadioParam(3, cut), -3);
        EXPECT_EQ(buffer.size, 0);
    }
    // Off the tuner there is no channel text.
    ASSERT_EQ(lib.SetTVParam(1, 0), 0);
    EXPECT_EQ(lib.GetTVParam(20), -5);
}

}  // namespace
}  // namespace kelto::rurorizi::test
