// The sound decoder set-up for each decoder type and country group as it goes over the bus, the
// TV sound format record, and the type 1 decoder's status byte.
#include "RuroriziFixture.h"

#include <algorithm>
#include <cstring>

namespace kelto::rurorizi::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

const Bytes kType1GroupA = {0x00, 0xC4, 0x08, 0x72, 0x95, 0x55, 0x77, 0xA1, 0x01, 0x00, 0x00, 0x04,
                            0x04, 0x04, 0x20, 0x08, 0x14, 0x50, 0xBB, 0x80, 0x00, 0x17, 0x01, 0x00};
const Bytes kType1GroupB = {0x00, 0xC4, 0x08, 0x72, 0x95, 0x55, 0x79, 0xEA, 0xAA, 0xC8, 0x00, 0x00,
                            0x04, 0x04, 0x00, 0x03, 0x14, 0x50, 0xBB, 0x81, 0x10, 0x17, 0x01, 0x00};
const Bytes kType1GroupC = {0x00, 0xC4, 0x08, 0x7D, 0x00, 0x00, 0x88, 0x8A, 0xAB, 0xC8, 0x00, 0x00,
                            0x04, 0x04, 0x00, 0x08, 0x14, 0x50, 0xBB, 0x81, 0x10, 0x17, 0x01, 0x00};
const Bytes kType2GroupA10 = {0x00, 0x20, 0x00, 0x03, 0x00, 0x83, 0x20, 0x10};
const Bytes kType2GroupB10 = {0x00, 0x20, 0x00, 0x08, 0x00, 0x83, 0x00, 0x50};
const Bytes kType2GroupC10 = {0x00, 0x20, 0x00, 0x0A, 0x00, 0x83, 0x00, 0x50};
const Bytes kType2GroupA12 = {0x00, 0x00, 0x73, 0x00, 0x00, 0x08, 0x00, 0x20, 0x00, 0x0B,
                              0x00, 0x20, 0x00, 0x0C, 0x00, 0x20, 0x00, 0x0E, 0x7F, 0x01};
const Bytes kType2GroupBC12 = {0x00, 0x00, 0x73, 0x00, 0x00, 0x08, 0x01, 0x20, 0x00, 0x0B,
                               0x01, 0x20, 0x00, 0x0F, 0x04, 0x00, 0x00, 0x10, 0x7F, 0x00};

Bytes prefixed(std::uint8_t first, const Bytes& rest) {
    Bytes bytes(rest.size() + 1, first);
    std::copy(rest.begin(), rest.end(), bytes.begin() + 1);
    return bytes;
}

class SoundDecoderTest : public RuroriziFixture {
protected:
    // Runs the set-up for a country through GetTVParam 17 and returns the TV record.
    SoundFormatInfo setUpFor(int country) {
        EXPECT_EQ(lib.SetTVParam(19, country), 0);
        clearI2cLog();
        const int address = lib.GetTVParam(17);
        EXPECT_GT(address, 0);
        return *reinterpret_cast<const SoundFormatInfo*>(static_cast<std::intptr_t>(address));
    }
};

TEST_F(SoundDecoderTest, Type1IsProgrammedRegisterByRegisterForEachGroup) {
    loadOver({.chip = ChipKind::Bt848, .soundDecoder = SoundDecoderKind::Type1});
    const struct {
        int country;
        const Bytes* registers;
    } groups[] = {{49, &kType1GroupA}, {61, &kType1GroupA}, {32, &kType1GroupB}, {358, &kType1GroupB},
                  {44, &kType1GroupC}, {852, &kType1GroupC}};
    for (const auto& g : groups) {
        SCOPED_TRACE(g.country);
        const SoundFormatInfo record = setUpFor(g.country);
        std::vector<Bytes> expected = {{0x01, 0x08}};  // detection, followed by a one-byte read
        for (std::uint8_t reg = 0; reg < 24; ++reg) expected.push_back({reg, (*g.registers)[reg]});
        EXPECT_EQ(writesTo(0xB0), expected);
        EXPECT_EQ(readsFrom(0xB0), 1);
        const SoundFormatInfo programmed{36, 0, 0, 1, 1, 0, 32000, 16, 2};
        EXPECT_EQ(std::memcmp(&record, &programmed, sizeof record), 0);
        EXPECT_EQ(lockCard()->soundDecoder1()->registers()[3], (*g.registers)[3]);
    }
    // A country in no group: detected, nothing programmed, status -1.
    const SoundFormatInfo unknown = setUpFor(33);
    EXPECT_EQ(writesTo(0xB0).size(), 1u);
    EXPECT_EQ(unknown.status, -1);
}

TEST_F(SoundDecoderTest, Type2GetsTwoBlocksAfterItsReset) {
    loadOver({.chip = ChipKind::Bt878, .soundDecoder = SoundDecoderKind::Type2});
    const struct {
        int country;
        const Bytes* demodulator;
        const Bytes* processor;
    } groups[] = {{39, &kType2GroupA10, &kType2GroupA12}, {46, &kType2GroupB10, &kType2GroupBC12},
                  {353, &kType2GroupC10, &kType2GroupBC12}};
    for (const auto& g : groups) {
        SCOPED_TRACE(g.country);
        const SoundFormatInfo record = setUpFor(g.country);
        const std::vector<Bytes> expected = {{0x00, 0x80, 0x00}, {0x00, 0x00, 0x00}, prefixed(0x10, *g.demodulator),
                                             prefixed(0x12, *g.processor)};
        EXPECT_EQ(writesTo(0x80), expected);
        EXPECT_EQ(record.status, 0);
        EXPECT_EQ(record.decoderKind, 1);
        EXPECT_EQ(record.sampleRateHz, 32000);
    }
    EXPECT_EQ(lib.GetTVParam(18), 1);  // no status byte from a type 2 decoder
}

TEST_F(SoundDecoderTest, WithoutADecoderTheStatusSaysWhetherOneWasNeeded) {
    loadOver({.chip = ChipKind::Bt848, .soundDecoder = SoundDecoderKind::None});
    for (int country : {1, 2, 52, 55, 81}) EXPECT_EQ(setUpFor(country).status, -2) << country;
    for (int country : {49, 44, 82}) EXPECT_EQ(setUpFor(country).status, -1) << country;
    EXPECT_TRUE(writesTo(0xB0).size() == 1 && writesTo(0x80).size() == 1);  // the two probes only
    EXPECT_EQ(lib.GetTVParam(18), 1);
}

TEST_F(SoundDecoderTest, CountryChangeAndRadioRecordMarkTheTvRecordNotApplicable) {
    loadOver({.chip = ChipKind::Bt878, .soundDecoder = SoundDecoderKind::Type1});
    const SoundFormatInfo* record = nullptr;
    {
        const int address = lib.GetTVParam(17);
        ASSERT_GT(address, 0);
        record = reinterpret_cast<const SoundFormatInfo*>(static_cast<std::intptr_t>(address));
    }
    EXPECT_EQ(record->status, -1);  // country 1: no group
    ASSERT_EQ(lib.SetTVParam(19, 44), 0);
    EXPECT_EQ(record->status, -2);  // programmed, then marked
    EXPECT_EQ(record->flag2, 1);
    ASSERT_GT(lib.GetTVParam(17), 0);
    EXPECT_EQ(record->status, 0);
    ASSERT_EQ(lib.SetRadioParam(5, 45), 0);
    EXPECT_EQ(record->status, -2);
    ASSERT_GT(lib.GetRadioParam(3), 0);
    EXPECT_EQ(record->status, -2);

    // A decoder that stops answering leaves the record not set up.
    setI2cAddressSilent(0xB0);
    ASSERT_GT(lib.GetTVParam(17), 0);
    EXPECT_EQ(record->status, -1);
}

TEST_F(SoundDecoderTest, RefusedCopyCodesStillSetUpTheDecoderAndMarkTheTvRecord) {
    if constexpr (sizeof(void*) <= sizeof(int)) GTEST_SKIP() << "an int carries a whole address here";
    loadOver({.chip = ChipKind::Bt878, .soundDecoder = SoundDecoderKind::Type1});
    const int address = lib.GetTVParam(17);
    ASSERT_GT(address, 0);
    const auto* record = reinterpret_cast<const SoundFormatInfo*>(static_cast<std::intptr_t>(address));
    SoundFormatInfo buffer{};
    const int cut = static_cast<int>(reinterpret_cast<std::uintptr_t>(&buffer));

    // Country 44 marks the record not applicable; SetTVParam 17 programs the decoder again (the
    // record becomes set up) although the caller's buffer is refused.
    ASSERT_EQ(lib.SetTVParam(19, 44), 0);
    ASSERT_EQ(record->status, -2);
    clearI2cLog();
    EXPECT_EQ(lib.SetTVParam(17, cut), -3);
    EXPECT_EQ(record->status, 0);
    EXPECT_EQ(writesTo(0xB0).size(), 1 + kType1GroupC.size());  // detection, then every register

    // SetRadioParam 3 marks the TV record not applicable, buffer or not.
    ASSERT_GT(lib.GetTVParam(17), 0);
    ASSERT_EQ(record->status, 0);
    EXPECT_EQ(lib.SetRadioParam(3, cut), -3);
    EXPECT_EQ(record->status, -2);
    EXPECT_EQ(buffer.size, 0);
}

TEST_F(SoundDecoderTest, StatusByteFollowsTheReceivedSound) {
    const struct {
        SoundMode mode;
        int status;
    } modes[] = {{SoundMode::Mono, 0x01}, {SoundMode::Stereo, 0x11}, {SoundMode::Bilingual, 0x21}};
    for (const auto& m : modes) {
        loadOver({.chip = ChipKind::Bt848, .soundDecoder = SoundDecoderKind::Type1},
                 {tvStation(kUsChannel2Hz, "WKEL 2", m.mode)});
        EXPECT_EQ(lib.GetTVParam(18), 1);  // no set-up yet: the type is not known
        ASSERT_GT(lib.GetTVParam(17), 0);
        ASSERT_EQ(lib.SetTVParam(1, 5), 0);
        ASSERT_EQ(lib.SetTVParam(2, 2), 0);
        EXPECT_EQ(lib.GetTVParam(18), m.status);
        setFunctionFails("I2CHWMultiRead");
        EXPECT_EQ(lib.GetTVParam(18), 0);
        unload();
    }
}

}  // namespace
}  // namespace kelto::rurorizi::test
