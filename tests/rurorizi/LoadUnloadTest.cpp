// Loading and unloading the library over the simulated card: the tuner probe and its registry
// value, the RISC audio switch, each step that makes the load fail (and releases what it took),
// and an unload that leaves the card silent.
#include "RuroriziFixture.h"

namespace kelto::rurorizi::test {
namespace {

class LoadUnloadTest : public RuroriziFixture {};

TEST_F(LoadUnloadTest, ProbeFindsEachTunerKindAndNamesItInTheRegistry) {
    const struct {
        TunerKind kind;
        std::uint8_t address;
        const char* name;
    } tuners[] = {{TunerKind::Philips, 0xC0, "Philips"}, {TunerKind::Alps, 0xC2, "Alps"}, {TunerKind::LgAlps, 0xC6, "LGAlps"}};
    for (const auto& tuner : tuners) {
        SCOPED_TRACE(tuner.name);
        registry().deleteKey(platform::RegHive::LocalMachine, kTunerTypeKey);
        loadOver({.chip = ChipKind::Bt848, .tuner = tuner.kind}, {tvStation(kUsChannel2Hz, "WKEL 2")});
        EXPECT_EQ(machineString(kTunerTypeKey), tuner.name);

        // The probe went over the software bus to the read address, and the chip answered.
        bool probed = false;
        for (const I2cTransfer& t : i2cLog())
            if (t.mode == I2cMode::Software && t.address == std::uint8_t(tuner.address | 1)) probed = t.acknowledged;
        EXPECT_TRUE(probed);

        // The tuner object talks to the probed address.
        clearI2cLog();
        ASSERT_EQ(lib.SetTVParam(1, 5), 0);
        EXPECT_EQ(lib.SetTVParam(2, 2), 0);
        EXPECT_FALSE(writesTo(tuner.address).empty());
        unload();
    }
}

TEST_F(LoadUnloadTest, WithoutATunerTheLibraryAssumesAlpsAndStoresNothing) {
    loadOver({.chip = ChipKind::Bt878, .tuner = TunerKind::None});
    EXPECT_EQ(machineString(kTunerTypeKey), std::nullopt);
    ASSERT_EQ(lib.SetTVParam(1, 5), 0);
    EXPECT_EQ(lib.SetTVParam(2, 2), -255);
    ASSERT_FALSE(writesTo(0xC2).empty());
    EXPECT_EQ(writesTo(0xC2).front(), word(1616));
    EXPECT_EQ(lib.GetRadioParam(2), 0);  // an Alps tuner reports no FM level
}

TEST_F(LoadUnloadTest, RiscEnabledDecidesWhetherTheAudioCommandLibraryIsBound) {
    const struct {
        std::optional<const char*> value;
        bool bound;
    } cases[] = {{std::nullopt, true}, {"1", true}, {"", true}, {"0", false}, {"0 off", false}, {"x0", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value.value_or("(absent)"));
        registry().deleteKey(platform::RegHive::LocalMachine, kRiscEnabledKey);
        if (c.value) setMachineString(kRiscEnabledKey, *c.value);
        loadOver({.chip = ChipKind::Bt878, .riscAudio = true});
        EXPECT_EQ(libraryMapped("libbtaud.so"), c.bound);
        // Settings reach the audio command library only when it is bound.
        EXPECT_EQ(lib.SetAudioParam(4, 9), c.bound ? 0 : 1);
        unload();
        EXPECT_FALSE(libraryMapped("libbtaud.so"));
    }
    // A value too long for the library's 256-character buffer cannot be read: enabled.
    setMachineString(kRiscEnabledKey, "0" + std::string(255, ' '));
    loadOver({.chip = ChipKind::Bt878, .riscAudio = true});
    EXPECT_TRUE(libraryMapped("libbtaud.so"));
}

TEST_F(LoadUnloadTest, ABt848NeverLoadsTheAudioCommandLibraryAndHasNoRadio) {
    loadOver({.chip = ChipKind::Bt848});
    EXPECT_FALSE(libraryMapped("libbtaud.so"));
    EXPECT_EQ(lib.SetRadioParam(1, 1000), -257);
    EXPECT_EQ(lib.SetRadioParam(7, 0), -257);
    EXPECT_EQ(lib.GetRadioParam(0), -257);
}

TEST_F(LoadUnloadTest, EachFailingStepFailsTheLoadAndReleasesTheDrivers) {
    struct Step {
        const char* what;
        ChipKind chip;
        void (*breakIt)();
    };
    const Step steps[] = {
        {"video driver library does not load", ChipKind::Bt848, [] { setLibraryLoadFails("BtVid_32.dll"); }},
        {"I2C not ready", ChipKind::Bt848, [] { setFunctionFails("I2CIsInitOK"); }},
        {"I2CIsInitOK missing", ChipKind::Bt878, [] { hideExport("BtVid_32.dll", "I2CIsInitOK"); }},
        {"GPIO not ready", ChipKind::Bt878, [] { setFunctionFails("GPIOIsInitOK"); }},
        {"video device cannot be opened", ChipKind::Bt848, [] { setDeviceUnopenable("\\\\.\\BT848"); }},
        {"video device answers nothing", ChipKind::Bt848, [] { setDeviceSilent("\\\\.\\BT848"); }},
        {"audio device cannot be opened", ChipKind::Bt878, [] { setDeviceUnopenable("\\\\.\\BtPCIAud.vxd"); }},
        {"audio command library does not load", ChipKind::Bt878, [] { setLibraryLoadFails("BtAud.dll"); }},
        {"ProcessCommand missing", ChipKind::Bt878, [] { hideExport("BtAud.dll", "ProcessCommand"); }},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        buildCard({.chip = step.chip, .riscAudio = true});
        step.breakIt();
        EXPECT_FALSE(load());
        EXPECT_EQ(module, nullptr);
        EXPECT_FALSE(libraryMapped("libbtvid_32.so"));
        EXPECT_FALSE(libraryMapped("libbtaud.so"));
        clearFaults();
        // Nothing was left half set up: the next load works.
        EXPECT_TRUE(load()) << platform::lastLoadError();
        unload();
    }
}

TEST_F(LoadUnloadTest, TheVideoDeviceServesABt848AndTheAudioDeviceABt878) {
    buildCard({.chip = ChipKind::Bt878});
    setDeviceUnopenable("\\\\.\\BT848");
    EXPECT_TRUE(load()) << platform::lastLoadError();
    unload();
    buildCard({.chip = ChipKind::Bt848});
    setDeviceUnopenable("\\\\.\\BtPCIAud.vxd");
    EXPECT_TRUE(load()) << platform::lastLoadError();
}

TEST_F(LoadUnloadTest, MissingDriverFunctionsAnswerAsFailingCalls) {
    buildCard({.chip = ChipKind::Bt878}, {tvStation(kUsChannel2Hz, "WKEL 2")});
    disableRiscAudio();
    for (const char* name : {"Bt848SetBrightness", "Bt848GetContrast", "I2CHWWrite3", "SetGPIOMODE", "IsBt878Family"})
        hideExport("BtVid_32.dll", name);
    ASSERT_TRUE(load()) << platform::lastLoadError();
    EXPECT_EQ(lib.SetTVParam(3, 100), -253);
    EXPECT_EQ(lib.GetTVParam(4), -253);
    EXPECT_EQ(lib.SetTVParam(4, 100), 0);
    ASSERT_EQ(lib.SetTVParam(1, 5), 0);
    EXPECT_EQ(lib.SetTVParam(2, 2), -255);  // no way to write to the tuner
    // Without IsBt878Family the card counts as a Bt848: no radio.
    EXPECT_EQ(lib.GetRadioParam(1), -257);
}

TEST_F(LoadUnloadTest, UnloadLeavesTheCardSilent) {
    const struct {
        const char* what;
        CardConfig card;
        bool risc;
    } cards[] = {{"Bt848", {.chip = ChipKind::Bt848}, false},
                 {"Bt878 without RISC audio", {.chip = ChipKind::Bt878, .riscAudio = false}, false},
                 {"Bt878 with RISC audio", {.chip = ChipKind::Bt878, .riscAudio = true}, true}};
    for (const auto& c : cards) {
        SCOPED_TRACE(c.what);
        registry().deleteKey(platform::RegHive::LocalMachine, kRiscEnabledKey);
        if (!c.risc) disableRiscAudio();
        buildCard(c.card, {tvStation(kUsChannel2Hz, "WKEL 2")});
        constexpr std::uint32_t kWordAtLoad = 0x0000'0011 | (1u << 7);
        setRegisterWord(0x10C, kWordAtLoad);
        ASSERT_TRUE(load()) << platform::lastLoadError();
        ASSERT_EQ(lib.SetTVParam(1, 5), 0);
        ASSERT_EQ(lib.SetAudioParam(2, 0), 0);
        ASSERT_EQ(lib.SetTVParam(2, 2), 0);
        ASSERT_EQ(heard(), AudioSource::Tuner);
        unload();
        EXPECT_EQ(heard(), AudioSource::Silent);
        EXPECT_EQ(gpio().data & 3, 3u);
        if (c.risc) {
            EXPECT_FALSE(lockCard()->digitalAudio()->running());
        } else {
            EXPECT_EQ(registerWord(0x10C), kWordAtLoad);
        }
        EXPECT_FALSE(libraryMapped("libbtvid_32.so"));
        EXPECT_FALSE(libraryMapped("libbtaud.so"));
    }
}

TEST_F(LoadUnloadTest, ExportsOnlyTheSixFunctionsAndTheModuleEntry) {
    loadOver({.chip = ChipKind::Bt848});
    void* dl = ::dlopen((kelto::test::binaryFolder() / "librurorizi.so").c_str(), RTLD_NOW | RTLD_NOLOAD);
    ASSERT_NE(dl, nullptr);
    for (const char* name : {"SetTVParam", "GetTVParam", "SetAudioParam", "SetRadioParam", "GetRadioParam",
                             "GetTVErrString", "KeltoModuleEntry"})
        EXPECT_NE(::dlsym(dl, name), nullptr) << name;
    // Internals stay hidden, also those of the libraries linked in.
    for (const char* name : {"_ZN5kelto8rurorizi11moduleStateEv", "_ZN5kelto13LoadMessageEi"})
        EXPECT_EQ(::dlsym(dl, name), nullptr) << name;
    ::dlclose(dl);
}

}  // namespace
}  // namespace kelto::rurorizi::test
