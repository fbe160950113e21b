#pragma once
// One recording: the capture loop that the sequence message runs. It blocks its caller and keeps
// the user-interface thread alive with a nested event loop. Picture n is taken at the moment
// start + n x period of the process clock, and the sound of each picture's period with it; so
// nothing is lost however long encoding takes, and under a virtual clock a recording runs as
// fast as the machine encodes. Between pictures the loop waits through the clock while handling
// events, so the live picture keeps updating (at the preview rate) and the abort is seen: the
// set-up's abort key or, when enabled, the left or right mouse button, over the abort scope (the
// viewer) or anywhere when there is none. The recording ends at the time limit (when enabled),
// on abort, or on a failure to write.
#include "capture/CaptureRecords.h"
#include "capture/LiveFrame.h"
#include "capture/StreamRecorder.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

class QObject;

namespace kelto::capture {

struct SequenceRequest {
    std::filesystem::path file;
    RecordingType type = RecordingType::Avi;
    VideoCompressor compressor = VideoCompressor::Mjpeg;
    CaptureSequenceSetup setup;
    std::optional<WaveFormat> wave;  // the audio format; none when the driver has no sound
    std::uint32_t previewRateMs = 66;
    FrameSink* sink = nullptr;       // the live picture, or none
    QObject* abortScope = nullptr;   // where a key or mouse button aborts; null: anywhere
    // Called after each picture is written (tests and measurements).
    std::function<void(std::uint32_t pictureIndex)> pictureObserver;
    // Asked while waiting for each picture: true ends the recording there, as its time limit
    // would (the file is finished and the result is a success). For a close of the program.
    std::function<bool()> stopRequested;
};

struct SequenceResult {
    bool ok = false;
    bool aborted = false;
    std::uint32_t pictures = 0;
    // Pictures taken more than one period after their moment (a real card would have lost them).
    std::uint32_t latePictures = 0;
    std::uint64_t waveSamples = 0;
    std::uint32_t elapsedMs = 0;  // recorded time
    std::string error;
};

SequenceResult runSequenceCapture(drivers::CaptureDriver& driver, const SequenceRequest& request);

}  // namespace kelto::capture
