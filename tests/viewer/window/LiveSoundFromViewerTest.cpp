// The card's sound while the viewer shows its picture: it reaches the sound output, the viewer's
// mute silences it, its volume steps scale it when no mixer line sets the loudness, and nothing
// plays once the viewer has closed.
#include "tests/viewer/window/ViewerWindowRig.h"

#include "platform/sound/PcmOutput.h"

#include <cmath>
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

}  // namespace
}  // namespace kelto::test
