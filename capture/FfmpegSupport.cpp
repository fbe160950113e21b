#include "capture/FfmpegSupport.h"

extern "C" {
#include <libavutil/error.h>
#include <libavutil/log.h>
}

#include <mutex>

namespace kelto::capture::ffmpeg {

std::string errorText(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return text;
}

void quietLogging() {
    static std::once_flag once;
    std::call_once(once, [] { av_log_set_level(AV_LOG_ERROR); });
}

AVPixelFormat pixelFormatOf(const drivers::FrameFormat& format) {
    return format.bitsPerPixel == 32 ? AV_PIX_FMT_BGR0 : AV_PIX_FMT_BGR24;
}

FrameConverter::FrameConverter(const drivers::FrameFormat& source, AVPixelFormat target, bool fullRange)
    : source_(source) {
    const int width = int(source.width), height = int(source.height);
    context_ = sws_getContext(width, height, pixelFormatOf(source), width, height, target, SWS_BILINEAR, nullptr,
                              nullptr, nullptr);
    if (!context_) return;
    // RGB input is full range; JPEG wants full-range output, MPEG video the studio range.
    const int* coefficients = sws_getCoefficients(SWS_CS_ITU601);
    sws_setColorspaceDetails(context_, coefficients, 1, coefficients, fullRange ? 1 : 0, 0, 1 << 16, 1 << 16);
    frame_.reset(av_frame_alloc());
    if (!frame_) return;
    frame_->format = target;
    frame_->width = width;
    frame_->height = height;
    if (fullRange) frame_->color_range = AVCOL_RANGE_JPEG;
    if (av_frame_get_buffer(frame_.get(), 0) < 0) frame_.reset();
}

FrameConverter::~FrameConverter() { sws_freeContext(context_); }

AVFrame* FrameConverter::convert(std::span<const std::uint8_t> pixels) {
    if (!valid() || pixels.size() < source_.imageBytes()) return nullptr;
    if (av_frame_make_writable(frame_.get()) < 0) return nullptr;
    const std::uint8_t* sourcePlanes[1] = {pixels.data()};
    const int sourceStrides[1] = {int(source_.bytesPerRow())};
    sws_scale(context_, sourcePlanes, sourceStrides, 0, int(source_.height), frame_->data, frame_->linesize);
    return frame_.get();
}

}  // namespace kelto::capture::ffmpeg
