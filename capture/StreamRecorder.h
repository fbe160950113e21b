#pragma once
// Writes a recording with FFmpeg's libraries, picture by picture and sound as it comes:
//   AVI:    MJPEG or uncompressed (BGR24) pictures at the capture frame rate, PCM sound in the
//           chosen format (8-bit unsigned or 16-bit signed, 1 or 2 channels, the chosen rate);
//   MPEG-1: MPEG-1 system stream, MPEG-1 video, MPEG-1 layer II sound;
//   MPEG-2: MPEG-2 program stream, MPEG-2 video, MPEG-1 layer II sound.
// MPEG video only knows a few frame rates (23.976 to 60); a capture rate that is not one of
// them is carried by the nearest suitable one, repeating (or, above 60, leaving out) pictures so
// that every picture is shown for its own time and the file lasts as long as the capture. Layer
// II sound has no 11025 or 8000 Hz; such sound is resampled to twice its rate.
//
// One object is one file; used from one thread.
#include "capture/CaptureRecords.h"
#include "capture/CaptureTypes.h"
#include "drivers/CaptureDriver.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>

namespace kelto::capture {

// The compressor chosen in the driver's compression dialog (used for AVI files).
enum class VideoCompressor { Mjpeg = 0, Uncompressed = 1 };

struct RecordingFormat {
    RecordingType type = RecordingType::Avi;
    VideoCompressor compressor = VideoCompressor::Mjpeg;
    drivers::FrameFormat frame;
    std::uint32_t framePeriodUs = 33367;
    bool audio = false;
    WaveFormat wave;  // a recordable PCM format (isRecordablePcm) when audio is on
};

class StreamRecorder {
public:
    // Creates the file (replacing one of that name) and writes its header; null with a reason
    // in *error when the format cannot be recorded or the file cannot be written.
    static std::unique_ptr<StreamRecorder> create(const std::filesystem::path& path, const RecordingFormat& format,
                                                  std::string* error = nullptr);
    ~StreamRecorder();
    StreamRecorder(const StreamRecorder&) = delete;
    StreamRecorder& operator=(const StreamRecorder&) = delete;

    // The next captured picture (driver format, rows top to bottom).
    bool addVideoFrame(std::span<const std::uint8_t> pixels);
    // Sound following what came before: interleaved 16-bit samples at the format's rate and channels.
    bool addSound(std::span<const std::int16_t> samples);
    // Flushes the encoders and completes the file; the destructor does it when not called.
    bool finish();

    const std::string& lastError() const;
    std::uint64_t capturedFrames() const;

    class Impl;

private:
    explicit StreamRecorder(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

}  // namespace kelto::capture
