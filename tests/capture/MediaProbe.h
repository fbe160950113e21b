#pragma once
// Reads a recorded or saved file back with FFmpeg: container, streams, and what decoding gives.
#include <filesystem>
#include <string>

extern "C" {
#include <libavcodec/codec_id.h>
}

namespace kelto::capture::test {

struct MediaProbe {
    bool opened = false;
    std::string container;  // FFmpeg's demuxer name ("avi", "mpeg", "mjpeg", "image2", ...)
    // Video.
    bool hasVideo = false;
    AVCodecID videoCodec = AV_CODEC_ID_NONE;
    int width = 0;
    int height = 0;
    double frameRate = 0;  // the stream's frame rate
    int decodedFrames = 0;
    double videoSeconds() const { return frameRate > 0 ? decodedFrames / frameRate : 0; }
    // The top-left and bottom-left pixel of the first decoded picture, as 0xRRGGBB.
    unsigned topLeftRgb = 0;
    unsigned bottomLeftRgb = 0;
    // Sound.
    bool hasAudio = false;
    AVCodecID audioCodec = AV_CODEC_ID_NONE;
    int sampleRate = 0;
    int channels = 0;
    int bitsPerCodedSample = 0;
    long long decodedSamples = 0;
    double audioSeconds() const { return sampleRate > 0 ? double(decodedSamples) / sampleRate : 0; }
};

MediaProbe probeMedia(const std::filesystem::path& path);

}  // namespace kelto::capture::test
