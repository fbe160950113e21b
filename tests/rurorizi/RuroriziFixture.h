#pragma once
// Shared set-up of the library tests: a virtual clock, a card built in code, registry values and
// the locale's country code set before the load (the library does its set-up when it is loaded),
// then the real "RURORIZI.DLL" loaded through the platform loader with its six functions bound.
// Every case unloads it at the end.
#include "cardsim/CardTestHook.h"
#include "platform/Clock.h"
#include "platform/DynamicLibrary.h"
#include "platform/Registry.h"
#include "platform/SystemInfo.h"
#include "rurorizi/RuroriziApi.h"
#include "tests/support/TestRoot.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kelto::rurorizi::test {

using namespace kelto::cardsim;
using namespace kelto::cardsim::test;

struct RuroriziFunctions {
    decltype(&::SetTVParam) SetTVParam = nullptr;
    decltype(&::GetTVParam) GetTVParam = nullptr;
    decltype(&::SetAudioParam) SetAudioParam = nullptr;
    decltype(&::SetRadioParam) SetRadioParam = nullptr;
    decltype(&::GetRadioParam) GetRadioParam = nullptr;
    decltype(&::GetTVErrString) GetTVErrString = nullptr;
};

inline constexpr const char* kAudioKey = "SOFTWARE\\Brooktree\\Audio";
inline constexpr const char* kRiscEnabledKey = "SOFTWARE\\Brooktree\\Audio\\RiscEnabled";
inline constexpr const char* kTunerTypeKey = "SOFTWARE\\Brooktree\\Audio\\TunerType";
inline constexpr const char* kFmThresholdKey = "SOFTWARE\\Brooktree\\Video\\FMThreshold";

// Vision carriers of the plans' channels: US channel 2 (oscillator divider 1616) and European
// channel 21 (vision carrier entry 7540).
inline constexpr std::uint32_t kUsChannel2Hz = 55'250'000;
inline constexpr std::uint32_t kEuropeanChannel21Hz = 471'250'000;

class RuroriziFixture : public ::testing::Test {
protected:
    void SetUp() override {
        platform::setClock(&clock);
        platform::setUserLocaleCountryOverride(std::string("1"));
    }

    void TearDown() override {
        unload();
        clearFaults();
        platform::clearUserLocaleCountryOverride();
        platform::setClock(nullptr);
    }

    static platform::Registry& registry() { return platform::Registry::instance(); }
    static void setMachineString(const char* key, std::string_view text) {
        ASSERT_TRUE(registry().setString(platform::RegHive::LocalMachine, key, "", text));
    }
    static std::optional<std::string> machineString(const char* key) {
        return registry().queryString(platform::RegHive::LocalMachine, key, "");
    }
    // The viewer writes "0" before it loads the library, so the GPIO audio path is used.
    static void disableRiscAudio() { setMachineString(kRiscEnabledKey, "0"); }

    // Loads the library; false (with the reason recorded) when the load fails.
    bool load() {
        module = platform::loadLibrary("RURORIZI.DLL");
        if (!module) return false;
        lib.SetTVParam = platform::getProc<decltype(&::SetTVParam)>(module, "SetTVParam");
        lib.GetTVParam = platform::getProc<decltype(&::GetTVParam)>(module, "GetTVParam");
        lib.SetAudioParam = platform::getProc<decltype(&::SetAudioParam)>(module, "SetAudioParam");
        lib.SetRadioParam = platform::getProc<decltype(&::SetRadioParam)>(module, "SetRadioParam");
        lib.GetRadioParam = platform::getProc<decltype(&::GetRadioParam)>(module, "GetRadioParam");
        lib.GetTVErrString = platform::getProc<decltype(&::GetTVErrString)>(module, "GetTVErrString");
        return lib.SetTVParam && lib.GetTVParam && lib.SetAudioParam && lib.SetRadioParam && lib.GetRadioParam &&
               lib.GetTVErrString;
    }

    // Builds the card, loads the library and fails the test when the load fails.
    void loadOver(const CardConfig& config, std::vector<Station> stations = {}) {
        buildCard(config, std::move(stations));
        ASSERT_TRUE(load()) << platform::lastLoadError();
    }

    void unload() {
        if (module) platform::freeLibrary(module);
        module = nullptr;
    }

    // Whether a driver library is still mapped into the process.
    static bool libraryMapped(const char* fileName) {
        const std::string path = (kelto::test::binaryFolder() / fileName).string();
        void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
        if (handle) ::dlclose(handle);
        return handle != nullptr;
    }

    // The hardware-mode writes to one address, as they went over the bus.
    static std::vector<std::vector<std::uint8_t>> writesTo(std::uint8_t address) {
        std::vector<std::vector<std::uint8_t>> writes;
        for (const I2cTransfer& t : i2cLog())
            if (t.mode == I2cMode::Hardware && !t.read && t.address == address) writes.push_back(t.bytes);
        return writes;
    }
    static int readsFrom(std::uint8_t address) {
        int count = 0;
        for (const I2cTransfer& t : i2cLog())
            if (t.mode == I2cMode::Hardware && t.read && t.address == std::uint8_t(address | 1)) ++count;
        return count;
    }
    static std::vector<std::uint8_t> word(std::uint16_t value) {
        return {std::uint8_t(value >> 8), std::uint8_t(value & 0xFF)};
    }

    static AudioSource heard() { return lockCard()->audioSource(); }

    platform::VirtualClock clock{std::chrono::system_clock::time_point(std::chrono::hours(24 * 365 * 30))};
    platform::ModuleHandle module = nullptr;
    RuroriziFunctions lib;
};

}  // namespace kelto::rurorizi::test
