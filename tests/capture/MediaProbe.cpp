#include "tests/capture/MediaProbe.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

#include <vector>

namespace kelto::capture::test {

namespace {

struct Decoder {
    AVCodecContext* context = nullptr;
    ~Decoder() { avcodec_free_context(&context); }
    bool open(const AVStream* stream) {
        const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
        if (!codec) return false;
        context = avcodec_alloc_context3(codec);
        return context && avcodec_parameters_to_context(context, stream->codecpar) >= 0 &&
               avcodec_open2(context, codec, nullptr) >= 0;
    }
};

unsigned pixelOf(const AVFrame* frame, int x, int y) {
    std::vector<std::uint8_t> rgb(std::size_t(frame->width) * frame->height * 3);
    SwsContext* sws = sws_getContext(frame->width, frame->height, AVPixelFormat(frame->format), frame->width,
                                     frame->height, AV_PIX_FMT_RGB24, SWS_POINT, nullptr, nullptr, nullptr);
    if (!sws) return 0;
    std::uint8_t* planes[1] = {rgb.data()};
    const int strides[1] = {frame->width * 3};
    sws_scale(sws, frame->data, frame->linesize, 0, frame->height, planes, strides);
    sws_freeContext(sws);
    const std::uint8_t* p = rgb.data() + (std::size_t(y) * frame->width + x) * 3;
    return unsigned(p[0]) << 16 | unsigned(p[1]) << 8 | p[2];
}

}  // namespace

MediaProbe probeMedia(const std::filesystem::path& path) {
    MediaProbe probe;
    AVFormatContext* input = nullptr;
    if (avformat_open_input(&input, path.c_str(), nullptr, nullptr) < 0) return probe;
    if (avformat_find_stream_info(input, nullptr) < 0) {
        avformat_close_input(&input);
        return probe;
    }
    probe.opened = true;
    probe.container = input->iformat->name;
    Decoder video, audio;
    int videoIndex = av_find_best_stream(input, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    int audioIndex = av_find_best_stream(input, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    if (videoIndex >= 0) {
        const AVStream* stream = input->streams[videoIndex];
        probe.hasVideo = true;
        probe.videoCodec = stream->codecpar->codec_id;
        probe.width = stream->codecpar->width;
        probe.height = stream->codecpar->height;
        const AVRational rate = stream->avg_frame_rate.num ? stream->avg_frame_rate : stream->r_frame_rate;
        probe.frameRate = rate.den ? av_q2d(rate) : 0;
        if (!video.open(stream)) videoIndex = -1;
    }
    if (audioIndex >= 0) {
        const AVStream* stream = input->streams[audioIndex];
        probe.hasAudio = true;
        probe.audioCodec = stream->codecpar->codec_id;
        probe.sampleRate = stream->codecpar->sample_rate;
        probe.channels = stream->codecpar->ch_layout.nb_channels;
        probe.bitsPerCodedSample = stream->codecpar->bits_per_coded_sample;
        if (!audio.open(stream)) audioIndex = -1;
    }

    AVPacket* packet = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    auto drain = [&](Decoder& decoder, bool isVideo) {
        while (avcodec_receive_frame(decoder.context, frame) == 0) {
            if (isVideo) {
                if (probe.decodedFrames++ == 0) {
                    probe.topLeftRgb = pixelOf(frame, 0, 0);
                    probe.bottomLeftRgb = pixelOf(frame, 0, frame->height - 1);
                }
            } else {
                probe.decodedSamples += frame->nb_samples;
            }
            av_frame_unref(frame);
        }
    };
    while (av_read_frame(input, packet) >= 0) {
        if (packet->stream_index == videoIndex) {
            avcodec_send_packet(video.context, packet);
            drain(video, true);
        } else if (packet->stream_index == audioIndex) {
            avcodec_send_packet(audio.context, packet);
            drain(audio, false);
        }
        av_packet_unref(packet);
    }
    if (videoIndex >= 0) {
        avcodec_send_packet(video.context, nullptr);
        drain(video, true);
    }
    if (audioIndex >= 0) {
        avcodec_send_packet(audio.context, nullptr);
        drain(audio, false);
    }
    av_frame_free(&frame);
    av_packet_free(&packet);
    avformat_close_input(&input);
    return probe;
}

}  // namespace kelto::capture::test
