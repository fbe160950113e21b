#include "v4l2/CardSound.h"

#include "platform/Clock.h"
#include "platform/Trace.h"

#include <alsa/asoundlib.h>

#include <algorithm>
#include <cerrno>
#include <mutex>
#include <vector>

namespace kelto::v4l2 {
namespace {

std::mutex factoryMutex;
std::function<std::unique_ptr<SoundSource>(const std::string&)> sourceFactory;

std::unique_ptr<SoundSource> makeSource(const std::string& device) {
    {
        std::lock_guard lock(factoryMutex);
        if (sourceFactory) return sourceFactory(device);
    }
    return makeAlsaSoundSource(device);
}

class AlsaSoundSource final : public SoundSource {
public:
    explicit AlsaSoundSource(std::string device) : device_(std::move(device)) {}
    ~AlsaSoundSource() override { close(); }

    bool open(const drivers::SoundFormat& format) override {
        close();
        int err = snd_pcm_open(&pcm_, device_.c_str(), SND_PCM_STREAM_CAPTURE, SND_PCM_NONBLOCK);
        if (err >= 0)
            err = snd_pcm_set_params(pcm_, SND_PCM_FORMAT_S16_LE, SND_PCM_ACCESS_RW_INTERLEAVED, format.channels,
                                     format.sampleRateHz, 1, 20000);
        if (err >= 0) err = snd_pcm_start(pcm_);
        if (err < 0) {
            error_ = "the card's sound device " + device_ + " cannot be opened (" + snd_strerror(err) + ")";
            close();
            return false;
        }
        channels_ = format.channels;
        return true;
    }
    void close() override {
        if (pcm_) snd_pcm_close(pcm_);
        pcm_ = nullptr;
    }
    std::size_t read(std::span<std::int16_t> into) override {
        if (!pcm_) return 0;
        const snd_pcm_sframes_t n = snd_pcm_readi(pcm_, into.data(), into.size() / channels_);
        if (n >= 0) return std::size_t(n);
        if (n != -EAGAIN && snd_pcm_recover(pcm_, int(n), 1) >= 0) snd_pcm_start(pcm_);
        return 0;
    }
    std::string lastError() const override { return error_; }

private:
    std::string device_;
    snd_pcm_t* pcm_ = nullptr;
    std::uint16_t channels_ = 2;
    std::string error_;
};

}  // namespace

std::unique_ptr<SoundSource> makeAlsaSoundSource(std::string device) {
    return std::make_unique<AlsaSoundSource>(std::move(device));
}

std::string cardSoundDevice(const V4l2CardConfig& config) {
    if (!config.soundDevicePath.empty()) return config.soundDevicePath;
    for (int card = -1; snd_card_next(&card) >= 0 && card >= 0;) {
        snd_ctl_t* ctl = nullptr;
        if (snd_ctl_open(&ctl, ("hw:" + std::to_string(card)).c_str(), 0) < 0) continue;
        snd_ctl_card_info_t* info = nullptr;
        snd_ctl_card_info_alloca(&info);
        std::string found;
        if (snd_ctl_card_info(ctl, info) >= 0 && std::string(snd_ctl_card_info_get_driver(info)) == "Bt87x")
            found = std::string("plughw:CARD=") + snd_ctl_card_info_get_id(info) + ",DEV=0";
        snd_ctl_close(ctl);
        if (!found.empty()) return found;
    }
    return {};
}

bool CardSound::start(const drivers::SoundFormat& format) {
    stop();
    source_ = makeSource(device_);
    if (!source_ || !source_->open(format)) {
        error_ = source_ ? source_->lastError() : "no sound source";
        platform::traceLine(error_);
        source_.reset();
        return false;
    }
    format_ = format;
    startedAt_ = platform::clock().now() + kCaptureDelay;
    kept_.clear();
    firstKeptFrame_ = 0;
    error_.clear();
    return true;
}

void CardSound::stop() {
    if (source_) source_->close();
    source_.reset();
    kept_.clear();
}

void CardSound::takeCaptured() {
    std::vector<std::int16_t> chunk(std::size_t(format_.sampleRateHz / 50) * format_.channels);
    for (int rounds = 0; rounds < 200; ++rounds) {
        const std::size_t frames = source_->read(chunk);
        if (frames == 0) break;
        kept_.insert(kept_.end(), chunk.begin(), chunk.begin() + std::ptrdiff_t(frames * format_.channels));
    }
    const std::size_t longest = std::size_t(kLongestKept.count()) * format_.sampleRateHz / 1000 * format_.channels;
    if (kept_.size() > longest) {
        const std::size_t drop = (kept_.size() - longest) / format_.channels * format_.channels;
        kept_.erase(kept_.begin(), kept_.begin() + std::ptrdiff_t(drop));
        firstKeptFrame_ += std::int64_t(drop / format_.channels);
    }
}

void CardSound::read(std::chrono::system_clock::time_point start, std::span<std::int16_t> buffer) {
    std::fill(buffer.begin(), buffer.end(), std::int16_t(0));
    if (!source_) return;
    takeCaptured();
    const std::size_t channels = format_.channels;
    const auto us = std::chrono::duration_cast<std::chrono::microseconds>(start - startedAt_).count();
    // The stream's frame for the moment (floor, also before the start).
    const std::int64_t rate = format_.sampleRateHz;
    const std::int64_t first = us >= 0 ? us * rate / 1'000'000 : -((-us * rate + 999'999) / 1'000'000);
    const std::int64_t frames = std::int64_t(buffer.size() / channels);
    const std::int64_t keptFrames = std::int64_t(kept_.size() / channels);
    const std::int64_t from = std::max(first, firstKeptFrame_);
    const std::int64_t to = std::min(first + frames, firstKeptFrame_ + keptFrames);
    for (std::int64_t f = from; f < to; ++f)
        for (std::size_t c = 0; c < channels; ++c)
            buffer[std::size_t(f - first) * channels + c] = kept_[std::size_t(f - firstKeptFrame_) * channels + c];
    // What lies before the moment asked for is not asked again.
    const std::int64_t done = std::clamp<std::int64_t>(first - firstKeptFrame_, 0, keptFrames);
    kept_.erase(kept_.begin(), kept_.begin() + std::ptrdiff_t(done * std::int64_t(channels)));
    firstKeptFrame_ += done;
}

namespace test {
void setSoundSourceFactory(std::function<std::unique_ptr<SoundSource>(const std::string& device)> factory) {
    std::lock_guard lock(factoryMutex);
    sourceFactory = std::move(factory);
}
}  // namespace test

}  // namespace kelto::v4l2
