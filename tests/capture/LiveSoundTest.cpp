// The live picture's sound: the driver's sound reaches the output in order and on time, silenced
// or scaled by the level, paused while a recording reads the driver, and nothing after close.
#include "capture/CaptureService.h"
#include "capture/LiveSoundPump.h"
#include "platform/Clock.h"

#include <gtest/gtest.h>

#include <chrono>

namespace kelto::capture {
namespace {

using namespace std::chrono;
using platform::sound::InMemoryPcmOutput;

// A driver whose sound is a ramp over absolute time: sample n of the epoch carries 1 + n % 20000
// in every channel, so a test sees whether stretches join without gap or repeat.
class RampDriver final : public drivers::CaptureDriver {
public:
    static int reads;
    static RampDriver* last;  // the newest one made
    RampDriver() { last = this; }
    drivers::CaptureDriverDescription description() const override { return {"ramp", "1"}; }
    bool open() override { return open_ = true; }
    void close() override { open_ = false; }
    bool isOpen() const override { return open_; }
    drivers::FrameFormat frameFormat() const override { return {}; }
    bool setFrameFormat(const drivers::FrameFormat&) override { return true; }
    double framesPerSecond() const override { return 25.0; }
    std::uint32_t microsecondsPerFrame() const override { return 40000; }
    bool grabFrame(std::span<std::uint8_t>, std::optional<system_clock::time_point>) override { return open_; }
    bool hasAudio() const override { return true; }
    drivers::SoundFormat soundFormat() const override { return format_; }
    bool setSoundFormat(const drivers::SoundFormat& format) override {
        format_ = format;
        return true;
    }
    bool readSound(system_clock::time_point start, std::span<std::int16_t> buffer) override {
        if (!open_) return false;
        ++reads;
        const auto us = duration_cast<microseconds>(start.time_since_epoch()).count();
        std::uint64_t n = std::uint64_t(us) * format_.sampleRateHz / 1'000'000;
        for (std::size_t i = 0; i < buffer.size(); i += format_.channels, ++n)
            for (std::size_t c = 0; c < format_.channels; ++c) buffer[i + c] = std::int16_t(1 + n % 20000);
        return true;
    }

private:
    bool open_ = false;
    drivers::SoundFormat format_{22050, 1, 16};
};
int RampDriver::reads = 0;
RampDriver* RampDriver::last = nullptr;

// Whether consecutive frames of the left channel step by one (the ramp's wrap aside).
bool joinsWithoutGap(const std::vector<std::int16_t>& samples, std::size_t channels, std::size_t from = 0) {
    for (std::size_t i = from + channels; i < samples.size(); i += channels) {
        const int step = samples[i] - samples[i - channels];
        if (step != 1 && step != 1 - 20000) return false;
    }
    return true;
}

class LiveSoundTest : public ::testing::Test {
protected:
    void SetUp() override { platform::setClock(&clock); }
    void TearDown() override { platform::setClock(nullptr); }

    platform::VirtualClock clock{system_clock::time_point(hours(24 * 365 * 30))};
};

TEST_F(LiveSoundTest, TheDriversSoundArrivesInOrderAsTimePasses) {
    RampDriver driver;
    driver.open();
    auto output = std::make_unique<InMemoryPcmOutput>();
    auto& out = *output;
    LiveSoundPump pump(std::move(output));
    ASSERT_TRUE(pump.start(driver));
    EXPECT_EQ(out.format(), (platform::sound::PcmFormat{48000, 2}));

    pump.pump();
    EXPECT_TRUE(out.samples().empty()) << "no time has passed";
    for (int i = 0; i < 50; ++i) {
        clock.advanceMs(20);
        pump.pump();
    }
    EXPECT_EQ(out.samples().size(), 48000u * 2) << "one second of stereo sound";
    EXPECT_TRUE(joinsWithoutGap(out.samples(), 2));
}

TEST_F(LiveSoundTest, LevelSilencesOrScales) {
    RampDriver driver;
    driver.open();
    auto output = std::make_unique<InMemoryPcmOutput>();
    auto& out = *output;
    LiveSoundPump pump(std::move(output));
    ASSERT_TRUE(pump.start(driver));
    pump.setLevel(0.0);
    clock.advanceMs(20);
    pump.pump();
    ASSERT_EQ(out.samples().size(), 960u * 2);
    EXPECT_TRUE(std::all_of(out.samples().begin(), out.samples().end(), [](std::int16_t s) { return s == 0; }));

    pump.setLevel(0.5);
    clock.advanceMs(20);
    pump.pump();
    std::vector<std::int16_t> full(960 * 2);
    driver.readSound(clock.now() - milliseconds(20), full);
    ASSERT_EQ(out.samples().size(), 2 * 960u * 2);
    for (std::size_t i = 0; i < full.size(); ++i)
        ASSERT_NEAR(out.samples()[960 * 2 + i], full[i] * 0.5, 0.5) << "sample " << i;
}

TEST_F(LiveSoundTest, AHeldUpPumpSkipsAheadInsteadOfPlayingLate) {
    RampDriver driver;
    driver.open();
    auto output = std::make_unique<InMemoryPcmOutput>();
    auto& out = *output;
    LiveSoundPump pump(std::move(output));
    ASSERT_TRUE(pump.start(driver));
    clock.advanceMs(3000);
    pump.pump();
    EXPECT_EQ(out.samples().size(), 960u * 2) << "only the last stretch is played";
    std::vector<std::int16_t> now(2);
    driver.readSound(clock.now() - microseconds(1'000'000 / 48000), now);
    EXPECT_EQ(out.samples().back(), now[0]) << "and it is the newest sound";
}

TEST_F(LiveSoundTest, NothingAfterStopAndAnOutputThatCannotOpenPlaysNothing) {
    RampDriver driver;
    driver.open();
    auto output = std::make_unique<InMemoryPcmOutput>();
    auto& out = *output;
    LiveSoundPump pump(std::move(output));
    ASSERT_TRUE(pump.start(driver));
    clock.advanceMs(20);
    pump.pump();
    pump.stop();
    const std::size_t before = out.samples().size();
    RampDriver::reads = 0;
    clock.advanceMs(100);
    pump.pump();
    EXPECT_EQ(out.samples().size(), before);
    EXPECT_EQ(RampDriver::reads, 0);
    EXPECT_FALSE(out.isOpen());

    out.setRefuseOpen(true);
    EXPECT_FALSE(pump.start(driver));
    EXPECT_FALSE(pump.running());
}

// Through the capture window's engine, the way the viewer uses it.
class LiveSoundServiceTest : public LiveSoundTest {
protected:
    void SetUp() override {
        LiveSoundTest::SetUp();
        drivers::CaptureDriverList::clear();
        drivers::CaptureDriverList::add([] { return std::make_unique<RampDriver>(); });
        auto output = std::make_unique<InMemoryPcmOutput>();
        out = output.get();
        service.setLiveSoundOutput(std::move(output));
    }
    void TearDown() override {
        drivers::CaptureDriverList::clear();
        LiveSoundTest::TearDown();
    }
    void run(int periods) {
        for (int i = 0; i < periods; ++i) {
            clock.advanceMs(20);
            service.pumpLiveSound();
        }
    }

    CaptureService service;
    InMemoryPcmOutput* out = nullptr;
};

TEST_F(LiveSoundServiceTest, PlaysWhileTheLivePictureRunsAndStopsWithIt) {
    ASSERT_EQ(service.driverConnect(0), 1);
    EXPECT_FALSE(service.liveSoundPlaying()) << "no live picture yet";
    ASSERT_EQ(service.setOverlay(true), 1);
    EXPECT_TRUE(service.liveSoundPlaying());
    run(5);
    EXPECT_EQ(out->samples().size(), 5u * 960 * 2);

    ASSERT_EQ(service.setOverlay(false), 1);
    EXPECT_FALSE(service.liveSoundPlaying());
    EXPECT_FALSE(out->isOpen());
    ASSERT_EQ(service.setPreview(true), 1);
    EXPECT_TRUE(service.liveSoundPlaying()) << "the preview plays the sound too";

    service.setLiveSoundLevel(0.0);
    run(1);
    EXPECT_EQ(out->samples().back(), 0);

    ASSERT_EQ(service.driverDisconnect(), 1);
    EXPECT_FALSE(service.liveSoundPlaying());
    const std::size_t before = out->samples().size();
    run(5);
    EXPECT_EQ(out->samples().size(), before) << "nothing after the driver closes";
}

TEST_F(LiveSoundServiceTest, TheDriversFormatChangedInBetweenIsTakenBack) {
    ASSERT_EQ(service.driverConnect(0), 1);
    ASSERT_EQ(service.setOverlay(true), 1);
    run(1);
    // What a recording does to the driver while the live sound waits.
    ASSERT_TRUE(RampDriver::last->setSoundFormat({8000, 1, 16}));
    run(2);
    EXPECT_EQ(RampDriver::last->soundFormat(), LiveSoundPump::kPreferredFormat);
    EXPECT_EQ(out->samples().size(), 3u * 960 * 2);
    EXPECT_TRUE(joinsWithoutGap(out->samples(), 2));
}

}  // namespace
}  // namespace kelto::capture
