// The V4L2 capture driver's sound from the card's sound device, over a fake capture source: the
// device from the card file, captured frames laid on the process clock, format changes, and no
// sound (but pictures) when there is no device or it cannot be opened.
#include "v4l2/CardSound.h"
#include "v4l2/FakeBttvDevice.h"
#include "v4l2/V4l2Card.h"
#include "v4l2/V4l2CaptureDriver.h"

#include "platform/Clock.h"
#include "platform/SystemInfo.h"
#include "tests/support/TestRoot.h"

#include <gtest/gtest.h>

#include <deque>

namespace kelto::v4l2 {
namespace {

using namespace std::chrono;

// Hands out what the test captured into it.
struct FakeSource final : SoundSource {
    struct State {
        std::vector<std::string> devices;
        std::vector<drivers::SoundFormat> opens;
        std::deque<std::int16_t> captured;
        bool refuse = false;
        bool open = false;
    };
    explicit FakeSource(State& state) : state(state) {}
    bool open(const drivers::SoundFormat& format) override {
        state.opens.push_back(format);
        state.open = !state.refuse;
        return state.open;
    }
    void close() override { state.open = false; }
    std::size_t read(std::span<std::int16_t> into) override {
        const std::size_t channels = state.opens.back().channels;
        const std::size_t frames = std::min(into.size(), state.captured.size()) / channels;
        std::copy_n(state.captured.begin(), frames * channels, into.begin());
        state.captured.erase(state.captured.begin(), state.captured.begin() + std::ptrdiff_t(frames * channels));
        return frames;
    }
    std::string lastError() const override { return "refused"; }
    State& state;
};

struct CardSoundTest : ::testing::Test {
    void SetUp() override {
        platform::setClock(&clock);
        platform::setUserLocaleCountryOverride(std::string("49"));
        test::setSoundSourceFactory([this](const std::string& device) {
            source.devices.push_back(device);
            return std::make_unique<FakeSource>(source);
        });
    }
    void TearDown() override {
        driver.close();
        test::setSoundSourceFactory({});
        kelto::v4l2::test::resetCard();
        platform::clearUserLocaleCountryOverride();
        platform::setClock(nullptr);
    }
    void useCard(std::string soundDevice) {
        V4l2CardConfig config;
        config.useV4l2 = true;
        config.soundDevicePath = std::move(soundDevice);
        kelto::v4l2::test::useCard(config, opener);
    }
    // Captures frames first..first+count of a stereo ramp (value = frame index + 1, both channels).
    void capture(int first, int count) {
        for (int f = first; f < first + count; ++f) {
            source.captured.push_back(std::int16_t(f + 1));
            source.captured.push_back(std::int16_t(f + 1));
        }
    }
    std::vector<std::int16_t> sound(system_clock::time_point at, std::size_t frames) {
        std::vector<std::int16_t> buffer(frames * 2, -1);
        EXPECT_TRUE(driver.readSound(at, buffer));
        return buffer;
    }

    platform::VirtualClock clock{system_clock::time_point(hours(24 * 365 * 30))};
    FakeBttvCard card;
    FakeDeviceOpener opener{{&card}};
    V4l2CaptureDriver driver;
    FakeSource::State source;
};

TEST_F(CardSoundTest, TheSoundDeviceOfTheCardFileIsCapturedOnTheProcessClock) {
    useCard("hw:CARD=Bt878,DEV=0");
    const auto openedAt = clock.now();
    ASSERT_TRUE(driver.open()) << driver.lastError();
    ASSERT_TRUE(driver.hasAudio());
    EXPECT_EQ(source.devices, std::vector<std::string>{"hw:CARD=Bt878,DEV=0"});
    ASSERT_EQ(source.opens.size(), 1u);
    EXPECT_EQ(source.opens[0], (drivers::SoundFormat{48000, 2, 16}));

    // The first captured frame stands for the moment the stream began plus the capture delay.
    const auto zero = openedAt + CardSound::kCaptureDelay;
    clock.advanceMs(60);
    capture(0, 960);
    auto s = sound(zero - milliseconds(1), 96);  // 48 frames before, 48 captured
    EXPECT_EQ(s[0], 0);
    EXPECT_EQ(s[47 * 2], 0);
    EXPECT_EQ(s[48 * 2], 1);
    EXPECT_EQ(s[95 * 2 + 1], 48);
    s = sound(zero + milliseconds(1), 480);
    EXPECT_EQ(s[0], 49);
    EXPECT_EQ(s[479 * 2], 528);
    // Sound not captured yet is silence; what comes later fills the next stretch.
    s = sound(zero + milliseconds(10), 960);
    EXPECT_EQ(s[0], 481);
    EXPECT_EQ(s[479 * 2], 960);
    EXPECT_EQ(s[480 * 2], 0);
    capture(960, 960);
    s = sound(zero + milliseconds(30), 480);
    EXPECT_EQ(s[0], 1441);

    driver.close();
    EXPECT_FALSE(source.open);
    EXPECT_FALSE(driver.hasAudio());
    std::vector<std::int16_t> buffer(4);
    EXPECT_FALSE(driver.readSound(clock.now(), buffer));
}

TEST_F(CardSoundTest, AnotherFormatReopensTheStreamAndAFormatItCannotTakeIsRefused) {
    useCard("hw:9");
    ASSERT_TRUE(driver.open());
    EXPECT_TRUE(driver.setSoundFormat({22050, 1, 16}));
    EXPECT_EQ(source.opens.back(), (drivers::SoundFormat{22050, 1, 16}));
    EXPECT_EQ(driver.soundFormat(), (drivers::SoundFormat{22050, 1, 16}));
    EXPECT_FALSE(driver.setSoundFormat({96000, 2, 16}));
    EXPECT_FALSE(driver.setSoundFormat({44100, 2, 8}));
    source.refuse = true;
    EXPECT_FALSE(driver.setSoundFormat({44100, 2, 16}));
    EXPECT_EQ(driver.soundFormat(), (drivers::SoundFormat{22050, 1, 16}));
}

TEST_F(CardSoundTest, WithoutASoundDeviceThePicturesComeAlone) {
    source.refuse = true;
    useCard("hw:9");
    ASSERT_TRUE(driver.open()) << driver.lastError();
    EXPECT_FALSE(driver.hasAudio()) << "the device could not be opened";
    std::vector<std::uint8_t> picture(driver.frameFormat().imageBytes());
    EXPECT_TRUE(driver.grabFrame(picture, std::nullopt));
    driver.close();

    kelto::test::TemporaryFolder folder;
    kelto::test::writeFile(folder / "card.ini", "[Card]\nDriver=v4l2\nSoundDevice=plughw:1,0\n");
    EXPECT_EQ(readV4l2CardConfig(folder / "card.ini").soundDevicePath, "plughw:1,0");
    EXPECT_EQ(cardSoundDevice(readV4l2CardConfig(folder / "card.ini")), "plughw:1,0");
}

TEST_F(CardSoundTest, AVanishedCardTakesItsSoundWithIt) {
    useCard("hw:9");
    ASSERT_TRUE(driver.open());
    card.vanish();
    std::vector<std::uint8_t> picture(driver.frameFormat().imageBytes());
    EXPECT_FALSE(driver.grabFrame(picture, std::nullopt));
    EXPECT_FALSE(driver.hasAudio());
    EXPECT_FALSE(source.open);
}

}  // namespace
}  // namespace kelto::v4l2
