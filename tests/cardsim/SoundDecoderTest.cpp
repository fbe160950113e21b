// The two sound decoders as the hardware-control library finds and programs them.
#include "tests/cardsim/CardFixture.h"

namespace kelto::cardsim::test {
namespace {

class SoundDecoderTest : public CardFixture {
protected:
    bool detectType1() {
        std::uint8_t byte = 0;
        return btvid.I2CHWWrite3(0xB0, 0x01, 0x08) == 0 && btvid.I2CHWRead(0xB0, &byte) == 0;
    }
    bool detectType2() {
        const std::uint8_t reset[2] = {0x80, 0x00}, run[2] = {0x00, 0x00};
        return btvid.I2CHWMultiWrite(0x80, 0x00, reset, 2) == 0 && btvid.I2CHWMultiWrite(0x80, 0x00, run, 2) == 0;
    }
    // The status byte as the library decodes the first two status bytes.
    static int decode(std::uint8_t b0, std::uint8_t b1) {
        if ((b0 & 0x08) && (b1 & 0x08)) return ((b1 & 0x02) ? 0x51 : 0x41) + ((b1 & 0x01) ? 0x20 : 0);
        return ((b0 & 0x10) ? 0x81 : 0x01) + ((b0 & 0x01) ? 0x10 : 0) + ((b0 & 0x02) ? 0x20 : 0);
    }
};

TEST_F(SoundDecoderTest, EachDecoderAnswersOnlyItsOwnDetection) {
    const struct {
        SoundDecoderKind kind;
        bool type1, type2;
    } cases[] = {{SoundDecoderKind::None, false, false}, {SoundDecoderKind::Type1, true, false}, {SoundDecoderKind::Type2, false, true}};
    for (const auto& c : cases) {
        buildCard({.soundDecoder = c.kind});
        if (!btvidModule) loadBtVid();
        EXPECT_EQ(detectType1(), c.type1) << int(c.kind);
        EXPECT_EQ(detectType2(), c.type2) << int(c.kind);
    }
}

TEST_F(SoundDecoderTest, Type1KeepsItsRegistersAndReportsTheReceivedSound) {
    buildCard({.tuner = TunerKind::Philips, .soundDecoder = SoundDecoderKind::Type1},
              {tvStation(55'250'000, "MONO"), tvStation(67'250'000, "STEREO", SoundMode::Stereo),
               tvStation(83'250'000, "DUAL", SoundMode::Bilingual)});
    loadBtVid();
    const std::uint8_t groupC[24] = {0x00, 0xC4, 0x08, 0x7D, 0x00, 0x00, 0x88, 0x8A, 0xAB, 0xC8, 0x00, 0x00,
                                     0x04, 0x04, 0x00, 0x08, 0x14, 0x50, 0xBB, 0x81, 0x10, 0x17, 0x01, 0x00};
    for (int reg = 0; reg < 24; ++reg) ASSERT_EQ(btvid.I2CHWWrite3(0xB0, reg, groupC[reg]), 0);
    EXPECT_EQ(btvid.I2CHWWrite3(0xB0, 24, 0), 1);  // past the last register: refused
    {
        CardLock card;
        for (int reg = 0; reg < 24; ++reg) EXPECT_EQ(card->soundDecoder1()->registers()[std::size_t(reg)], groupC[reg]);
    }

    const struct {
        double mhz;
        int decoded;
    } cases[] = {{55.25, 0x01}, {67.25, 0x11}, {83.25, 0x21}, {300.0, 0x01}};
    for (const auto& c : cases) {
        tune(0xC0, dividerFor(45.75, c.mhz));
        clock.advanceMs(PllTuner::kTvSettleMs);
        std::uint8_t bytes[3] = {0xFF, 0xFF, 0xFF};
        ASSERT_EQ(btvid.I2CHWMultiRead(0xB0, 0, bytes, 3), 0);
        EXPECT_EQ(decode(bytes[0], bytes[1]), c.decoded) << c.mhz;
    }
    // Another input than the tuner carries no broadcast sound.
    ASSERT_EQ(btvid.Bt848SetVideoSource(3), 0);
    tune(0xC0, dividerFor(45.75, 67.25));
    clock.advanceMs(PllTuner::kTvSettleMs);
    std::uint8_t bytes[3];
    ASSERT_EQ(btvid.I2CHWMultiRead(0xB0, 0, bytes, 3), 0);
    EXPECT_EQ(decode(bytes[0], bytes[1]), 0x01);
}

TEST_F(SoundDecoderTest, Type2RecordsTheBlocksPerSubaddress) {
    buildCard({.soundDecoder = SoundDecoderKind::Type2});
    loadBtVid();
    const std::vector<std::uint8_t> demodulator{0x00, 0x20, 0x00, 0x03, 0x00, 0x83, 0x20, 0x10};
    std::vector<std::uint8_t> processor(20, 0x7F);
    ASSERT_TRUE(detectType2());
    ASSERT_EQ(btvid.I2CHWMultiWrite(0x80, 0x10, demodulator.data(), 8), 0);
    ASSERT_EQ(btvid.I2CHWMultiWrite(0x80, 0x12, processor.data(), 20), 0);
    CardLock card;
    EXPECT_EQ(card->soundDecoder2()->lastBlock(0x10), demodulator);
    EXPECT_EQ(card->soundDecoder2()->lastBlock(0x12), processor);
    EXPECT_EQ(card->soundDecoder2()->lastBlock(0x00), (std::vector<std::uint8_t>{0x00, 0x00}));
    EXPECT_EQ(card->soundDecoder2()->history().size(), 4u);
}

TEST_F(SoundDecoderTest, FailingWritesMakeDetectionFail) {
    buildCard({.soundDecoder = SoundDecoderKind::Type1});
    loadBtVid();
    setI2cWritesFail(0xB0);
    EXPECT_FALSE(detectType1());
    setI2cWritesFail(0xB0, false);
    setFunctionFails("I2CHWRead");
    EXPECT_FALSE(detectType1());
}

}  // namespace
}  // namespace kelto::cardsim::test
