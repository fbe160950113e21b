// The video driver library's exports over a V4L2 card, loaded by the name the program uses.
#include "tests/v4l2/V4l2Fixture.h"

#include "platform/DeviceIo.h"

#include <filesystem>

namespace kelto::v4l2::test {
namespace {

using SetFn = int (*)(int);
using GetFn = int (*)(int32_t*);
using Write3Fn = int (*)(uint32_t, uint32_t, uint32_t);
using ReadFn = int (*)(uint32_t, uint8_t*);
using GpioBitsFn = int (*)(int, int, uint32_t, int);
using GpioReadFn = int (*)(int, int, uint32_t*, int);
using MultiReadFn = int (*)(uint32_t, uint32_t, uint8_t*, uint32_t);

struct DriverLibraryTest : V4l2Fixture {
    void SetUp() override {
        V4l2Fixture::SetUp();
        loadDriver();
    }
    int tune(std::uint16_t divider, std::uint8_t address = 0xC0) {
        return fn<Write3Fn>("I2CHWWrite3")(address, divider >> 8, divider & 0xFF);
    }
    int status(std::uint8_t& byte) { return fn<ReadFn>("I2CHWRead")(0xC0, &byte); }
    int route(std::uint32_t value) { return fn<GpioBitsFn>("SetGPDATABits")(0, 3, value, 0); }
};

TEST_F(DriverLibraryTest, TheProgramsLibraryNameLoadsTheV4l2Library) {
    EXPECT_EQ(std::filesystem::path(platform::modulePath(driver)).filename(), "libkelto_v4l2_btvid.so");
    // Every export the interface names is there.
    for (const char* name : {"Bt848SetVideoSource", "Bt848Pause", "Bt848GetCCFileName", "IsBt878Family", "SetGPDATABits",
                             "I2CHWMultiRead", "I2CSWReadSDA", "ReadDecoder", "ProcessCommand"})
        EXPECT_NE(platform::getProcAddress(driver, name), nullptr) << name;
    EXPECT_EQ(fn<int (*)()>("IsBt878Family")(), 1);
    card.cardName = "BT848A video (old card)";
    useFakeCard();
    EXPECT_EQ(fn<int (*)()>("IsBt878Family")(), 0);
}

TEST_F(DriverLibraryTest, VideoSourcesChooseTheInputsByTypeAndName) {
    const auto set = fn<SetFn>("Bt848SetVideoSource");
    const auto get = fn<GetFn>("Bt848GetVideoSource");
    struct Case {
        int source;
        std::uint32_t input;
    } cases[] = {{3, 1}, {1, 2}, {2, 0}};
    for (const Case& c : cases) {
        ASSERT_EQ(set(c.source), 0) << c.source;
        EXPECT_EQ(card.input, c.input) << c.source;
        std::int32_t back = 0;
        ASSERT_EQ(get(&back), 0);
        EXPECT_EQ(back, c.source);
    }
    EXPECT_EQ(set(4), 1);
    EXPECT_EQ(set(0), 1);
    EXPECT_EQ(card.input, 0u) << "a refused source changes nothing";

    card.hasTuner = false;
    useFakeCard();
    EXPECT_EQ(set(2), 1) << "no tuner input";
    EXPECT_EQ(set(1), 0);
    EXPECT_EQ(card.input, 1u) << "S-Video is the second input of a card without tuner";
}

TEST_F(DriverLibraryTest, PictureControlsAreScaledToTheControlsRangeAndBack) {
    struct Control {
        const char* set;
        const char* get;
        std::uint32_t id;
    } controls[] = {{"Bt848SetBrightness", "Bt848GetBrightness", V4L2_CID_BRIGHTNESS},
                    {"Bt848SetContrast", "Bt848GetContrast", V4L2_CID_CONTRAST},
                    {"Bt848SetHue", "Bt848GetHue", V4L2_CID_HUE},
                    {"Bt848SetSaturation", "Bt848GetSaturation", V4L2_CID_SATURATION}};
    for (const Control& c : controls) {
        const auto set = fn<SetFn>(c.set);
        const auto get = fn<GetFn>(c.get);
        ASSERT_EQ(set(0), 0);
        EXPECT_EQ(card.control(c.id), 0);
        ASSERT_EQ(set(255), 0);
        EXPECT_EQ(card.control(c.id), 255 * 256);
        ASSERT_EQ(set(128), 0);
        EXPECT_EQ(card.control(c.id), 32768) << c.set;
        for (int value = 0; value <= 255; ++value) {
            ASSERT_EQ(set(value), 0);
            std::int32_t back = -1;
            ASSERT_EQ(get(&back), 0);
            ASSERT_EQ(back, value) << c.set;
        }
        EXPECT_EQ(set(256), 1);
        EXPECT_EQ(set(-1), 1);
    }
    // A driver with another range is scaled to it.
    card.controls[V4L2_CID_HUE] = {"Hue", V4L2_CTRL_TYPE_INTEGER, -128, 127, 1, 0, 0};
    useFakeCard();
    ASSERT_EQ(fn<SetFn>("Bt848SetHue")(128), 0);
    EXPECT_EQ(card.control(V4L2_CID_HUE), 0);
    ASSERT_EQ(fn<SetFn>("Bt848SetHue")(0), 0);
    EXPECT_EQ(card.control(V4L2_CID_HUE), -128);
    card.controls[V4L2_CID_HUE] = {"Hue", V4L2_CTRL_TYPE_INTEGER, 0, 15, 1, 8, 8};
    useFakeCard();
    ASSERT_EQ(fn<SetFn>("Bt848SetHue")(255), 0);
    EXPECT_EQ(card.control(V4L2_CID_HUE), 15);
    // Each control value reads as a value that sets it again.
    for (int value = 0; value <= 255; ++value) {
        ASSERT_EQ(fn<SetFn>("Bt848SetHue")(value), 0);
        const std::int32_t control = card.control(V4L2_CID_HUE);
        std::int32_t back = -1;
        ASSERT_EQ(fn<GetFn>("Bt848GetHue")(&back), 0);
        ASSERT_EQ(fn<SetFn>("Bt848SetHue")(back), 0);
        ASSERT_EQ(card.control(V4L2_CID_HUE), control) << value;
    }
}

TEST_F(DriverLibraryTest, TheSoundRouteBitsMuteAndChooseTheAudioInput) {
    ASSERT_EQ(route(3), 0);
    EXPECT_EQ(card.control(V4L2_CID_AUDIO_MUTE), 1);
    std::uint32_t bits = 0;
    ASSERT_EQ(fn<GpioReadFn>("GetGPDATABits")(0, 1, &bits, 0), 0);
    EXPECT_EQ(bits, 3u) << "muted reads back as 3";

    ASSERT_EQ(route(0), 0);
    EXPECT_EQ(card.control(V4L2_CID_AUDIO_MUTE), 0);
    EXPECT_EQ(card.audioInput, 1u) << "external input: Line";
    ASSERT_EQ(route(1), 0);
    EXPECT_EQ(card.audioInput, 0u) << "tuner: Television";
    ASSERT_EQ(route(2), 0);
    EXPECT_EQ(card.audioInput, 1u) << "no second external input: the first";

    // A driver without a mute control cannot silence: refused, and the bits stay as they were.
    card.controls.erase(V4L2_CID_AUDIO_MUTE);
    card.hasAudioInputs = false;
    useFakeCard();
    ASSERT_EQ(route(1), 0);
    EXPECT_EQ(route(3), 1);
    ASSERT_EQ(fn<GpioReadFn>("GetGPDATABits")(0, 1, &bits, 0), 0);
    EXPECT_EQ(bits, 1u);
    // Other data bits are kept without reaching the sound.
    EXPECT_EQ(fn<GpioBitsFn>("SetGPDATABits")(8, 11, 0xA, 0), 0);
    ASSERT_EQ(fn<GpioReadFn>("GetGPDATABits")(8, 11, &bits, 0), 0);
    EXPECT_EQ(bits, 0xAu);
}

TEST_F(DriverLibraryTest, ADividerBecomesTheVisionCarrierFrequency) {
    ASSERT_EQ(tune(usDivider(kUsChannel2Hz)), 0);
    EXPECT_EQ(card.frequencyUnits, kUsChannel2Hz / 62'500);
    // A control word in the same stream does not move the tuner.
    ASSERT_EQ(tune(0xCEA0), 0);
    EXPECT_EQ(card.frequencyLog.size(), 1u);
    // Several words in one transfer, as a PLL tuner takes them.
    const std::uint16_t divider = usDivider(kUsChannel33Hz);
    const std::uint8_t words[] = {std::uint8_t(divider >> 8), std::uint8_t(divider), 0xCE, 0x30};
    ASSERT_EQ(platform::getProc<int (*)(uint32_t, uint32_t, const uint8_t*, uint32_t)>(driver, "I2CHWMultiWrite")(
                  0xC0, words[0], words + 1, 3),
              0);
    EXPECT_EQ(card.frequencyUnits, kUsChannel33Hz / 62'500);

    // The country's intermediate frequency: 38.875 MHz for Germany.
    platform::setUserLocaleCountryOverride(std::string("49"));
    useFakeCard();
    ASSERT_EQ(tune(std::uint16_t((471'250'000ull + 38'875'000) * 16 / 1'000'000)), 0);
    EXPECT_EQ(card.frequencyUnits, 471'250'000u / 62'500);
    // ... unless the card file names one.
    useFakeCard(v4l2Config(0xC0, 45'750'000));
    ASSERT_EQ(tune(usDivider(kUsChannel7Hz)), 0);
    EXPECT_EQ(card.frequencyUnits, kUsChannel7Hz / 62'500);

    EXPECT_EQ(tune(usDivider(kUsChannel7Hz), 0xC2), 1) << "nobody at the Alps address";
    card.hasTuner = false;
    useFakeCard();
    EXPECT_EQ(tune(usDivider(kUsChannel7Hz)), 1) << "a card without tuner has nobody at 0xC0";
}

TEST_F(DriverLibraryTest, TheStatusByteLocksOnASignalWithALevelFromItsStrength) {
    card.stations = {{kUsChannel2Hz, 0xFFFF}, {kUsChannel7Hz, 0x8000}, {kUsChannel33Hz, 0x4000}};
    struct Case {
        std::uint32_t carrierHz;
        std::uint8_t status;
    } cases[] = {{kUsChannel2Hz, 0x40}, {kUsChannel7Hz, 0x43}, {kUsChannel33Hz, 0x45}, {kUsChannel33Hz + 6'000'000, 0x07}};
    for (const Case& c : cases) {
        ASSERT_EQ(tune(usDivider(c.carrierHz)), 0);
        std::uint8_t byte = 0;
        ASSERT_EQ(status(byte), 0);
        EXPECT_EQ(byte, c.status) << c.carrierHz;
    }
}

TEST_F(DriverLibraryTest, TheSoundDecoderReportsWhatTheTunerHearsAndTheAudioModeFollows) {
    card.stations = {{kUsChannel2Hz, 0xFFFF, V4L2_TUNER_SUB_STEREO}, {kUsChannel7Hz, 0xFFFF, V4L2_TUNER_SUB_LANG1 | V4L2_TUNER_SUB_LANG2}};
    const auto multiRead = fn<MultiReadFn>("I2CHWMultiRead");
    // The decoder is found as a type 1 decoder is probed.
    ASSERT_EQ(tune(0x0108, 0xB0), 0);
    std::uint8_t one = 0;
    ASSERT_EQ(fn<ReadFn>("I2CHWRead")(0xB0, &one), 0);

    std::uint8_t bytes[3] = {};
    ASSERT_EQ(tune(usDivider(kUsChannel2Hz)), 0);
    ASSERT_EQ(multiRead(0xB0, 0, bytes, 3), 0);
    EXPECT_EQ(bytes[0], 0x01) << "stereo";
    std::uint8_t byte = 0;
    status(byte);
    EXPECT_EQ(card.audioMode, std::uint32_t(V4L2_TUNER_MODE_STEREO));

    ASSERT_EQ(tune(usDivider(kUsChannel7Hz)), 0);
    ASSERT_EQ(multiRead(0xB0, 0, bytes, 3), 0);
    EXPECT_EQ(bytes[0], 0x02) << "bilingual";
    status(byte);
    EXPECT_EQ(card.audioMode, std::uint32_t(V4L2_TUNER_MODE_LANG1));

    ASSERT_EQ(tune(usDivider(kUsChannel33Hz)), 0);
    ASSERT_EQ(multiRead(0xB0, 0, bytes, 3), 0);
    EXPECT_EQ(bytes[0], 0x00) << "nothing received reads as mono";
}

TEST_F(DriverLibraryTest, TheSoftwareBusProbeFindsTheTunerAtItsAddressOnly) {
    const auto start = fn<void (*)()>("I2CSWStart");
    const auto stop = fn<void (*)()>("I2CSWStop");
    const auto scl = fn<void (*)(int)>("I2CSWSetSCL");
    const auto sda = fn<void (*)(int)>("I2CSWSetSDA");
    const auto readSda = fn<int (*)()>("I2CSWReadSDA");
    auto probe = [&](std::uint8_t address) {
        start();
        const std::uint8_t read = address + 1;
        for (int bit = 7; bit >= 0; --bit) {
            scl(0);
            sda((read >> bit) & 1);
            scl(1);
        }
        scl(0);
        sda(1);
        scl(1);
        const bool answered = readSda() == 0;
        scl(0);
        stop();
        return answered;
    };
    EXPECT_TRUE(probe(0xC0));
    EXPECT_FALSE(probe(0xC2));
    EXPECT_FALSE(probe(0xC6));
    useFakeCard(v4l2Config(0xC6));
    EXPECT_FALSE(probe(0xC0));
    EXPECT_TRUE(probe(0xC6));
}

TEST_F(DriverLibraryTest, AVanishedDeviceFailsTheCallsAndAReturningOneWorksAgain) {
    ASSERT_EQ(tune(usDivider(kUsChannel2Hz)), 0);
    card.vanish();
    EXPECT_EQ(tune(usDivider(kUsChannel7Hz)), 1);
    EXPECT_EQ(fn<SetFn>("Bt848SetBrightness")(10), 1);
    EXPECT_EQ(fn<SetFn>("Bt848SetVideoSource")(3), 1);
    std::uint8_t byte = 0;
    EXPECT_EQ(status(byte), 1);
    EXPECT_EQ(route(3), 1);
    card.vanish(false);
    EXPECT_EQ(tune(usDivider(kUsChannel7Hz)), 0);
    EXPECT_EQ(card.frequencyUnits, kUsChannel7Hz / 62'500);
    EXPECT_EQ(card.openCount, 2);
}

TEST_F(DriverLibraryTest, TheRegisterBlockIsPlainMemoryAndTheChipRegistersAreRefused) {
    for (auto [name, code] : {std::pair{"\\\\.\\BT848", 2u}, std::pair{"\\\\.\\BtPCIAud.vxd", 11u}}) {
        platform::DeviceHandle device = platform::openDevice(name);
        ASSERT_NE(device, nullptr) << name;
        void* block = nullptr;
        std::size_t returned = 0;
        EXPECT_TRUE(platform::deviceIoControl(device, code, nullptr, 0, &block, sizeof block, returned));
        EXPECT_EQ(block, V4l2Card::registerBlock());
        platform::closeDevice(device);
    }
    std::uint32_t value = 0;
    EXPECT_EQ(fn<int (*)(uint32_t, uint32_t*)>("ReadDecoder")(0x10C, &value), 1);
    EXPECT_EQ(fn<int (*)(uint32_t, uint32_t)>("ProcessCommand")(112, 0), 1) << "no digital audio path";
}

TEST_F(DriverLibraryTest, FreezeAndCaptionSettingsAreKept) {
    ASSERT_EQ(fn<int (*)()>("Bt848Pause")(), 0);
    EXPECT_TRUE(CardLock()->frozen);
    ASSERT_EQ(fn<int (*)()>("Bt848Continue")(), 0);
    EXPECT_FALSE(CardLock()->frozen);
    ASSERT_EQ(fn<int (*)(const char*)>("Bt848SetCCFileName")("captions.txt"), 0);
    char name[8] = {};
    ASSERT_EQ(fn<int (*)(char*, uint32_t)>("Bt848GetCCFileName")(name, sizeof name), 0);
    EXPECT_STREQ(name, "caption");
}

}  // namespace
}  // namespace kelto::v4l2::test
