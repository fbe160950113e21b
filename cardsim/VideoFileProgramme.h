#pragma once
// A station's programme played from a video file, decoded with FFmpeg. The file loops: the
// picture at a moment is the file's frame at (seconds since the epoch) modulo its duration, so,
// like the generated pictures, it depends only on the moment. Its sound is decoded once, when the
// file is first used (at most the first kMaxSoundSeconds), and looped the same way.
// Programmes are opened once per path and kept for the process; all members are safe to call
// from any thread.
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <span>
#include <vector>

namespace kelto::cardsim {

class VideoFileProgramme {
public:
    static constexpr double kMaxSoundSeconds = 600.0;

    // The programme of a file, opened on first use; null (with a trace line) when the file has no
    // picture that can be decoded.
    static std::shared_ptr<VideoFileProgramme> open(const std::filesystem::path& file);

    ~VideoFileProgramme();
    VideoFileProgramme(const VideoFileProgramme&) = delete;
    VideoFileProgramme& operator=(const VideoFileProgramme&) = delete;

    double durationSeconds() const { return durationSeconds_; }
    bool hasSound() const { return !sound_.empty(); }

    // Draws the picture of the moment, scaled to width x height, as 0xFFRRGGBB pixels.
    // False when no frame could be decoded (the caller draws something else).
    bool frameAt(std::chrono::system_clock::time_point time, int width, int height, std::uint32_t* pixels);

    // Interleaved 16-bit samples (out.size() / channels frames) from `start` on; silence when the
    // file has no sound.
    void soundAt(std::chrono::system_clock::time_point start, std::uint32_t sampleRateHz, int channels,
                 std::span<std::int16_t> out) const;

private:
    struct Decoder;
    explicit VideoFileProgramme(std::unique_ptr<Decoder> decoder, double durationSeconds, std::vector<std::int16_t> sound);
    double positionOf(std::chrono::system_clock::time_point time) const;

    std::mutex mutex_;
    std::unique_ptr<Decoder> decoder_;
    double durationSeconds_;
    std::vector<std::int16_t> sound_;  // 48 kHz stereo
};

}  // namespace kelto::cardsim
