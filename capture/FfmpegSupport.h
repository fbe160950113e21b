#pragma once
// Small helpers over FFmpeg's C libraries: owners that free what FFmpeg allocated, error texts,
// and a converter from the driver's picture formats to the encoders' planar formats.
extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/frame.h>
#include <libswscale/swscale.h>
}

#include "drivers/CaptureDriver.h"

#include <memory>
#include <span>
#include <string>

namespace kelto::capture::ffmpeg {

struct CodecContextFree {
    void operator()(AVCodecContext* context) const { avcodec_free_context(&context); }
};
struct FrameFree {
    void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};
struct PacketFree {
    void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};
using CodecContextPtr = std::unique_ptr<AVCodecContext, CodecContextFree>;
using FramePtr = std::unique_ptr<AVFrame, FrameFree>;
using PacketPtr = std::unique_ptr<AVPacket, PacketFree>;

// FFmpeg's text for an error code.
std::string errorText(int code);
// Keeps FFmpeg's own log to errors (once per process).
void quietLogging();

// The FFmpeg pixel format of a driver picture (24 bits: BGR24, 32 bits: BGR0).
AVPixelFormat pixelFormatOf(const drivers::FrameFormat& format);

// Converts driver pictures (rows top to bottom, padded) into frames of one target format.
class FrameConverter {
public:
    FrameConverter(const drivers::FrameFormat& source, AVPixelFormat target, bool fullRange);
    ~FrameConverter();
    FrameConverter(const FrameConverter&) = delete;
    FrameConverter& operator=(const FrameConverter&) = delete;

    bool valid() const { return context_ && frame_; }
    // Converts one picture into the converter's frame (reused by the next call); null on failure.
    AVFrame* convert(std::span<const std::uint8_t> pixels);

private:
    drivers::FrameFormat source_;
    SwsContext* context_ = nullptr;
    FramePtr frame_;
};

}  // namespace kelto::capture::ffmpeg
