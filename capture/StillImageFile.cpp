#include "capture/StillImageFile.h"

#include "capture/CaptureRecords.h"
#include "capture/FfmpegSupport.h"
#include "platform/AtomicFile.h"

#include <cstring>

namespace kelto::capture {

std::string makeDibFile(const drivers::FrameFormat& format, std::span<const std::uint8_t> pixels) {
    const std::size_t imageBytes = format.imageBytes();
    if (pixels.size() < imageBytes || format.width == 0 || format.height == 0) return {};
    BitmapFileHeader file;
    BitmapInfoHeader info;
    file.offBits = sizeof(BitmapFileHeader) + sizeof(BitmapInfoHeader);
    file.size = std::uint32_t(file.offBits + imageBytes);
    info.width = std::int32_t(format.width);
    info.height = std::int32_t(format.height);  // positive: rows bottom to top
    info.bitCount = format.bitsPerPixel;
    info.sizeImage = std::uint32_t(imageBytes);

    std::string bytes(file.size, '\0');
    std::memcpy(bytes.data(), &file, sizeof file);
    std::memcpy(bytes.data() + sizeof file, &info, sizeof info);
    const std::size_t stride = format.bytesPerRow();
    char* rows = bytes.data() + file.offBits;
    for (std::uint32_t y = 0; y < format.height; ++y)
        std::memcpy(rows + (format.height - 1 - y) * stride, pixels.data() + y * stride, stride);
    if (format.bitsPerPixel == 32)  // the unused fourth byte is written as 0, as bitmaps have it
        for (std::size_t i = 3; i < imageBytes; i += 4) rows[i] = 0;
    return bytes;
}

std::string makeJpegFile(const drivers::FrameFormat& format, std::span<const std::uint8_t> pixels) {
    ffmpeg::quietLogging();
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_MJPEG);
    if (!codec || pixels.size() < format.imageBytes()) return {};
    ffmpeg::CodecContextPtr context(avcodec_alloc_context3(codec));
    if (!context) return {};
    context->width = int(format.width);
    context->height = int(format.height);
    context->pix_fmt = AV_PIX_FMT_YUVJ420P;
    context->color_range = AVCOL_RANGE_JPEG;
    context->time_base = {1, 25};
    context->flags |= AV_CODEC_FLAG_QSCALE;
    context->global_quality = FF_QP2LAMBDA * 3;
    if (avcodec_open2(context.get(), codec, nullptr) < 0) return {};

    ffmpeg::FrameConverter converter(format, AV_PIX_FMT_YUVJ420P, true);
    AVFrame* frame = converter.convert(pixels);
    if (!frame) return {};
    frame->pts = 0;
    frame->quality = context->global_quality;
    ffmpeg::PacketPtr packet(av_packet_alloc());
    if (!packet || avcodec_send_frame(context.get(), frame) < 0 || avcodec_send_frame(context.get(), nullptr) < 0)
        return {};
    std::string bytes;
    while (avcodec_receive_packet(context.get(), packet.get()) == 0) {
        bytes.append(reinterpret_cast<const char*>(packet->data), std::size_t(packet->size));
        av_packet_unref(packet.get());
    }
    return bytes;
}

bool namesJpegFile(const std::filesystem::path& path) {
    std::string extension = path.extension().string();
    for (char& c : extension)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return extension == ".jpg" || extension == ".jpeg";
}

bool saveStillImage(const std::filesystem::path& path, const drivers::FrameFormat& format,
                    std::span<const std::uint8_t> pixels) {
    const std::string bytes = namesJpegFile(path) ? makeJpegFile(format, pixels) : makeDibFile(format, pixels);
    return !bytes.empty() && platform::writeFileAtomically(path, bytes);
}

}  // namespace kelto::capture
