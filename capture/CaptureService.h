#pragma once
// The capture window's engine: everything the platform's capture window did for its users,
// over a driver of the capture-driver list, with no widgets. Each message of the capture
// window is one method here; the message observer sees each message as it arrives (tests check
// the order in which the wrapper sends them).
//
// Live picture: with overlay on, every frame of the video standard goes to the frame sink, each
// taken just after it begins (LiveFrameTiming.h); with preview on, one frame per preview period
// (overlay and preview exclude each other, as on the platform). Recording: sequence() runs the
// blocking capture loop (SequenceCapture.h).
//
// Lives on the user-interface thread and is used there only.
#include "capture/CaptureRecords.h"
#include "capture/CaptureTypes.h"
#include "capture/LiveFrame.h"
#include "capture/LiveSoundPump.h"
#include "capture/SequenceCapture.h"
#include "capture/StreamRecorder.h"
#include "drivers/CaptureDriver.h"

#include <QTimer>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace kelto::capture {

// A picture kept by the grab message.
struct GrabbedFrame {
    drivers::FrameFormat format;
    std::vector<std::uint8_t> pixels;
};

class CaptureService {
public:
    static constexpr std::uint32_t kDefaultPreviewRateMs = 66;

    CaptureService();
    ~CaptureService();
    CaptureService(const CaptureService&) = delete;
    CaptureService& operator=(const CaptureService&) = delete;

    // The description of driver `index` (0..9) of the driver list; nullopt when there is none.
    static std::optional<drivers::CaptureDriverDescription> driverDescription(std::size_t index);

    void setMessageObserver(std::function<void(CaptureMessage)> observer) { observer_ = std::move(observer); }
    void setFrameSink(FrameSink* sink) { sink_ = sink; }
    void setDialogHost(DriverDialogHost* host) { dialogs_ = host; }
    // Where an abort key or button counts during a recording (the viewer); null: anywhere.
    void setAbortScope(QObject* scope) { abortScope_ = scope; }
    void setSequenceObserver(std::function<void(std::uint32_t)> observer) { sequenceObserver_ = std::move(observer); }
    const std::function<void(std::uint32_t)>& sequenceObserver() const { return sequenceObserver_; }

    // --- The capture window's messages. Results: non-zero success, 0 failure. ---
    // Opens driver `index` (closing one open before) and makes its frame format and frame rate
    // the window's; the set-up's frame period becomes the driver's.
    int driverConnect(std::uint32_t index);
    int driverDisconnect();
    int driverGetCaps(CaptureDriverCaps& caps);
    int getStatus(CaptureStatus& status);
    int setOverlay(bool on);
    int setPreview(bool on);
    int setPreviewRate(std::uint32_t periodMs);
    // Writes the current frame: a JPEG for a ".jpg"/".jpeg" name, a device-independent bitmap otherwise.
    int fileSaveDib(const std::filesystem::path& path);
    int dlgVideoFormat();
    int dlgVideoCompression();
    int dlgVideoDisplay();
    // With an empty buffer: the size of the format record (40). Otherwise copies as much of the
    // record as fits and returns the bytes copied.
    int getVideoFormat(std::span<std::byte> buffer);
    // Takes a format record of at least 40 bytes; 0 for sizes or depths the driver does not deliver.
    int setVideoFormat(std::span<const std::byte> buffer);
    int grabFrame();
    int fileSetCaptureFile(const std::filesystem::path& path);
    std::filesystem::path fileGetCaptureFile() const;
    // With an empty buffer: the size of the audio format (18), or 0 when the driver has no sound.
    int getAudioFormat(std::span<std::byte> buffer);
    // Takes a PCM format of at least 16 bytes that isRecordablePcm accepts.
    int setAudioFormat(std::span<const std::byte> buffer);
    int getSequenceSetup(CaptureSequenceSetup& setup);
    // Refuses frame periods outside 10 000..10 000 000 microseconds (100 to 0.1 frames/s).
    int setSequenceSetup(const CaptureSequenceSetup& setup);
    // Records into the capture file (blocking). The type decides container and codecs.
    int sequence(RecordingType type);
    // Ends a running recording at the next picture, as its time limit would; 0 when none runs.
    int stopSequence();

    // --- What the driver's dialogs and the live picture read and change. ---
    bool connected() const { return driver_ != nullptr; }
    drivers::FrameFormat frameFormat() const;
    bool applyFrameFormat(const drivers::FrameFormat& format);
    double framesPerSecond() const;
    VideoCompressor compressor() const;
    void setCompressor(VideoCompressor compressor);
    DisplayOptions displayOptions() const { return display_; }
    void setDisplayOptions(const DisplayOptions& options) { display_ = options; }
    bool overlayOn() const { return overlay_; }
    bool previewOn() const { return preview_; }
    std::uint32_t previewRateMs() const { return previewRateMs_; }
    bool capturing() const { return capturing_; }
    const GrabbedFrame& grabbedFrame() const { return grabbed_; }
    const SequenceResult& lastSequence() const { return lastSequence_; }
    // Takes one live frame now and gives it to the sink (what the live timer does).
    void deliverLiveFrame();

    // --- The live sound: while the live picture runs and no recording reads the driver, the
    // driver's sound goes to this output (none: no live sound). ---
    void setLiveSoundOutput(std::unique_ptr<platform::sound::PcmOutput> output);
    // 0 silences, 1 plays the sound as the card gives it.
    void setLiveSoundLevel(double level);
    bool liveSoundPlaying() const { return sound_ && sound_->running(); }
    // Moves the sound due by now to the output (what the sound timer does).
    void pumpLiveSound();

private:
    void note(CaptureMessage message) const {
        if (observer_) observer_(message);
    }
    void updateLiveTimer();
    void updateLiveSound();
    void stopLiveSound();
    void armLiveTimer();
    std::chrono::milliseconds nextLiveDelay();

    std::unique_ptr<drivers::CaptureDriver> driver_;
    std::uint32_t driverIndex_ = 0;
    std::function<void(CaptureMessage)> observer_;
    std::function<void(std::uint32_t)> sequenceObserver_;
    FrameSink* sink_ = nullptr;
    DriverDialogHost* dialogs_ = nullptr;
    QObject* abortScope_ = nullptr;

    bool overlay_ = false;
    bool preview_ = false;
    std::uint32_t previewRateMs_ = kDefaultPreviewRateMs;
    bool capturing_ = false;
    bool stopRequested_ = false;
    DisplayOptions display_;
    std::filesystem::path captureFile_;
    CaptureSequenceSetup setup_;
    WaveFormat wave_;
    GrabbedFrame grabbed_;
    SequenceResult lastSequence_;
    std::vector<std::uint8_t> liveBuffer_;
    QTimer liveTimer_;  // overlay: one shot, armed again after each frame; preview: repeating
    bool liveTimerForOverlay_ = false;
    std::uint32_t liveTimerPreviewMs_ = 0;
    std::chrono::system_clock::time_point liveArmedAt_{};
    std::string troubleShown_;  // what the sink was last told about a picture that failed
    std::unique_ptr<LiveSoundPump> sound_;
    double soundLevel_ = 1.0;
    QTimer soundTimer_;
};

}  // namespace kelto::capture
