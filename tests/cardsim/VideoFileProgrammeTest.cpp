// Stations whose programme is a video file: the picture and sound of the moment come from the
// file, looping; a file that cannot be decoded leaves the station on its test card.
#include "tests/cardsim/CardFixture.h"
#include "tests/support/TestRoot.h"

#include "cardsim/BrooktreeCaptureDriver.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
}

namespace kelto::cardsim::test {
namespace {

constexpr int kWidth = 160, kHeight = 120, kFps = 5, kFrames = 10, kRateHz = 48000;

// Writes a 2-second AVI: red pictures and a positive sound level in the first second, blue
// pictures and a negative level in the second.
void writeClip(const std::string& path) {
    AVFormatContext* out = nullptr;
    ASSERT_GE(avformat_alloc_output_context2(&out, nullptr, "avi", path.c_str()), 0);
    auto addStream = [&](AVCodecID id, auto configure) {
        const AVCodec* codec = avcodec_find_encoder(id);
        AVStream* stream = avformat_new_stream(out, nullptr);
        AVCodecContext* context = avcodec_alloc_context3(codec);
        configure(context);
        EXPECT_GE(avcodec_open2(context, codec, nullptr), 0);
        avcodec_parameters_from_context(stream->codecpar, context);
        stream->time_base = context->time_base;
        return std::pair{stream, context};
    };
    auto [videoStream, video] = addStream(AV_CODEC_ID_RAWVIDEO, [](AVCodecContext* c) {
        c->width = kWidth;
        c->height = kHeight;
        c->pix_fmt = AV_PIX_FMT_BGR24;
        c->time_base = {1, kFps};
    });
    auto [audioStream, audio] = addStream(AV_CODEC_ID_PCM_S16LE, [](AVCodecContext* c) {
        c->sample_fmt = AV_SAMPLE_FMT_S16;
        c->sample_rate = kRateHz;
        c->ch_layout = AV_CHANNEL_LAYOUT_MONO;
        c->time_base = {1, kRateHz};
    });
    ASSERT_GE(avio_open(&out->pb, path.c_str(), AVIO_FLAG_WRITE), 0);
    ASSERT_GE(avformat_write_header(out, nullptr), 0);
    AVPacket* packet = av_packet_alloc();
    auto drain = [&](AVCodecContext* context, AVStream* stream) {
        while (avcodec_receive_packet(context, packet) == 0) {
            av_packet_rescale_ts(packet, context->time_base, stream->time_base);
            packet->stream_index = stream->index;
            av_interleaved_write_frame(out, packet);
        }
    };
    AVFrame* frame = av_frame_alloc();
    for (int i = 0; i < kFrames; ++i) {
        frame->format = AV_PIX_FMT_BGR24;
        frame->width = kWidth;
        frame->height = kHeight;
        av_frame_get_buffer(frame, 0);
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                std::uint8_t* p = frame->data[0] + y * frame->linesize[0] + x * 3;
                p[0] = i < kFrames / 2 ? 0 : 255;    // blue
                p[1] = 0;                            // green
                p[2] = i < kFrames / 2 ? 255 : 0;    // red
            }
        frame->pts = i;
        avcodec_send_frame(video, frame);
        drain(video, videoStream);
        av_frame_unref(frame);
    }
    for (int second = 0; second < 2; ++second)
        for (int block = 0; block < 10; ++block) {
            frame->format = AV_SAMPLE_FMT_S16;
            frame->nb_samples = kRateHz / 10;
            frame->ch_layout = AV_CHANNEL_LAYOUT_MONO;
            frame->sample_rate = kRateHz;
            av_frame_get_buffer(frame, 0);
            auto* samples = reinterpret_cast<std::int16_t*>(frame->data[0]);
            std::fill(samples, samples + frame->nb_samples, std::int16_t(second == 0 ? 8000 : -8000));
            frame->pts = (second * 10 + block) * (kRateHz / 10);
            avcodec_send_frame(audio, frame);
            drain(audio, audioStream);
            av_frame_unref(frame);
        }
    avcodec_send_frame(video, nullptr);
    drain(video, videoStream);
    avcodec_send_frame(audio, nullptr);
    drain(audio, audioStream);
    av_write_trailer(out);
    av_frame_free(&frame);
    av_packet_free(&packet);
    avcodec_free_context(&video);
    avcodec_free_context(&audio);
    avio_closep(&out->pb);
    avformat_free_context(out);
}

class VideoFileProgrammeTest : public CardFixture {
protected:
    void startWith(const std::filesystem::path& file) {
        Station station = tvStation(55'250'000, "FILM 2");
        station.picture = PictureKind::VideoFile;
        station.videoFile = file;
        buildCard({.chip = ChipKind::Bt848, .tuner = TunerKind::Philips}, {station});
        const BtVid& btvid = loadBtVid();
        for (int bit = 0; bit < 4; ++bit) ASSERT_EQ(btvid.SetGPOEBit(bit, 1), 0);
        ASSERT_EQ(btvid.SetGPDATABits(0, 3, 1, 0), 0);  // the tuner's sound
        clock.setNow(std::chrono::system_clock::time_point(std::chrono::milliseconds(100)));
        tune(0xC0, dividerFor(45.75, 55.25, 0));
        clock.advanceMs(PllTuner::kTvSettleMs);
        ASSERT_EQ(registerCaptureDriver(), 0u);
        driver = CaptureDriverList::create(0);
        ASSERT_TRUE(driver && driver->open());
        ASSERT_TRUE(driver->setFrameFormat({320, 240, 32}));
    }
    void TearDown() override {
        driver.reset();
        CaptureDriverList::clear();
        CardFixture::TearDown();
    }
    std::uint32_t centrePixel() {
        std::vector<std::uint32_t> pixels(320 * 240);
        EXPECT_TRUE(driver->grabFrame(std::span(reinterpret_cast<std::uint8_t*>(pixels.data()), pixels.size() * 4)));
        return pixels[120 * 320 + 160];
    }
    std::int16_t soundLevel() {
        std::vector<std::int16_t> samples(800);
        EXPECT_TRUE(driver->readSound(clock.now(), samples));
        return samples[400];
    }

    kelto::test::TemporaryFolder dir;
    std::unique_ptr<CaptureDriver> driver;
};

TEST_F(VideoFileProgrammeTest, PictureAndSoundFollowTheFileAndLoop) {
    const auto clip = dir / "clip.avi";
    writeClip(clip.string());
    startWith(clip);
    EXPECT_EQ(centrePixel(), 0xFFFF0000u);  // red, 0.12 s into the file
    EXPECT_GT(soundLevel(), 5000);  // 8000, spread from mono over two channels (-3 dB)
    clock.advanceMs(1000);
    EXPECT_EQ(centrePixel(), 0xFF0000FFu);  // blue, in its second second
    EXPECT_LT(soundLevel(), -5000);
    clock.advanceMs(1000);
    EXPECT_EQ(centrePixel(), 0xFFFF0000u);  // the file starts again
}

TEST_F(VideoFileProgrammeTest, AFileThatDoesNotDecodeLeavesTheTestCard) {
    kelto::test::writeFile(dir / "broken.avi", "not a video at all");
    startWith(dir / "broken.avi");
    const std::uint32_t pixel = centrePixel();
    EXPECT_NE(pixel, 0xFFFF0000u);
    EXPECT_NE(pixel, 0u);
}

}  // namespace
}  // namespace kelto::cardsim::test
