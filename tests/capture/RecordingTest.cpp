#include "tests/capture/CaptureFixture.h"
#include "platform/sound/PcmOutput.h"
#include "tests/capture/MediaProbe.h"

#include <QKeyEvent>
#include <QMouseEvent>

#include <cmath>

namespace kelto::capture::test {
namespace {

class RecordingTest : public CaptureFixture {
protected:
    void SetUp() override {
        CaptureFixture::SetUp();
        createAndConnect();
        window->SetOverlay(true);
    }

    void setUpRecording(int framesPerSecond, int limitSeconds, bool audio, WaveFormat wave = makePcmWaveFormat(2, 16, 44100),
                        int width = 160, int height = 120) {
        CaptureSequenceSetup setup;
        ASSERT_EQ(window->GetSequenceSetup(setup), 1);
        setup.requestMicroSecPerFrame = framePeriodUsFromRate(framesPerSecond);
        setup.limitEnabled = limitSeconds > 0;
        setup.timeLimitSeconds = std::uint32_t(limitSeconds);
        setup.captureAudio = audio;
        ASSERT_EQ(window->SetSequenceSetup(setup), 1);
        ASSERT_EQ(window->SetAudioFormat(std::as_bytes(std::span(&wave, 1))), 1);
        ASSERT_EQ(window->SetFrameSize(width, height), 1);
    }

    static void expectWithinOneFrame(double seconds, double limitSeconds, int framesPerSecond) {
        EXPECT_GE(seconds, limitSeconds - 1e-6);
        EXPECT_LE(seconds, limitSeconds + 1.0 / framesPerSecond + 1e-6);
    }

    // Runs the recording, checking the window is left with overlay on and preview off.
    int record(const std::filesystem::path& path, int type) {
        const int result = window->CaptureVideoStream(path.string(), type);
        EXPECT_TRUE(service().overlayOn());
        EXPECT_FALSE(service().previewOn());
        return result;
    }
};

TEST_F(RecordingTest, AviWithMjpegAndSixteenBitStereoSound) {
    setUpRecording(30, 2, true, makePcmWaveFormat(2, 16, 44100), 320, 240);
    const auto path = folder / "Kelto.AVI";
    ASSERT_EQ(record(path, 0), 1);
    EXPECT_EQ(service().lastSequence().pictures, 61u);  // the moments 0 .. 60 x 33333 us lie before 2 s
    EXPECT_EQ(service().lastSequence().latePictures, 0u);

    const MediaProbe probe = probeMedia(path);
    ASSERT_TRUE(probe.opened);
    EXPECT_EQ(probe.container, "avi");
    EXPECT_EQ(probe.videoCodec, AV_CODEC_ID_MJPEG);
    EXPECT_EQ(probe.width, 320);
    EXPECT_EQ(probe.height, 240);
    EXPECT_EQ(probe.decodedFrames, 61);
    EXPECT_NEAR(probe.frameRate, 1e6 / 33333, 1e-3);
    expectWithinOneFrame(probe.videoSeconds(), 2, 30);
    ASSERT_TRUE(probe.hasAudio);
    EXPECT_EQ(probe.audioCodec, AV_CODEC_ID_PCM_S16LE);
    EXPECT_EQ(probe.channels, 2);
    EXPECT_EQ(probe.sampleRate, 44100);
    EXPECT_NEAR(probe.audioSeconds(), probe.videoSeconds(), 1.0 / 44100 + 1e-9);
}

TEST_F(RecordingTest, TheLiveSoundRestsWhileARecordingTakesTheSound) {
    auto output = std::make_unique<platform::sound::InMemoryPcmOutput>();
    auto* out = output.get();
    service().setLiveSoundOutput(std::move(output));
    ASSERT_TRUE(service().liveSoundPlaying());
    setUpRecording(25, 1, true, makePcmWaveFormat(1, 16, 22050));
    bool playedDuring = false;
    service().setSequenceObserver([&](std::uint32_t) {
        service().pumpLiveSound();
        playedDuring = playedDuring || service().liveSoundPlaying() || out->isOpen();
    });
    const std::size_t before = out->samples().size();
    ASSERT_EQ(record(folder / "Kelto.AVI", 0), 1);
    EXPECT_FALSE(playedDuring);
    EXPECT_EQ(out->samples().size(), before);
    const MediaProbe probe = probeMedia(folder / "Kelto.AVI");
    ASSERT_TRUE(probe.hasAudio);
    EXPECT_EQ(probe.channels, 1);
    EXPECT_EQ(probe.sampleRate, 22050);
    EXPECT_NEAR(probe.audioSeconds(), probe.videoSeconds(), 1.0 / 22050 + 1e-9);
    // Afterwards the live sound plays again, in its own format.
    EXPECT_TRUE(service().liveSoundPlaying());
    EXPECT_EQ(out->format(), (platform::sound::PcmFormat{48000, 2}));
    clock.advanceMs(20);
    service().pumpLiveSound();
    EXPECT_EQ(out->samples().size(), before + 960 * 2);
}

TEST_F(RecordingTest, UncompressedAviWithEightBitMonoSound) {
    service().setCompressor(VideoCompressor::Uncompressed);
    setUpRecording(25, 1, true, makePcmWaveFormat(1, 8, 11025));
    const auto path = folder / "Kelto.AVI";
    ASSERT_EQ(service().grabFrame(), 1);  // the moment of the first picture: the clock stands still until then
    ASSERT_EQ(record(path, 0), 1);

    const MediaProbe probe = probeMedia(path);
    ASSERT_TRUE(probe.opened);
    EXPECT_EQ(probe.videoCodec, AV_CODEC_ID_RAWVIDEO);
    EXPECT_EQ(probe.width, 160);
    EXPECT_EQ(probe.height, 120);
    EXPECT_EQ(probe.decodedFrames, 25);
    expectWithinOneFrame(probe.videoSeconds(), 1, 25);
    EXPECT_EQ(probe.audioCodec, AV_CODEC_ID_PCM_U8);
    EXPECT_EQ(probe.channels, 1);
    EXPECT_EQ(probe.sampleRate, 11025);
    EXPECT_EQ(probe.decodedSamples, 11025);
    // Upright and exact: the first picture's top and bottom rows are the driver's.
    const GrabbedFrame& frame = service().grabbedFrame();
    auto rgb = [&](int y) {
        const std::uint8_t* p = frame.pixels.data() + std::size_t(y) * frame.format.bytesPerRow();
        return unsigned(p[2]) << 16 | unsigned(p[1]) << 8 | p[0];
    };
    ASSERT_NE(rgb(0), rgb(119));
    EXPECT_EQ(probe.topLeftRgb, rgb(0));
    EXPECT_EQ(probe.bottomLeftRgb, rgb(119));
}

TEST_F(RecordingTest, MpegOneProgramStreamWithLayerTwoSound) {
    setUpRecording(30, 2, true, makePcmWaveFormat(2, 16, 44100));
    const auto path = folder / "MPGOne.MPG";
    ASSERT_EQ(record(path, 1), 1);

    const MediaProbe probe = probeMedia(path);
    ASSERT_TRUE(probe.opened);
    EXPECT_EQ(probe.container, "mpeg");
    EXPECT_EQ(probe.videoCodec, AV_CODEC_ID_MPEG1VIDEO);
    EXPECT_EQ(probe.width, 160);
    EXPECT_EQ(probe.height, 120);
    EXPECT_NEAR(probe.frameRate, 30, 1e-6);
    expectWithinOneFrame(probe.videoSeconds(), 2, 30);
    EXPECT_EQ(probe.audioCodec, AV_CODEC_ID_MP2);
    EXPECT_EQ(probe.channels, 2);
    EXPECT_EQ(probe.sampleRate, 44100);
    EXPECT_NEAR(probe.audioSeconds(), probe.videoSeconds(), 1152.0 / 44100);
}

TEST_F(RecordingTest, MpegTwoCarriesOtherFrameRatesAndResamplesLowSound) {
    setUpRecording(15, 2, true, makePcmWaveFormat(1, 16, 11025));
    const auto path = folder / "MPGTwo.MPG";
    ASSERT_EQ(record(path, 2), 1);
    EXPECT_EQ(service().lastSequence().pictures, 31u);

    const MediaProbe probe = probeMedia(path);
    ASSERT_TRUE(probe.opened);
    EXPECT_EQ(probe.container, "mpeg");
    EXPECT_EQ(probe.videoCodec, AV_CODEC_ID_MPEG2VIDEO);
    EXPECT_NEAR(probe.frameRate, 30, 1e-6);  // 15 frames/s shown as pictures repeated at 30
    expectWithinOneFrame(probe.videoSeconds(), 2, 15);
    EXPECT_EQ(probe.audioCodec, AV_CODEC_ID_MP2);
    EXPECT_EQ(probe.channels, 1);
    EXPECT_EQ(probe.sampleRate, 22050);
    EXPECT_NEAR(probe.audioSeconds(), probe.videoSeconds(), 1152.0 / 22050);
}

TEST_F(RecordingTest, NoSoundWhenAudioCaptureIsOff) {
    setUpRecording(10, 1, false);
    const auto path = folder / "Quiet.AVI";
    ASSERT_EQ(record(path, 0), 1);
    const MediaProbe probe = probeMedia(path);
    EXPECT_TRUE(probe.hasVideo);
    EXPECT_FALSE(probe.hasAudio);
    EXPECT_EQ(probe.decodedFrames, 10);
}

TEST_F(RecordingTest, EscapeOverTheViewerAbortsAndTheFileIsComplete) {
    setUpRecording(30, 60, true);
    service().setSequenceObserver([this](std::uint32_t index) {
        if (index == 29) QCoreApplication::postEvent(&viewer, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    });
    const auto path = folder / "Kelto.AVI";
    ASSERT_EQ(record(path, 0), 1);
    EXPECT_TRUE(service().lastSequence().aborted);
    EXPECT_EQ(service().lastSequence().pictures, 30u);
    const MediaProbe probe = probeMedia(path);
    EXPECT_EQ(probe.decodedFrames, 30);
    EXPECT_NEAR(probe.audioSeconds(), 1.0, 0.001);
}

TEST_F(RecordingTest, MouseButtonOverTheViewerAbortsButNotElsewhere) {
    setUpRecording(30, 2, false);
    QWidget elsewhere;
    const QPointF at(5, 5);
    service().setSequenceObserver([&](std::uint32_t index) {
        if (index == 5)  // another window: ignored
            QCoreApplication::postEvent(&elsewhere, new QMouseEvent(QEvent::MouseButtonPress, at, at, at, Qt::LeftButton,
                                                                    Qt::LeftButton, Qt::NoModifier));
        if (index == 10)  // a key that is not the abort key: ignored
            QCoreApplication::postEvent(&viewer, new QKeyEvent(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier));
        if (index == 20)
            QCoreApplication::postEvent(window->GetWindow(), new QMouseEvent(QEvent::MouseButtonPress, at, at, at,
                                                                             Qt::RightButton, Qt::RightButton,
                                                                             Qt::NoModifier));
    });
    ASSERT_EQ(record(folder / "Kelto.AVI", 0), 1);
    EXPECT_TRUE(service().lastSequence().aborted);
    EXPECT_EQ(service().lastSequence().pictures, 21u);
}

TEST_F(RecordingTest, TheLivePictureKeepsUpdatingDuringARecording) {
    setUpRecording(30, 2, false);
    CaptureWindowWidget& live = *window->GetWindow();
    const auto before = live.picturesPresented();
    ASSERT_EQ(record(folder / "Kelto.AVI", 0), 1);
    // One picture per 66 ms preview period: 2 s give 31.
    EXPECT_EQ(live.picturesPresented() - before, 31u);
}

TEST_F(RecordingTest, FailuresAnswerZeroAndLeaveOverlayOn) {
    setUpRecording(30, 1, true);
    EXPECT_EQ(record(folder / "missing" / "Kelto.AVI", 0), 0);
    EXPECT_FALSE(service().lastSequence().ok);

    // A second recording cannot start inside a running one.
    int nested = -1;
    service().setSequenceObserver([&](std::uint32_t index) {
        if (index == 0) nested = window->CaptureVideoStream((folder / "Inner.AVI").string(), 0);
    });
    EXPECT_EQ(record(folder / "Outer.AVI", 0), 1);
    EXPECT_EQ(nested, 0);
    EXPECT_FALSE(std::filesystem::exists(folder / "Inner.AVI"));
}

TEST_F(RecordingTest, SetUpAndSoundFormatRecordsAreValidated) {
    CaptureSequenceSetup setup;
    ASSERT_EQ(window->GetSequenceSetup(setup), 1);
    EXPECT_EQ(setup.requestMicroSecPerFrame, 33367u);  // the card's 29.97 frames/s
    EXPECT_EQ(setup.keyAbort, kVirtualKeyEscape);
    setup.requestMicroSecPerFrame = 0;
    EXPECT_EQ(window->SetSequenceSetup(setup), 0);
    setup.requestMicroSecPerFrame = 9999;
    EXPECT_EQ(window->SetSequenceSetup(setup), 0);
    setup.requestMicroSecPerFrame = 10101;  // 99 frames/s
    EXPECT_EQ(window->SetSequenceSetup(setup), 1);

    EXPECT_EQ(window->GetAudioFormatSize(), 18);
    WaveFormat wave = makePcmWaveFormat(3, 16, 44100);
    EXPECT_EQ(window->SetAudioFormat(std::as_bytes(std::span(&wave, 1))), 0);
    wave = makePcmWaveFormat(2, 16, 44100);
    wave.blockAlign = 2;  // inconsistent
    EXPECT_EQ(window->SetAudioFormat(std::as_bytes(std::span(&wave, 1))), 0);
    wave = makePcmWaveFormat(2, 16, 96000);
    EXPECT_EQ(window->SetAudioFormat(std::as_bytes(std::span(&wave, 1))), 0);
    wave = makePcmWaveFormat(1, 8, 22050);
    EXPECT_EQ(window->SetAudioFormat(std::as_bytes(std::span(&wave, 1)).first(15)), 0);  // too short
    EXPECT_EQ(window->SetAudioFormat(std::as_bytes(std::span(&wave, 1)).first(16)), 1);
    WaveFormat read{};
    EXPECT_EQ(window->GetAudioFormat(std::as_writable_bytes(std::span(&read, 1))), 18);
    EXPECT_EQ(read.channels, 1);
    EXPECT_EQ(read.bitsPerSample, 8);
    EXPECT_EQ(read.samplesPerSec, 22050u);
}

}  // namespace
}  // namespace kelto::capture::test
