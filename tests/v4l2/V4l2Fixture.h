#pragma once
// Shared set-up of the V4L2 driver set's tests: an in-memory bttv card at /dev/video0 as the
// process's card, the V4L2 driver set installed (so "BtVid_32.dll" loads the V4L2 video driver
// library), the country file in the Windows folder, a virtual clock and the locale's country.
#include "v4l2/DriverChoice.h"
#include "v4l2/FakeBttvDevice.h"
#include "v4l2/V4l2Card.h"

#include "drivers/BtVidApi.h"
#include "platform/Clock.h"
#include "platform/DynamicLibrary.h"
#include "platform/Paths.h"
#include "platform/SystemInfo.h"

#include <gtest/gtest.h>

#include <string>

namespace kelto::v4l2::test {

// Vision carriers of a few channels of the United States plan.
inline constexpr std::uint32_t kUsChannel2Hz = 55'250'000;
inline constexpr std::uint32_t kUsChannel7Hz = 175'250'000;
inline constexpr std::uint32_t kUsChannel33Hz = 585'250'000;

// A card file's choice of the V4L2 set.
inline V4l2CardConfig v4l2Config(std::uint8_t tunerAddress = 0xC0, std::optional<std::uint32_t> ifHz = std::nullopt,
                                 std::string radioDevice = {}) {
    V4l2CardConfig config;
    config.useV4l2 = true;
    config.radioDevicePath = std::move(radioDevice);
    config.tunerAddress = tunerAddress;
    config.intermediateFrequencyHz = ifHz;
    return config;
}

class V4l2Fixture : public ::testing::Test {
protected:
    void SetUp() override {
        platform::setClock(&clock);
        platform::setUserLocaleCountryOverride(std::string("1"));
        platform::prepareInstallRoot();
        installV4l2DriverSet();
        useFakeCard();
    }

    void TearDown() override {
        unloadDriver();
        kelto::v4l2::test::resetCard();
        removeV4l2DriverSet();
        platform::clearUserLocaleCountryOverride();
        platform::setClock(nullptr);
    }

    // Makes the fake card the process's card again (after changing how it is made).
    void useFakeCard(V4l2CardConfig config = v4l2Config()) { kelto::v4l2::test::useCard(config, opener); }


    // Loads "BtVid_32.dll" as the program does; fails the test when it does not come.
    void loadDriver() {
        driver = platform::loadLibrary("BtVid_32.dll");
        ASSERT_NE(driver, nullptr) << platform::lastLoadError();
    }
    void unloadDriver() {
        if (driver) platform::freeLibrary(driver);
        driver = nullptr;
    }
    template <typename Function>
    Function fn(const char* name) {
        auto f = platform::getProc<Function>(driver, name);
        EXPECT_NE(f, nullptr) << name;
        return f;
    }

    // The divider a tuner is sent for a vision carrier (intermediate frequency 45.75 MHz).
    static std::uint16_t usDivider(std::uint32_t carrierHz) { return std::uint16_t((carrierHz + 45'750'000ull) * 16 / 1'000'000); }

    platform::VirtualClock clock{std::chrono::system_clock::time_point(std::chrono::hours(24 * 365 * 30))};
    FakeBttvCard card;
    FakeBttvCard radioCard = [] {
        FakeBttvCard made;
        made.radio = true;
        made.path = "/dev/radio0";
        return made;
    }();
    FakeDeviceOpener opener{{&card, &radioCard}};
    platform::ModuleHandle driver = nullptr;
};

}  // namespace kelto::v4l2::test
