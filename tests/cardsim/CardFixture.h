#pragma once
// Shared set-up of the card tests: a virtual clock, a card built in code, and the video driver
// library loaded by its Windows name with its functions bound by name, as its users bind them.
#include "drivers/BtAudApi.h"
#include "drivers/BtVidApi.h"
#include "cardsim/CardTestHook.h"
#include "platform/Clock.h"
#include "platform/DynamicLibrary.h"

#include <gtest/gtest.h>

namespace kelto::cardsim::test {

#define KELTO_BTVID_FUNCTIONS(X)                                                                                       \
    X(Bt848SetVideoSource) X(Bt848GetVideoSource) X(Bt848SetBrightness) X(Bt848GetBrightness) X(Bt848SetContrast)     \
    X(Bt848SetHue) X(Bt848SetSaturation) X(Bt848Pause) X(Bt848Continue) X(Bt848PreChannelChange)                     \
    X(Bt848ChannelChanged) X(Bt848SetCCFileName) X(Bt848GetCCFileName) X(SetGPOEBit) X(SetGPDATABits)               \
    X(GetGPDATABits) X(SetGPIE) X(GPIOIsInitOK) X(SetGPIOMODE) X(I2CIsInitOK) X(I2CInitHWMode) X(I2CHWRead)           \
    X(I2CHWWrite2) X(I2CHWWrite3) X(I2CHWMultiWrite) X(I2CHWMultiRead) X(IsBt878Family) X(I2CInitSWMode) X(I2CSWStart)  \
    X(I2CSWStop) X(I2CSWRead) X(I2CSWWrite) X(I2CSWSetSCL) X(I2CSWSetSDA) X(I2CSWReadSDA) X(I2CGetLastError)           \
    X(ReadDecoder) X(WriteDecoder)

struct BtVid {
#define KELTO_DECLARE(name) decltype(&::name) name = nullptr;
    KELTO_BTVID_FUNCTIONS(KELTO_DECLARE)
#undef KELTO_DECLARE
};

class CardFixture : public ::testing::Test {
protected:
    void SetUp() override { platform::setClock(&clock); }
    void TearDown() override {
        clearFaults();
        if (btvidModule) platform::freeLibrary(btvidModule);
        platform::setClock(nullptr);
    }

    // Loads "BtVid_32.dll" and binds the functions used by the tests; fails the test if any is missing.
    const BtVid& loadBtVid() {
        btvidModule = platform::loadLibrary("BtVid_32.dll");
        EXPECT_NE(btvidModule, nullptr) << platform::lastLoadError();
#define KELTO_BIND(name)                                                                                               \
    btvid.name = platform::getProc<decltype(&::name)>(btvidModule, #name);                                            \
    EXPECT_NE(btvid.name, nullptr) << #name;
        KELTO_BTVID_FUNCTIONS(KELTO_BIND)
#undef KELTO_BIND
        return btvid;
    }

    // Tunes the tuner at `address` to a divider with a control word, as the channel code does.
    void tune(std::uint8_t address, std::uint16_t divider, std::uint16_t control = 0xCE90) {
        ASSERT_EQ(btvid.I2CHWWrite3(address, divider >> 8, divider & 0xFF), 0);
        ASSERT_EQ(btvid.I2CHWWrite3(address, control >> 8, control & 0xFF), 0);
    }
    std::uint8_t status(std::uint8_t address) {
        std::uint8_t value = 0xFF;
        EXPECT_EQ(btvid.I2CHWRead(address, &value), 0);
        return value;
    }

    platform::VirtualClock clock{std::chrono::system_clock::time_point(std::chrono::hours(24 * 365 * 30))};
    platform::ModuleHandle btvidModule = nullptr;
    BtVid btvid;
};

// The divider the channel code computes for a vision carrier: trunc((IF + MHz) x 16 + fine).
inline std::uint16_t dividerFor(double intermediateMHz, double channelMHz, int fine = 0) {
    return std::uint16_t((intermediateMHz + channelMHz) * 16.0 + fine);
}

}  // namespace kelto::cardsim::test
