// The card's sound while the viewer shows its picture: it reaches the sound output, the viewer's
// mute silences it, its volume steps scale it when no mixer line sets the loudness, and nothing
// plays once the viewer has closed.
#include "tests/viewer/window/ViewerWindowRig.h"

#include "platform/sound/PcmOutput.h"
#include "tests/support/TestRoot.h"

#include <cmath>
#include <cstring>
#include <memory>

namespace kelto::test {
namespace {

using platform::sound::InMemoryPcmOutput;

// The output the viewer gets, over an in-memory one the test keeps after the viewer has gone.
class SharedOutput final : public platform::sound::PcmOutput {
public:
    explicit SharedOutput(std::shared_ptr<InMemoryPcmOutput> inner) : inner_(std::move(inner)) {}
    bool open(const platform::sound::PcmFormat& format) override { return inner_->open(format); }
    void close() override { inner_->close(); }
    bool isOpen() const override { return inner_->isOpen(); }
    std::size_t write(std::span<const std::int16_t> samples) override { return inner_->write(samples); }
    std::size_t queuedFrames() const override { return inner_->queuedFrames(); }

private:
    std::shared_ptr<InMemoryPcmOutput> inner_;
};

class LiveSoundFromViewerTest : public ViewerWindowRig {
protected:
    void SetUp() override {
        ViewerWindowRig::SetUp();
        platform::sound::setSoundOutputFactory([this] { return std::make_unique<SharedOutput>(output); });
        saveState(7, QRect(100, 100, 400, 340));
    }
    void TearDown() override {
        ViewerWindowRig::TearDown();
        platform::sound::setSoundOutputFactory({});
    }
    capture::CaptureService& service() { return picture()->service(); }
    // Plays 100 ms and gives the loudest sample of it.
    int playLoudest() {
        const std::size_t from = output->samples().size();
        for (int i = 0; i < 5; ++i) {
            clock.advanceMs(20);
            service().pumpLiveSound();
        }
        int loudest = 0;
        for (std::size_t i = from; i < output->samples().size(); ++i) loudest = std::max(loudest, std::abs(int(output->samples()[i])));
        return loudest;
    }

    std::shared_ptr<InMemoryPcmOutput> output = std::make_shared<InMemoryPcmOutput>();
};

TEST_F(LiveSoundFromViewerTest, TheStationsSoundPlaysAndTheMuteSilencesIt) {
    ASSERT_TRUE(open());
    ASSERT_TRUE(output->isOpen());
    EXPECT_EQ(output->format(), (platform::sound::PcmFormat{48000, 2}));
    const int loud = playLoudest();
    EXPECT_GT(loud, 1000) << "the station's tone arrives";

    viewer->wiring().sendCommand(32892);  // mute
    ASSERT_TRUE(viewer->session()->muted());
    EXPECT_EQ(playLoudest(), 0);
    viewer->wiring().sendCommand(32892);
    EXPECT_GT(playLoudest(), 1000);

    close();
    EXPECT_FALSE(output->isOpen());
    EXPECT_EQ(output->queuedFrames(), 0u);
}

class LiveSoundWithoutMixerTest : public LiveSoundFromViewerTest {
protected:
    void SetUp() override {
        withSoundCard = false;
        LiveSoundFromViewerTest::SetUp();
    }
};

TEST_F(LiveSoundWithoutMixerTest, TheVolumeStepsScaleTheSound) {
    ASSERT_TRUE(open());
    ASSERT_FALSE(viewer->session()->volume().opened());
    const int full = playLoudest();
    ASSERT_GT(full, 1000);
    viewer->session()->SetVolumeStep(8);
    EXPECT_NEAR(playLoudest(), full / 2, full / 20);
    viewer->session()->SetVolumeStep(0);
    EXPECT_EQ(playLoudest(), 0);
    viewer->session()->SetVolumeStep(16);
    viewer->wiring().sendCommand(32892);  // mute: no mixer, so only the program's own output hears it
    EXPECT_EQ(playLoudest(), 0);
}

TEST_F(LiveSoundFromViewerTest, WithAMixerLineTheMixerSetsTheLoudness) {
    ASSERT_TRUE(open());
    ASSERT_TRUE(viewer->session()->volume().opened());
    const int full = playLoudest();
    viewer->session()->SetVolumeStep(4);
    EXPECT_EQ(playLoudest(), full);
}

// The same through ALSA: a file device of a private configuration records what the viewer played.
TEST_F(LiveSoundFromViewerTest, TheSimulatedCardsToneArrivesThroughAlsa) {
    TemporaryFolder alsa("alsa");
    const auto file = alsa / "played.raw";
    const std::string configuration =
        "pcm.kelto_test { type file slave.pcm { type null } file \"" + file.string() + "\" format \"raw\" }\n";
    if (!platform::sound::makeAlsaPcmOutput("kelto_test", configuration)->open({48000, 2}))
        GTEST_SKIP() << "ALSA cannot open its file device here";
    platform::sound::setSoundOutputFactory(
        [&] { return platform::sound::makeAlsaPcmOutput("kelto_test", configuration); });
    ASSERT_TRUE(open());
    ASSERT_TRUE(service().liveSoundPlaying());
    for (int i = 0; i < 5; ++i) {
        clock.advanceMs(20);
        service().pumpLiveSound();
    }
    close();  // the output closes with the viewer and the file has it all

    const std::string raw = readFile(file);
    ASSERT_EQ(raw.size(), 5u * 960 * 2 * sizeof(std::int16_t));
    std::vector<std::int16_t> samples(raw.size() / 2);
    std::memcpy(samples.data(), raw.data(), raw.size());
    int loudest = 0, crossings = 0;
    for (std::size_t i = 0; i < samples.size(); i += 2) {
        loudest = std::max(loudest, std::abs(int(samples[i])));
        if (i >= 2 && (samples[i - 2] < 0) != (samples[i] < 0)) ++crossings;
    }
    EXPECT_GT(loudest, 1000) << "the station's tone";
    // A 440 Hz tone crosses zero 88 times in 100 ms.
    EXPECT_NEAR(crossings, 88, 4);
}

}  // namespace
}  // namespace kelto::test
