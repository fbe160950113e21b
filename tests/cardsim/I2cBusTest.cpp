// The I2C bus through the video driver library: hardware transfers, the bit-by-bit software
// probe that finds the tuner, and failing addresses.
#include "tests/cardsim/CardFixture.h"

namespace kelto::cardsim::test {
namespace {

class I2cBusTest : public CardFixture {
protected:
    // The tuner probe as the hardware-control library runs it: the read address bit by bit,
    // then the acknowledge clock, reading SDA up to ten times.
    bool probe(std::uint8_t writeAddress) {
        btvid.I2CInitSWMode(100000);
        btvid.I2CSWStart();
        const std::uint8_t readAddress = writeAddress + 1;
        for (int bit = 7; bit >= 0; --bit) {
            btvid.I2CSWSetSCL(0);
            btvid.I2CSWSetSDA((readAddress >> bit) & 1);
            btvid.I2CSWSetSCL(1);
        }
        btvid.I2CSWSetSCL(0);
        btvid.I2CSWSetSDA(1);
        btvid.I2CSWSetSCL(1);
        int sda = 1;
        for (int i = 0; i < 10 && sda != 0; ++i) sda = btvid.I2CSWReadSDA();
        btvid.I2CSWSetSCL(0);
        std::uint8_t scratch = 0;
        btvid.I2CSWRead(&scratch);
        btvid.I2CSWStop();
        return sda == 0;
    }
};

TEST_F(I2cBusTest, SoftwareProbeAnswersOnlyWhereTheTunerSits) {
    const struct {
        TunerKind kind;
        std::uint8_t address;
    } cases[] = {{TunerKind::Philips, 0xC0}, {TunerKind::Alps, 0xC2}, {TunerKind::LgAlps, 0xC6}, {TunerKind::None, 0}};
    for (const auto& c : cases) {
        buildCard({.tuner = c.kind, .soundDecoder = SoundDecoderKind::None});
        loadBtVid();
        for (std::uint8_t address : {0xC0, 0xC2, 0xC6})
            EXPECT_EQ(probe(address), address == c.address) << int(c.kind) << " at " << int(address);
        platform::freeLibrary(btvidModule);
        btvidModule = nullptr;
    }
}

TEST_F(I2cBusTest, SoftwareReadDeliversTheStatusByteAndWritesAreAcknowledged) {
    buildCard({.tuner = TunerKind::Philips}, {tvStation(55'250'000, "WKEL 2")});
    loadBtVid();
    tune(0xC0, 1616, 0xCEA0);
    clock.advanceMs(50);
    // Read transfer: address byte, then the chip shifts the status out bit by bit.
    btvid.I2CInitSWMode(100000);
    btvid.I2CSWStart();
    EXPECT_EQ(btvid.I2CSWWrite(0xC1), 0);
    std::uint8_t value = 0;
    btvid.I2CSWRead(&value);
    btvid.I2CSWStop();
    EXPECT_EQ(value, 0x40);  // locked, on the carrier

    // Write transfer of a divider and control word in one go.
    btvid.I2CSWStart();
    EXPECT_EQ(btvid.I2CSWWrite(0xC0), 0);
    for (std::uint8_t byte : {0x06, 0x51, 0xCE, 0xA0}) EXPECT_EQ(btvid.I2CSWWrite(byte), 0);
    btvid.I2CSWStop();
    EXPECT_EQ(lockCard()->tuner()->divider(), 1617);
    const auto log = i2cLog();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back().mode, I2cMode::Software);
    EXPECT_EQ(log.back().bytes, (std::vector<std::uint8_t>{0x06, 0x51, 0xCE, 0xA0}));

    // A write to an empty address is not acknowledged.
    btvid.I2CSWStart();
    EXPECT_EQ(btvid.I2CSWWrite(0xC6), 1);
    btvid.I2CSWStop();
}

TEST_F(I2cBusTest, HardwareTransfersReachOnlyTheirOwnAddressAndAreLogged) {
    buildCard({.tuner = TunerKind::Alps, .soundDecoder = SoundDecoderKind::None});
    loadBtVid();
    std::uint8_t value = 0;
    EXPECT_EQ(btvid.I2CHWRead(0xC2, &value), 0);
    EXPECT_EQ(btvid.I2CHWRead(0xC0, &value), 1);
    EXPECT_EQ(btvid.I2CGetLastError(), 1);
    EXPECT_EQ(btvid.I2CHWWrite3(0xC2, 0x06, 0x50), 0);
    EXPECT_EQ(btvid.I2CGetLastError(), 0);
    EXPECT_EQ(btvid.I2CHWWrite3(0xB0, 0x01, 0x08), 1);
    EXPECT_EQ(btvid.I2CHWRead(0xC2, nullptr), 1);

    const auto log = i2cLog();
    ASSERT_EQ(log.size(), 4u);
    EXPECT_TRUE(log[0].read);
    EXPECT_EQ(log[0].address, 0xC3);
    EXPECT_FALSE(log[1].acknowledged);
    EXPECT_EQ(log[2].bytes, (std::vector<std::uint8_t>{0x06, 0x50}));
    EXPECT_TRUE(log[2].acknowledged);
    EXPECT_FALSE(log[3].acknowledged);
}

TEST_F(I2cBusTest, InjectedFailuresSilenceAnAddressOrRefuseItsWrites) {
    buildCard({.tuner = TunerKind::Philips});
    loadBtVid();
    std::uint8_t value = 0;
    setI2cWritesFail(0xC0);
    EXPECT_EQ(btvid.I2CHWWrite3(0xC0, 0x06, 0x50), 1);
    EXPECT_EQ(btvid.I2CHWRead(0xC0, &value), 0);  // reads still answer
    EXPECT_NE(lockCard()->tuner()->divider(), 0x0650);

    setI2cAddressSilent(0xC0);
    EXPECT_EQ(btvid.I2CHWRead(0xC0, &value), 1);
    EXPECT_FALSE(probe(0xC0));

    clearFaults();
    EXPECT_EQ(btvid.I2CHWWrite3(0xC0, 0x06, 0x50), 0);
    EXPECT_EQ(lockCard()->tuner()->divider(), 0x0650);
}

}  // namespace
}  // namespace kelto::cardsim::test
