#include "cardsim/VideoFileProgramme.h"

#include "cardsim/SoundSynthesizer.h"
#include "platform/Trace.h"

#include <algorithm>
#include <cmath>
#include <map>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/imgutils.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

namespace kelto::cardsim {

namespace {

constexpr int kSoundRateHz = 48000;

std::string errorText(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return text;
}

struct FormatCloser {
    void operator()(AVFormatContext* c) const { avformat_close_input(&c); }
};
struct CodecCloser {
    void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
};
struct FrameCloser {
    void operator()(AVFrame* f) const { av_frame_free(&f); }
};
struct PacketCloser {
    void operator()(AVPacket* p) const { av_packet_free(&p); }
};
using FormatPtr = std::unique_ptr<AVFormatContext, FormatCloser>;
using CodecPtr = std::unique_ptr<AVCodecContext, CodecCloser>;
using FramePtr = std::unique_ptr<AVFrame, FrameCloser>;
using PacketPtr = std::unique_ptr<AVPacket, PacketCloser>;

FormatPtr openInput(const std::filesystem::path& file) {
    AVFormatContext* raw = nullptr;
    if (const int rc = avformat_open_input(&raw, file.c_str(), nullptr, nullptr); rc < 0) {
        platform::tracef("Card: cannot open the programme file %s: %s", file.c_str(), errorText(rc).c_str());
        return nullptr;
    }
    FormatPtr format(raw);
    if (avformat_find_stream_info(raw, nullptr) < 0) return nullptr;
    return format;
}

CodecPtr openCodec(AVStream* stream) {
    const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
    if (!codec) return nullptr;
    CodecPtr context(avcodec_alloc_context3(codec));
    if (!context || avcodec_parameters_to_context(context.get(), stream->codecpar) < 0) return nullptr;
    if (avcodec_open2(context.get(), codec, nullptr) < 0) return nullptr;
    return context;
}

// Decodes the whole sound track (up to the limit) as 48 kHz interleaved stereo.
std::vector<std::int16_t> decodeSound(const std::filesystem::path& file) {
    std::vector<std::int16_t> samples;
    FormatPtr format = openInput(file);
    if (!format) return samples;
    const int index = av_find_best_stream(format.get(), AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    if (index < 0) return samples;
    CodecPtr codec = openCodec(format->streams[index]);
    if (!codec) return samples;
    SwrContext* resampler = nullptr;
    AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;
    if (swr_alloc_set_opts2(&resampler, &stereo, AV_SAMPLE_FMT_S16, kSoundRateHz, &codec->ch_layout,
                            codec->sample_fmt, codec->sample_rate, 0, nullptr) < 0 ||
        swr_init(resampler) < 0) {
        swr_free(&resampler);
        return samples;
    }
    const std::size_t limit = std::size_t(VideoFileProgramme::kMaxSoundSeconds * kSoundRateHz) * 2;
    PacketPtr packet(av_packet_alloc());
    FramePtr frame(av_frame_alloc());
    auto drain = [&] {
        while (avcodec_receive_frame(codec.get(), frame.get()) == 0) {
            const int room = swr_get_out_samples(resampler, frame->nb_samples);
            if (room <= 0) continue;
            const std::size_t at = samples.size();
            samples.resize(at + std::size_t(room) * 2);
            std::uint8_t* out = reinterpret_cast<std::uint8_t*>(samples.data() + at);
            const int got = swr_convert(resampler, &out, room, const_cast<const std::uint8_t**>(frame->extended_data),
                                        frame->nb_samples);
            samples.resize(at + std::size_t(std::max(got, 0)) * 2);
        }
    };
    while (samples.size() < limit && av_read_frame(format.get(), packet.get()) >= 0) {
        if (packet->stream_index == index && avcodec_send_packet(codec.get(), packet.get()) >= 0) drain();
        av_packet_unref(packet.get());
    }
    avcodec_send_packet(codec.get(), nullptr);
    drain();
    swr_free(&resampler);
    if (samples.size() > limit) samples.resize(limit);
    return samples;
}

}  // namespace

// Sequential picture decoding: frames are decoded forward from the last position; a moment
// before it (the loop starting again) seeks back to the start. `current` is the picture on
// screen (the last one due), `ahead` a decoded one that is not due yet.
struct VideoFileProgramme::Decoder {
    FormatPtr format;
    CodecPtr codec;
    int streamIndex = -1;
    double timeBase = 0;
    PacketPtr packet{av_packet_alloc()};
    FramePtr decoded{av_frame_alloc()};
    FramePtr current{av_frame_alloc()};
    FramePtr ahead{av_frame_alloc()};
    double currentPts = -1;
    double aheadPts = -1;
    SwsContext* scaler = nullptr;

    ~Decoder() { sws_freeContext(scaler); }

    double ptsOf(const AVFrame* frame) const {
        const std::int64_t pts = frame->best_effort_timestamp == AV_NOPTS_VALUE ? 0 : frame->best_effort_timestamp;
        return double(pts) * timeBase;
    }

    void show(AVFrame* frame, double pts) {
        av_frame_unref(current.get());
        av_frame_move_ref(current.get(), frame);
        currentPts = pts;
    }

    bool rewind() {
        av_frame_unref(current.get());
        av_frame_unref(ahead.get());
        currentPts = aheadPts = -1;
        if (av_seek_frame(format.get(), streamIndex, 0, AVSEEK_FLAG_BACKWARD) < 0) return false;
        avcodec_flush_buffers(codec.get());
        return true;
    }

    // Brings the picture due at `position` seconds into `current`; false when none decodes.
    bool decodeTo(double position) {
        constexpr double kSlack = 1e-6;
        if (currentPts > position + kSlack && !rewind()) return false;
        if (aheadPts >= 0) {
            if (aheadPts > position + kSlack) return currentPts >= 0;
            show(ahead.get(), aheadPts);
            aheadPts = -1;
        }
        for (;;) {
            const int rc = avcodec_receive_frame(codec.get(), decoded.get());
            if (rc == 0) {
                const double pts = ptsOf(decoded.get());
                if (currentPts < 0 || pts <= position + kSlack) {
                    show(decoded.get(), pts);
                    continue;
                }
                av_frame_unref(ahead.get());
                av_frame_move_ref(ahead.get(), decoded.get());
                aheadPts = pts;
                return true;
            }
            if (rc != AVERROR(EAGAIN)) return currentPts >= 0;  // the end: the last picture stays
            if (av_read_frame(format.get(), packet.get()) < 0) {
                avcodec_send_packet(codec.get(), nullptr);
                continue;
            }
            if (packet->stream_index == streamIndex) avcodec_send_packet(codec.get(), packet.get());
            av_packet_unref(packet.get());
        }
    }

    bool scaleInto(int width, int height, std::uint32_t* pixels) {
        scaler = sws_getCachedContext(scaler, current->width, current->height, AVPixelFormat(current->format), width,
                                      height, AV_PIX_FMT_BGRA, SWS_BILINEAR, nullptr, nullptr, nullptr);
        if (!scaler) return false;
        std::uint8_t* planes[4] = {reinterpret_cast<std::uint8_t*>(pixels), nullptr, nullptr, nullptr};
        int strides[4] = {width * 4, 0, 0, 0};
        sws_scale(scaler, current->data, current->linesize, 0, current->height, planes, strides);
        // BGRA bytes read as a little-endian word are 0xAARRGGBB; make the alpha opaque.
        for (std::size_t i = 0, n = std::size_t(width) * std::size_t(height); i < n; ++i) pixels[i] |= 0xFF000000u;
        return true;
    }
};

std::shared_ptr<VideoFileProgramme> VideoFileProgramme::open(const std::filesystem::path& file) {
    // Programmes stay open for the process, and a file that failed is not tried again.
    static std::mutex cacheMutex;
    static std::map<std::filesystem::path, std::shared_ptr<VideoFileProgramme>> cache;
    std::lock_guard lock(cacheMutex);
    if (auto found = cache.find(file); found != cache.end()) return found->second;
    auto& slot = cache[file];

    auto decoder = std::make_unique<Decoder>();
    decoder->format = openInput(file);
    if (!decoder->format) return nullptr;
    decoder->streamIndex = av_find_best_stream(decoder->format.get(), AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (decoder->streamIndex < 0) {
        platform::tracef("Card: the programme file %s has no picture", file.c_str());
        return nullptr;
    }
    AVStream* stream = decoder->format->streams[decoder->streamIndex];
    decoder->codec = openCodec(stream);
    if (!decoder->codec) {
        platform::tracef("Card: cannot decode the picture of %s", file.c_str());
        return nullptr;
    }
    decoder->timeBase = av_q2d(stream->time_base);
    double duration = stream->duration != AV_NOPTS_VALUE ? double(stream->duration) * decoder->timeBase
                                                         : double(decoder->format->duration) / AV_TIME_BASE;
    if (!(duration > 0)) duration = 1.0;
    slot.reset(new VideoFileProgramme(std::move(decoder), duration, decodeSound(file)));
    return slot;
}

VideoFileProgramme::VideoFileProgramme(std::unique_ptr<Decoder> decoder, double durationSeconds,
                                       std::vector<std::int16_t> sound)
    : decoder_(std::move(decoder)), durationSeconds_(durationSeconds), sound_(std::move(sound)) {}

VideoFileProgramme::~VideoFileProgramme() = default;

double VideoFileProgramme::positionOf(std::chrono::system_clock::time_point time) const {
    const double seconds = std::chrono::duration<double>(time.time_since_epoch()).count();
    const double position = std::fmod(seconds, durationSeconds_);
    return position < 0 ? position + durationSeconds_ : position;
}

bool VideoFileProgramme::frameAt(std::chrono::system_clock::time_point time, int width, int height, std::uint32_t* pixels) {
    std::lock_guard lock(mutex_);
    if (!decoder_->decodeTo(positionOf(time))) return false;
    return decoder_->scaleInto(width, height, pixels);
}

void VideoFileProgramme::soundAt(std::chrono::system_clock::time_point start, std::uint32_t sampleRateHz, int channels,
                                 std::span<std::int16_t> out) const {
    const std::size_t frames = out.size() / std::size_t(channels);
    const std::size_t soundFrames = sound_.size() / 2;
    if (soundFrames == 0 || sampleRateHz == 0) {
        std::fill(out.begin(), out.end(), std::int16_t(0));
        return;
    }
    const std::uint64_t first = SoundSynthesizer::sampleIndexAt(start, sampleRateHz);
    for (std::size_t i = 0; i < frames; ++i) {
        // The sample of the requested rate maps to the nearest one of the 48 kHz track.
        const std::uint64_t index = std::uint64_t((unsigned __int128)(first + i) * kSoundRateHz / sampleRateHz % soundFrames);
        const std::int16_t left = sound_[index * 2], right = sound_[index * 2 + 1];
        if (channels == 1) out[i] = std::int16_t((int(left) + int(right)) / 2);
        else {
            out[i * 2] = left;
            out[i * 2 + 1] = right;
        }
    }
}

}  // namespace kelto::cardsim
