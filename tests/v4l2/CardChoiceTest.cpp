// Choosing the driver set from the card file, and finding the cards a user can choose.
#include "v4l2/CardList.h"
#include "v4l2/DriverChoice.h"
#include "v4l2/FakeBttvDevice.h"
#include "v4l2/V4l2Card.h"
#include "v4l2/V4l2CardConfig.h"

#include "platform/DynamicLibrary.h"
#include "tests/app/ChildProcess.h"
#include "tests/support/TestRoot.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>

namespace kelto::v4l2 {
namespace {

struct CardChoiceTest : ::testing::Test {
    void TearDown() override {
        removeV4l2DriverSet();
        ::unsetenv("KELTO_CARD");
    }
    // Writes a card file and names it in KELTO_CARD.
    std::filesystem::path cardFile(std::string_view text) {
        const auto path = folder / "card.ini";
        kelto::test::writeFile(path, text);
        ::setenv("KELTO_CARD", path.c_str(), 1);
        return path;
    }
    static std::string loadedFileName(const char* library) {
        platform::ModuleHandle module = platform::loadLibrary(library);
        const std::string name = std::filesystem::path(platform::modulePath(module)).filename().string();
        platform::freeLibrary(module);
        return name;
    }
    kelto::test::TemporaryFolder folder;
};

TEST_F(CardChoiceTest, TheCardFileChoosesTheV4l2SetAndEverythingElseTheSimulatedCard) {
    const auto file = cardFile("[Card]\nDriver=V4L2\nDevice=/dev/video3\nRadioDevice=/dev/radio1\nTuner=LGAlps\nIntermediateFrequencyHz=38900000\n");
    const V4l2CardConfig config = readV4l2CardConfig(file);
    EXPECT_TRUE(config.useV4l2);
    EXPECT_EQ(config.devicePath, "/dev/video3");
    EXPECT_EQ(config.radioDevicePath, "/dev/radio1");
    EXPECT_EQ(config.tunerAddress, 0xC6);
    EXPECT_EQ(config.intermediateFrequencyHz, 38'900'000u);
    EXPECT_EQ(cardFilePath(), file);

    ASSERT_EQ(chooseDriverSet(), DriverSet::V4l2);
    EXPECT_EQ(loadedFileName("BtVid_32.dll"), "libkelto_v4l2_btvid.so");
    EXPECT_EQ(loadedFileName("BtAud.dll"), "libkelto_v4l2_btvid.so");
    removeV4l2DriverSet();
    EXPECT_EQ(loadedFileName("BtVid_32.dll"), "libbtvid_32.so");

    for (const char* text : {"[Card]\nChip=Bt848\nTuner=Alps\n", "[Card]\nDriver=cardsim\n", ""}) {
        cardFile(text);
        EXPECT_EQ(chooseDriverSet(), DriverSet::Simulated) << text;
        EXPECT_EQ(loadedFileName("BtVid_32.dll"), "libbtvid_32.so") << text;
    }
    const V4l2CardConfig defaults = readV4l2CardConfig(folder / "missing.ini");
    EXPECT_FALSE(defaults.useV4l2);
    EXPECT_EQ(defaults.devicePath, "/dev/video0");
    EXPECT_EQ(defaults.radioDevicePath, "");
    EXPECT_EQ(defaults.tunerAddress, 0xC0);
    EXPECT_FALSE(defaults.intermediateFrequencyHz);
}

TEST_F(CardChoiceTest, TheInMemoryCardRunsTheSetWithoutACard) {
    cardFile("[Card]\nDriver=v4l2\nDevice=memory:bttv\nIntermediateFrequencyHz=45750000\n");
    kelto::v4l2::test::resetCard();
    {
        CardLock card;
        ASSERT_TRUE(card->hasTuner());
        const std::uint16_t channel2 = (55'250'000 + 45'750'000) * 16 / 1'000'000;
        const std::uint8_t divider[] = {std::uint8_t(channel2 >> 8), std::uint8_t(channel2 & 0xFF)};
        ASSERT_TRUE(card->i2cWrite(0xC0, divider));
        EXPECT_EQ(card->tunerStatus(), 0x40) << "a station on channel 2";
    }
    kelto::v4l2::test::resetCard();
}

TEST_F(CardChoiceTest, OutOfRangeIntermediateFrequenciesAreNotTaken) {
    for (const char* value : {"1000", "-38875000", "abc", "70000000"})
        EXPECT_FALSE(readV4l2CardConfig(cardFile(std::string("[Card]\nDriver=v4l2\nIntermediateFrequencyHz=") + value + "\n"))
                         .intermediateFrequencyHz)
            << value;
}

// Cards that cannot be opened, as the listing sees them.
class DeniedOpener final : public DeviceOpener {
public:
    std::unique_ptr<VideoDevice> open(const std::string&, int& error) override {
        error = EACCES;
        return nullptr;
    }
    std::vector<std::string> devicePaths(DeviceKind kind) override {
        return kind == DeviceKind::Video ? std::vector<std::string>{"/dev/video4"} : std::vector<std::string>{};
    }
};

TEST_F(CardChoiceTest, TheListingNamesEachCardsDriverInputsTunerAndTheLinesToUse) {
    FakeBttvCard withTuner, withoutTuner;
    withoutTuner.path = "/dev/video1";
    withoutTuner.hasTuner = false;
    withoutTuner.cardName = "BT848 video (Composite only)";
    FakeBttvCard radio;
    radio.radio = true;
    radio.path = "/dev/radio0";
    FakeDeviceOpener opener{{&withTuner, &withoutTuner, &radio}};
    const auto cards = findCards(opener);
    ASSERT_EQ(cards.size(), 2u);
    EXPECT_EQ(cards[0].driver, "bttv");
    EXPECT_TRUE(cards[0].tuner);
    EXPECT_EQ(cards[0].inputs, (std::vector<std::string>{"Television (tuner)", "Composite1", "S-Video"}));
    EXPECT_FALSE(cards[1].tuner);

    EXPECT_EQ(opener.devicePaths(DeviceKind::Radio), std::vector<std::string>{"/dev/radio0"});
    const std::string text = cardListText(cards, opener.devicePaths(DeviceKind::Radio), "plughw:CARD=Bt878,DEV=0", "/home/u/card.ini");
    for (const char* part : {"/dev/video0: BT878 video (KeltoTV test card) (driver bttv), a Bt848/Bt878 card",
                             "inputs: Television (tuner), Composite1, S-Video", "tuner: yes", "tuner: no",
                             "Device=/dev/video1", "/home/u/card.ini", "Driver=v4l2\n  Device=/dev/video0\n",
                             "/dev/radio0: a radio device; for the FM radio, in the [Card] section: RadioDevice=/dev/radio0",
                             "sound is captured from the ALSA device plughw:CARD=Bt878,DEV=0"})
        EXPECT_NE(text.find(part), std::string::npos) << part << "\n" << text;
    const std::string silentText = cardListText(cards, {}, "", "/home/u/card.ini");
    EXPECT_NE(silentText.find("No Bt87x sound device is present"), std::string::npos) << silentText;
    EXPECT_NE(silentText.find("SoundDevice="), std::string::npos) << silentText;

    DeniedOpener denied;
    const std::string deniedText = cardListText(findCards(denied), {}, "", "/home/u/card.ini");
    EXPECT_NE(deniedText.find("/dev/video4: cannot be opened: Permission denied"), std::string::npos) << deniedText;
    EXPECT_NE(deniedText.find("\"video\""), std::string::npos) << deniedText;
    EXPECT_NE(deniedText.find("No Video4Linux2 capture card is present."), std::string::npos) << deniedText;

    FakeDeviceOpener none{{}};
    EXPECT_EQ(cardListText(findCards(none), {}, "", "/home/u/card.ini"),
              "No Video4Linux2 capture card is present (no /dev/video device).\n"
              "KeltoTV runs on the simulated card described in /home/u/card.ini.\n");
}

TEST_F(CardChoiceTest, TheProgramListsTheCardsOfThisMachineAndExits) {
    kelto::test::SpawnOptions options;
    options.output = folder / "output";
    const int code = kelto::test::waitFor(kelto::test::spawn({(kelto::test::binaryFolder() / "KeltoTV").string(), "--list-cards"}, options));
    EXPECT_EQ(code, 0);
    const std::string output = kelto::test::readFile(options.output);
    const auto paths = systemDeviceOpener().devicePaths(DeviceKind::Video);
    if (paths.empty()) {
        EXPECT_NE(output.find("No Video4Linux2 capture card is present"), std::string::npos) << output;
    }
    for (const std::string& path : paths) EXPECT_NE(output.find(path), std::string::npos) << output;

    options.output = folder / "help";
    ASSERT_EQ(kelto::test::waitFor(kelto::test::spawn({(kelto::test::binaryFolder() / "KeltoTV").string(), "--help"}, options)), 0);
    EXPECT_NE(kelto::test::readFile(options.output).find("--list-cards"), std::string::npos);
}

}  // namespace
}  // namespace kelto::v4l2
