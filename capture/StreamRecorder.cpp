#include "capture/StreamRecorder.h"

#include "capture/FfmpegSupport.h"

extern "C" {
#include <libavutil/audio_fifo.h>
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
}

#include <array>
#include <cmath>
#include <optional>

namespace kelto::capture {

namespace {

constexpr std::array<AVRational, 8> kMpegFrameRates = {
    AVRational{24000, 1001}, {24, 1}, {25, 1}, {30000, 1001}, {30, 1}, {50, 1}, {60000, 1001}, {60, 1}};

// The MPEG frame rate that carries a capture rate: one it is (nearly) a whole multiple of when
// there is one, else the smallest above it, else the fastest.
AVRational mpegFrameRateFor(double captureRate) {
    constexpr double kTolerance = 0.0005;
    for (const AVRational rate : kMpegFrameRates) {
        const double ratio = av_q2d(rate) / captureRate;
        const double whole = std::round(ratio);
        if (whole >= 1 && std::fabs(ratio - whole) <= kTolerance * whole) return rate;
    }
    for (const AVRational rate : kMpegFrameRates)
        if (av_q2d(rate) >= captureRate) return rate;
    return kMpegFrameRates.back();
}

// Layer II sound rates: the chosen one when it has it, otherwise twice it (11025 -> 22050,
// 8000 -> 16000), otherwise the nearest.
int layerTwoRateFor(int rate) {
    constexpr std::array<int, 6> kRates = {16000, 22050, 24000, 32000, 44100, 48000};
    for (int r : kRates)
        if (r == rate) return rate;
    for (int r : kRates)
        if (r == 2 * rate) return r;
    int best = kRates.front();
    for (int r : kRates)
        if (std::abs(r - rate) < std::abs(best - rate)) best = r;
    return best;
}

}  // namespace

class StreamRecorder::Impl {
public:
    ~Impl() { release(); }

    bool open(const std::filesystem::path& path, const RecordingFormat& format);
    bool addVideoFrame(std::span<const std::uint8_t> pixels);
    bool addSound(std::span<const std::int16_t> samples);
    bool finish();

    std::string error;
    std::uint64_t captured = 0;

private:
    bool fail(const std::string& what, int code = 0) {
        error = code ? what + ": " + ffmpeg::errorText(code) : what;
        return false;
    }
    bool openVideo();
    bool openAudio();
    bool encode(AVCodecContext* context, AVStream* stream, AVFrame* frame);
    bool encodeAudioFromFifo(bool flushing);
    void release();

    RecordingFormat format_;
    AVFormatContext* output_ = nullptr;
    bool headerWritten_ = false;
    bool finished_ = false;

    ffmpeg::CodecContextPtr video_;
    AVStream* videoStream_ = nullptr;
    std::unique_ptr<ffmpeg::FrameConverter> converter_;
    AVRational videoRate_{};  // pictures per second of the file
    std::int64_t nextVideoPts_ = 0;

    ffmpeg::CodecContextPtr audio_;
    AVStream* audioStream_ = nullptr;
    SwrContext* resampler_ = nullptr;
    AVAudioFifo* fifo_ = nullptr;
    ffmpeg::FramePtr audioFrame_;
    int audioChunk_ = 0;
    std::int64_t nextAudioPts_ = 0;

    ffmpeg::PacketPtr packet_;
};

bool StreamRecorder::Impl::open(const std::filesystem::path& path, const RecordingFormat& format) {
    ffmpeg::quietLogging();
    format_ = format;
    if (format.framePeriodUs == 0 || format.frame.width == 0 || format.frame.height == 0)
        return fail("no picture format");
    if (format.audio && !isRecordablePcm(format.wave)) return fail("sound format cannot be recorded");

    const char* muxer = format.type == RecordingType::Mpeg1 ? "mpeg" : format.type == RecordingType::Mpeg2 ? "vob" : "avi";
    const std::string file = path.string();
    int code = avformat_alloc_output_context2(&output_, nullptr, muxer, file.c_str());
    if (code < 0 || !output_) return fail("no container", code);
    packet_.reset(av_packet_alloc());
    if (!packet_) return fail("out of memory");
    if (!openVideo()) return false;
    if (format.audio && !openAudio()) return false;

    if (!(output_->oformat->flags & AVFMT_NOFILE)) {
        code = avio_open(&output_->pb, file.c_str(), AVIO_FLAG_WRITE);
        if (code < 0) return fail("cannot write " + file, code);
    }
    code = avformat_write_header(output_, nullptr);
    if (code < 0) return fail("cannot start the file", code);
    headerWritten_ = true;
    return true;
}

bool StreamRecorder::Impl::openVideo() {
    AVCodecID codecId = AV_CODEC_ID_MJPEG;
    AVPixelFormat pixelFormat = AV_PIX_FMT_YUVJ420P;
    bool fullRange = true;
    const double captureRate = 1'000'000.0 / double(format_.framePeriodUs);
    switch (format_.type) {
    case RecordingType::Avi:
        if (format_.compressor == VideoCompressor::Uncompressed) {
            codecId = AV_CODEC_ID_RAWVIDEO;
            pixelFormat = AV_PIX_FMT_BGR24;
        }
        videoRate_ = av_make_q(1'000'000, int(format_.framePeriodUs));
        break;
    case RecordingType::Mpeg1:
    case RecordingType::Mpeg2:
        codecId = format_.type == RecordingType::Mpeg1 ? AV_CODEC_ID_MPEG1VIDEO : AV_CODEC_ID_MPEG2VIDEO;
        pixelFormat = AV_PIX_FMT_YUV420P;
        fullRange = false;
        videoRate_ = mpegFrameRateFor(captureRate);
        break;
    }
    av_reduce(&videoRate_.num, &videoRate_.den, videoRate_.num, videoRate_.den, INT32_MAX);

    const AVCodec* codec = avcodec_find_encoder(codecId);
    if (!codec) return fail("no video encoder");
    video_.reset(avcodec_alloc_context3(codec));
    if (!video_) return fail("out of memory");
    AVCodecContext* c = video_.get();
    c->width = int(format_.frame.width);
    c->height = int(format_.frame.height);
    c->pix_fmt = pixelFormat;
    c->time_base = av_inv_q(videoRate_);
    c->framerate = videoRate_;
    c->thread_count = 1;
    c->sample_aspect_ratio = {1, 1};
    if (codecId == AV_CODEC_ID_MJPEG) {
        c->color_range = AVCOL_RANGE_JPEG;
        c->flags |= AV_CODEC_FLAG_QSCALE;
        c->global_quality = FF_QP2LAMBDA * 4;
    } else if (codecId != AV_CODEC_ID_RAWVIDEO) {
        // About 0.25 bits per pixel (MPEG-1) and 0.35 (MPEG-2): 2.3 and 3.2 Mbit/s at 640x480x30.
        const double bitsPerPixel = format_.type == RecordingType::Mpeg1 ? 0.25 : 0.35;
        c->bit_rate = std::int64_t(bitsPerPixel * c->width * c->height * av_q2d(videoRate_));
        c->rc_max_rate = 0;
        c->gop_size = 15;
        c->max_b_frames = 2;
    }
    if (output_->oformat->flags & AVFMT_GLOBALHEADER) c->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    int code = avcodec_open2(c, codec, nullptr);
    if (code < 0) return fail("cannot open the video encoder", code);

    videoStream_ = avformat_new_stream(output_, nullptr);
    if (!videoStream_) return fail("out of memory");
    videoStream_->time_base = c->time_base;
    videoStream_->avg_frame_rate = videoRate_;
    videoStream_->r_frame_rate = videoRate_;
    code = avcodec_parameters_from_context(videoStream_->codecpar, c);
    if (code < 0) return fail("video stream", code);

    converter_ = std::make_unique<ffmpeg::FrameConverter>(format_.frame, pixelFormat, fullRange);
    if (!converter_->valid()) return fail("no picture converter");
    return true;
}

bool StreamRecorder::Impl::openAudio() {
    const WaveFormat& wave = format_.wave;
    const bool layerTwo = format_.type != RecordingType::Avi;
    const AVCodecID codecId = layerTwo ? AV_CODEC_ID_MP2 : wave.bitsPerSample == 8 ? AV_CODEC_ID_PCM_U8 : AV_CODEC_ID_PCM_S16LE;
    const AVCodec* codec = avcodec_find_encoder(codecId);
    if (!codec) return fail("no sound encoder");
    audio_.reset(avcodec_alloc_context3(codec));
    if (!audio_) return fail("out of memory");
    AVCodecContext* c = audio_.get();
    c->sample_fmt = codecId == AV_CODEC_ID_PCM_U8 ? AV_SAMPLE_FMT_U8 : AV_SAMPLE_FMT_S16;
    c->sample_rate = layerTwo ? layerTwoRateFor(int(wave.samplesPerSec)) : int(wave.samplesPerSec);
    av_channel_layout_default(&c->ch_layout, wave.channels);
    c->time_base = {1, c->sample_rate};
    c->thread_count = 1;
    if (layerTwo) c->bit_rate = (c->sample_rate >= 32000 ? 96'000 : 48'000) * wave.channels;
    if (output_->oformat->flags & AVFMT_GLOBALHEADER) c->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    int code = avcodec_open2(c, codec, nullptr);
    if (code < 0) return fail("cannot open the sound encoder", code);

    audioStream_ = avformat_new_stream(output_, nullptr);
    if (!audioStream_) return fail("out of memory");
    audioStream_->time_base = c->time_base;
    code = avcodec_parameters_from_context(audioStream_->codecpar, c);
    if (code < 0) return fail("sound stream", code);

    AVChannelLayout inputLayout{};
    av_channel_layout_default(&inputLayout, wave.channels);
    code = swr_alloc_set_opts2(&resampler_, &c->ch_layout, c->sample_fmt, c->sample_rate, &inputLayout,
                               AV_SAMPLE_FMT_S16, int(wave.samplesPerSec), 0, nullptr);
    av_channel_layout_uninit(&inputLayout);
    if (code < 0 || !resampler_ || (code = swr_init(resampler_)) < 0) return fail("no sound converter", code);

    audioChunk_ = c->frame_size > 0 ? c->frame_size : 1024;
    fifo_ = av_audio_fifo_alloc(c->sample_fmt, wave.channels, audioChunk_ * 4);
    audioFrame_.reset(av_frame_alloc());
    if (!fifo_ || !audioFrame_) return fail("out of memory");
    return true;
}

bool StreamRecorder::Impl::encode(AVCodecContext* context, AVStream* stream, AVFrame* frame) {
    int code = avcodec_send_frame(context, frame);
    if (code < 0) return fail("encoding failed", code);
    while ((code = avcodec_receive_packet(context, packet_.get())) == 0) {
        av_packet_rescale_ts(packet_.get(), context->time_base, stream->time_base);
        packet_->stream_index = stream->index;
        code = av_interleaved_write_frame(output_, packet_.get());
        if (code < 0) return fail("writing the file failed", code);
    }
    if (code != AVERROR(EAGAIN) && code != AVERROR_EOF) return fail("encoding failed", code);
    return true;
}

bool StreamRecorder::Impl::addVideoFrame(std::span<const std::uint8_t> pixels) {
    if (finished_ || !headerWritten_) return fail("the file is not open");
    AVFrame* frame = converter_->convert(pixels);
    if (!frame) return fail("picture conversion failed");
    ++captured;
    // The file's pictures whose display time starts before this capture picture's end.
    const std::int64_t endUs = std::int64_t(captured) * format_.framePeriodUs;
    while (nextVideoPts_ * 1'000'000 * videoRate_.den < endUs * videoRate_.num) {
        frame->pts = nextVideoPts_++;
        if (video_->global_quality) frame->quality = video_->global_quality;
        if (!encode(video_.get(), videoStream_, frame)) return false;
    }
    return true;
}

bool StreamRecorder::Impl::encodeAudioFromFifo(bool flushing) {
    while (av_audio_fifo_size(fifo_) >= audioChunk_ || (flushing && av_audio_fifo_size(fifo_) > 0)) {
        const int available = av_audio_fifo_size(fifo_);
        const bool fixedSize = audio_->frame_size > 0 &&
                               !(audio_->codec->capabilities & AV_CODEC_CAP_VARIABLE_FRAME_SIZE);
        const int count = std::min(available, audioChunk_);
        av_frame_unref(audioFrame_.get());
        audioFrame_->format = audio_->sample_fmt;
        audioFrame_->sample_rate = audio_->sample_rate;
        audioFrame_->nb_samples = fixedSize ? audioChunk_ : count;
        if (av_channel_layout_copy(&audioFrame_->ch_layout, &audio_->ch_layout) < 0 ||
            av_frame_get_buffer(audioFrame_.get(), 0) < 0)
            return fail("out of memory");
        if (count < audioFrame_->nb_samples)  // the last frame of a fixed-size codec: pad with silence
            av_samples_set_silence(audioFrame_->data, count, audioFrame_->nb_samples - count,
                                   audio_->ch_layout.nb_channels, audio_->sample_fmt);
        if (av_audio_fifo_read(fifo_, reinterpret_cast<void**>(audioFrame_->data), count) < count)
            return fail("sound buffer failed");
        audioFrame_->pts = nextAudioPts_;
        nextAudioPts_ += audioFrame_->nb_samples;
        if (!encode(audio_.get(), audioStream_, audioFrame_.get())) return false;
    }
    return true;
}

bool StreamRecorder::Impl::addSound(std::span<const std::int16_t> samples) {
    if (finished_ || !headerWritten_) return fail("the file is not open");
    if (!audio_) return true;
    const int channels = format_.wave.channels;
    const int inputCount = int(samples.size() / std::size_t(channels));
    if (inputCount == 0) return true;
    const int outputCapacity = swr_get_out_samples(resampler_, inputCount);
    if (outputCapacity < 0) return fail("sound conversion failed");
    std::uint8_t** converted = nullptr;
    if (av_samples_alloc_array_and_samples(&converted, nullptr, channels, outputCapacity, audio_->sample_fmt, 0) < 0)
        return fail("out of memory");
    const std::uint8_t* input[1] = {reinterpret_cast<const std::uint8_t*>(samples.data())};
    const int produced = swr_convert(resampler_, converted, outputCapacity, input, inputCount);
    bool ok = produced >= 0;
    if (ok && produced > 0) ok = av_audio_fifo_write(fifo_, reinterpret_cast<void**>(converted), produced) == produced;
    av_freep(&converted[0]);
    av_freep(&converted);
    if (!ok) return fail("sound conversion failed");
    return encodeAudioFromFifo(false);
}

bool StreamRecorder::Impl::finish() {
    if (finished_) return error.empty();
    finished_ = true;
    if (!headerWritten_) return false;
    bool ok = true;
    if (audio_) {
        // What the resampler still holds, then everything left in the buffer.
        const int pending = swr_get_out_samples(resampler_, 0);
        if (pending > 0) {
            std::uint8_t** converted = nullptr;
            if (av_samples_alloc_array_and_samples(&converted, nullptr, format_.wave.channels, pending,
                                                   audio_->sample_fmt, 0) >= 0) {
                const int produced = swr_convert(resampler_, converted, pending, nullptr, 0);
                if (produced > 0) av_audio_fifo_write(fifo_, reinterpret_cast<void**>(converted), produced);
                av_freep(&converted[0]);
                av_freep(&converted);
            }
        }
        ok = encodeAudioFromFifo(true) && encode(audio_.get(), audioStream_, nullptr);
    }
    ok = encode(video_.get(), videoStream_, nullptr) && ok;
    const int code = av_write_trailer(output_);
    if (code < 0) ok = fail("cannot complete the file", code);
    if (output_->pb && !(output_->oformat->flags & AVFMT_NOFILE)) avio_closep(&output_->pb);
    return ok;
}

void StreamRecorder::Impl::release() {
    if (headerWritten_ && !finished_) finish();
    if (output_) {
        if (output_->pb && !(output_->oformat->flags & AVFMT_NOFILE)) avio_closep(&output_->pb);
        avformat_free_context(output_);
        output_ = nullptr;
    }
    swr_free(&resampler_);
    if (fifo_) av_audio_fifo_free(fifo_);
    fifo_ = nullptr;
}

std::unique_ptr<StreamRecorder> StreamRecorder::create(const std::filesystem::path& path, const RecordingFormat& format,
                                                       std::string* error) {
    auto impl = std::make_unique<Impl>();
    if (!impl->open(path, format)) {
        if (error) *error = impl->error;
        return nullptr;
    }
    return std::unique_ptr<StreamRecorder>(new StreamRecorder(std::move(impl)));
}

StreamRecorder::StreamRecorder(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
StreamRecorder::~StreamRecorder() = default;

bool StreamRecorder::addVideoFrame(std::span<const std::uint8_t> pixels) { return impl_->addVideoFrame(pixels); }
bool StreamRecorder::addSound(std::span<const std::int16_t> samples) { return impl_->addSound(samples); }
bool StreamRecorder::finish() { return impl_->finish(); }
const std::string& StreamRecorder::lastError() const { return impl_->error; }
std::uint64_t StreamRecorder::capturedFrames() const { return impl_->captured; }

}  // namespace kelto::capture
