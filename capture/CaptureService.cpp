#include "capture/CaptureService.h"

#include "capture/LiveFrameTiming.h"
#include "capture/StillImageFile.h"
#include "platform/Clock.h"
#include "platform/Trace.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>

namespace kelto::capture {

namespace {

// The compressor is the driver's choice and outlives one capture window, as a driver setting does.
std::atomic<int> chosenCompressor{int(VideoCompressor::Mjpeg)};

constexpr std::uint32_t kShortestPeriodUs = 10'000;
constexpr std::uint32_t kLongestPeriodUs = 10'000'000;

}  // namespace

CaptureService::CaptureService() {
    liveTimer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&liveTimer_, &QTimer::timeout, [this] {
        deliverLiveFrame();
        if (liveTimer_.isSingleShot()) armLiveTimer();
    });
    soundTimer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&soundTimer_, &QTimer::timeout, [this] { pumpLiveSound(); });
}

CaptureService::~CaptureService() {
    liveTimer_.stop();
    stopLiveSound();
    if (driver_) driver_->close();
}

std::optional<drivers::CaptureDriverDescription> CaptureService::driverDescription(std::size_t index) {
    if (index >= drivers::CaptureDriverList::kMaxDrivers) return std::nullopt;
    return drivers::CaptureDriverList::describe(index);
}

int CaptureService::driverConnect(std::uint32_t index) {
    note(CaptureMessage::DriverConnect);
    if (capturing_) return 0;
    stopLiveSound();
    if (driver_) {
        driver_->close();
        driver_.reset();
    }
    auto driver = drivers::CaptureDriverList::create(index);
    if (!driver || !driver->open()) {
        platform::tracef("capture: driver %u cannot be opened", index);
        updateLiveTimer();
        return 0;
    }
    driver_ = std::move(driver);
    driverIndex_ = index;
    const drivers::SoundFormat sound = driver_->soundFormat();
    wave_ = makePcmWaveFormat(sound.channels, sound.bitsPerSample, sound.sampleRateHz);
    setup_ = CaptureSequenceSetup{};
    setup_.requestMicroSecPerFrame = driver_->microsecondsPerFrame();
    setup_.captureAudio = driver_->hasAudio() ? 1 : 0;
    updateLiveTimer();
    return 1;
}

int CaptureService::driverDisconnect() {
    note(CaptureMessage::DriverDisconnect);
    if (capturing_ || !driver_) return 0;
    stopLiveSound();
    driver_->close();
    driver_.reset();
    overlay_ = preview_ = false;
    updateLiveTimer();
    return 1;
}

int CaptureService::driverGetCaps(CaptureDriverCaps& caps) {
    note(CaptureMessage::DriverGetCaps);
    caps = CaptureDriverCaps{};
    if (!driver_) return 0;
    caps.deviceIndex = driverIndex_;
    caps.hasOverlay = 1;
    caps.hasDlgVideoFormat = 1;
    caps.hasDlgVideoDisplay = 1;
    caps.captureInitialized = 1;
    return 1;
}

int CaptureService::getStatus(CaptureStatus& status) {
    note(CaptureMessage::GetStatus);
    status = CaptureStatus{};
    if (driver_) {
        const drivers::FrameFormat format = driver_->frameFormat();
        status.imageWidth = format.width;
        status.imageHeight = format.height;
        status.audioHardware = driver_->hasAudio() ? 1 : 0;
    }
    status.liveWindow = preview_ ? 1 : 0;
    status.overlayWindow = overlay_ ? 1 : 0;
    status.scale = display_.scaleToWindow ? 1 : 0;
    std::error_code error;
    status.capFileExists = !captureFile_.empty() && std::filesystem::exists(captureFile_, error) ? 1 : 0;
    status.currentVideoFrame = lastSequence_.pictures;
    status.currentVideoFramesDropped = 0;
    status.currentWaveSamples = std::uint32_t(lastSequence_.waveSamples);
    status.currentTimeElapsedMs = lastSequence_.elapsedMs;
    status.capturingNow = capturing_ ? 1 : 0;
    return 1;
}

int CaptureService::setOverlay(bool on) {
    note(CaptureMessage::SetOverlay);
    if (!driver_) return 0;
    overlay_ = on;
    if (on) preview_ = false;
    updateLiveTimer();
    return 1;
}

int CaptureService::setPreview(bool on) {
    note(CaptureMessage::SetPreview);
    if (!driver_) return 0;
    preview_ = on;
    if (on) overlay_ = false;
    updateLiveTimer();
    return 1;
}

int CaptureService::setPreviewRate(std::uint32_t periodMs) {
    note(CaptureMessage::SetPreviewRate);
    previewRateMs_ = periodMs == 0 ? 1 : periodMs;
    updateLiveTimer();
    return 1;
}

int CaptureService::fileSaveDib(const std::filesystem::path& path) {
    note(CaptureMessage::FileSaveDib);
    if (!driver_ || path.empty()) return 0;
    const drivers::FrameFormat format = driver_->frameFormat();
    std::vector<std::uint8_t> pixels(format.imageBytes());
    if (!driver_->grabFrame(pixels, platform::clock().now())) return 0;
    if (!saveStillImage(path, format, pixels)) {
        platform::tracef("capture: cannot write %s", path.string().c_str());
        return 0;
    }
    return 1;
}

int CaptureService::dlgVideoFormat() {
    note(CaptureMessage::DlgVideoFormat);
    if (!driver_ || !dialogs_ || capturing_) return 0;
    dialogs_->showVideoFormatDialog(*this);
    return 1;
}

int CaptureService::dlgVideoCompression() {
    note(CaptureMessage::DlgVideoCompression);
    if (!driver_ || !dialogs_ || capturing_) return 0;
    dialogs_->showVideoCompressionDialog(*this);
    return 1;
}

int CaptureService::dlgVideoDisplay() {
    note(CaptureMessage::DlgVideoDisplay);
    if (!driver_ || !dialogs_) return 0;
    dialogs_->showVideoDisplayDialog(*this);
    return 1;
}

int CaptureService::getVideoFormat(std::span<std::byte> buffer) {
    note(CaptureMessage::GetVideoFormat);
    if (!driver_) return 0;
    if (buffer.empty()) return int(sizeof(BitmapInfoHeader));
    const drivers::FrameFormat format = driver_->frameFormat();
    BitmapInfoHeader header;
    header.width = std::int32_t(format.width);
    header.height = std::int32_t(format.height);
    header.bitCount = format.bitsPerPixel;
    header.sizeImage = std::uint32_t(format.imageBytes());
    const std::size_t count = std::min(buffer.size(), sizeof header);
    std::memcpy(buffer.data(), &header, count);
    return int(count);
}

int CaptureService::setVideoFormat(std::span<const std::byte> buffer) {
    note(CaptureMessage::SetVideoFormat);
    if (!driver_ || capturing_ || buffer.size() < sizeof(BitmapInfoHeader)) return 0;
    BitmapInfoHeader header;
    std::memcpy(&header, buffer.data(), sizeof header);
    if (header.size < sizeof header || header.planes != 1 || header.compression != kBiRgb || header.width <= 0 ||
        header.height == 0 || header.height == INT32_MIN)
        return 0;
    drivers::FrameFormat format;
    format.width = std::uint32_t(header.width);
    format.height = std::uint32_t(header.height < 0 ? -header.height : header.height);
    format.bitsPerPixel = header.bitCount;
    return applyFrameFormat(format) ? 1 : 0;
}

int CaptureService::grabFrame() {
    note(CaptureMessage::GrabFrame);
    if (!driver_) return 0;
    grabbed_.format = driver_->frameFormat();
    grabbed_.pixels.resize(grabbed_.format.imageBytes());
    return driver_->grabFrame(grabbed_.pixels, platform::clock().now()) ? 1 : 0;
}

int CaptureService::fileSetCaptureFile(const std::filesystem::path& path) {
    note(CaptureMessage::FileSetCaptureFile);
    if (path.empty() || capturing_) return 0;
    captureFile_ = path;
    return 1;
}

std::filesystem::path CaptureService::fileGetCaptureFile() const {
    note(CaptureMessage::FileGetCaptureFile);
    return captureFile_;
}

int CaptureService::getAudioFormat(std::span<std::byte> buffer) {
    note(CaptureMessage::GetAudioFormat);
    if (!driver_ || !driver_->hasAudio()) return 0;
    if (buffer.empty()) return int(sizeof(WaveFormat));
    const std::size_t count = std::min(buffer.size(), sizeof wave_);
    std::memcpy(buffer.data(), &wave_, count);
    return int(count);
}

int CaptureService::setAudioFormat(std::span<const std::byte> buffer) {
    note(CaptureMessage::SetAudioFormat);
    constexpr std::size_t kPcmRecordBytes = 16;  // the record without its extra-size field
    if (!driver_ || !driver_->hasAudio() || capturing_ || buffer.size() < kPcmRecordBytes) return 0;
    WaveFormat format;
    std::memcpy(&format, buffer.data(), std::min(buffer.size(), sizeof format));
    if (buffer.size() < sizeof format) format.extraSize = 0;
    if (!isRecordablePcm(format)) return 0;
    if (!driver_->setSoundFormat({format.samplesPerSec, format.channels, 16})) return 0;
    wave_ = format;
    wave_.extraSize = 0;
    return 1;
}

int CaptureService::getSequenceSetup(CaptureSequenceSetup& setup) {
    note(CaptureMessage::GetSequenceSetup);
    setup = setup_;
    return 1;
}

int CaptureService::setSequenceSetup(const CaptureSequenceSetup& setup) {
    note(CaptureMessage::SetSequenceSetup);
    if (capturing_ || setup.requestMicroSecPerFrame < kShortestPeriodUs || setup.requestMicroSecPerFrame > kLongestPeriodUs)
        return 0;
    setup_ = setup;
    return 1;
}

int CaptureService::sequence(RecordingType type) {
    note(CaptureMessage::Sequence);
    if (!driver_ || capturing_ || captureFile_.empty()) return 0;
    capturing_ = true;
    stopRequested_ = false;
    updateLiveTimer();

    SequenceRequest request;
    request.file = captureFile_;
    request.type = type;
    request.compressor = compressor();
    request.setup = setup_;
    if (driver_->hasAudio()) request.wave = wave_;
    request.previewRateMs = previewRateMs_;
    request.sink = (preview_ || overlay_) ? sink_ : nullptr;
    request.abortScope = abortScope_;
    request.pictureObserver = sequenceObserver_;
    request.stopRequested = [this] { return stopRequested_; };
    lastSequence_ = runSequenceCapture(*driver_, request);
    if (!lastSequence_.ok)
        platform::tracef("capture: recording %s failed: %s", captureFile_.string().c_str(), lastSequence_.error.c_str());

    capturing_ = false;
    updateLiveTimer();
    return lastSequence_.ok ? 1 : 0;
}

int CaptureService::stopSequence() {
    if (!capturing_) return 0;
    stopRequested_ = true;
    return 1;
}

drivers::FrameFormat CaptureService::frameFormat() const {
    return driver_ ? driver_->frameFormat() : drivers::FrameFormat{};
}

bool CaptureService::applyFrameFormat(const drivers::FrameFormat& format) {
    if (!driver_ || capturing_) return false;
    if (!driver_->setFrameFormat(format)) return false;
    liveBuffer_.clear();
    return true;
}

double CaptureService::framesPerSecond() const { return driver_ ? driver_->framesPerSecond() : 0.0; }

VideoCompressor CaptureService::compressor() const { return VideoCompressor(chosenCompressor.load()); }

void CaptureService::setCompressor(VideoCompressor compressor) { chosenCompressor = int(compressor); }

void CaptureService::deliverLiveFrame() {
    if (!driver_ || !sink_) return;
    const drivers::FrameFormat format = driver_->frameFormat();
    liveBuffer_.resize(format.imageBytes());
    if (!driver_->grabFrame(liveBuffer_, platform::clock().now())) {
        // A driver that says why (its card is gone) is heard once, not at every frame.
        const std::string why = driver_->lastError();
        if (!why.empty() && why != troubleShown_) {
            troubleShown_ = why;
            sink_->presentTrouble(why);
        }
        return;
    }
    if (!troubleShown_.empty()) {
        troubleShown_.clear();
        sink_->presentTrouble({});
    }
    sink_->presentFrame({format, liveBuffer_, std::chrono::steady_clock::now()});
}

void CaptureService::setLiveSoundOutput(std::unique_ptr<platform::sound::PcmOutput> output) {
    stopLiveSound();
    sound_ = output ? std::make_unique<LiveSoundPump>(std::move(output)) : nullptr;
    if (sound_) sound_->setLevel(soundLevel_);
    updateLiveSound();
}

void CaptureService::setLiveSoundLevel(double level) {
    soundLevel_ = level;
    if (sound_) sound_->setLevel(level);
}

void CaptureService::pumpLiveSound() {
    if (sound_ && !capturing_) sound_->pump();
}

void CaptureService::stopLiveSound() {
    soundTimer_.stop();
    if (sound_) sound_->stop();
}

void CaptureService::updateLiveSound() {
    const bool wanted = sound_ && driver_ && !capturing_ && (overlay_ || preview_) && driver_->hasAudio();
    if (!wanted) {
        stopLiveSound();
        return;
    }
    if (sound_->running()) return;
    if (!sound_->start(*driver_)) return;
    soundTimer_.start(LiveSoundPump::kPeriod);
}

void CaptureService::updateLiveTimer() {
    updateLiveSound();
    if (!driver_ || capturing_ || (!overlay_ && !preview_)) {
        liveTimer_.stop();
        return;
    }
    const bool unchanged = liveTimerForOverlay_ == overlay_ && (overlay_ || liveTimerPreviewMs_ == previewRateMs_);
    if (!liveTimer_.isActive() || !unchanged) armLiveTimer();
}

void CaptureService::armLiveTimer() {
    if (!driver_ || capturing_ || (!overlay_ && !preview_)) return;
    liveTimerForOverlay_ = overlay_;
    liveTimerPreviewMs_ = previewRateMs_;
    liveTimer_.setSingleShot(overlay_);
    liveTimer_.start(nextLiveDelay());
}

std::chrono::milliseconds CaptureService::nextLiveDelay() {
    if (!overlay_) return std::chrono::milliseconds(previewRateMs_);
    const auto now = platform::clock().now();
    // A clock that has not moved since the last frame (a stopped test clock) has no next frame to
    // wait for: then the plain frame period.
    const bool clockStood = now == liveArmedAt_;
    liveArmedAt_ = now;
    if (clockStood) return std::chrono::milliseconds(std::max(1L, std::lround(driver_->microsecondsPerFrame() / 1000.0)));
    return delayToNextFrame(now, driver_->framesPerSecond());
}

}  // namespace kelto::capture
