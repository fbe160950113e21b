// The ALSA sound output: a non-blocking playback stream with about kAlsaLatencyUs of buffer;
// an underrun (the picture's thread was late) is recovered and the sound goes on.
#include "platform/sound/PcmOutput.h"
#include "platform/Trace.h"

#include <alsa/asoundlib.h>

#include <cerrno>

namespace kelto::platform::sound {
namespace {

class AlsaPcmOutput final : public PcmOutput {
public:
    AlsaPcmOutput(std::string device, std::string configuration)
        : device_(std::move(device)), configuration_(std::move(configuration)) {}
    ~AlsaPcmOutput() override { close(); }

    bool open(const PcmFormat& format) override {
        close();
        if (format.channels == 0 || format.rateHz == 0) return fail("no such sound format", 0);
        int err = openStream();
        if (err < 0) return fail("cannot open the sound output " + device_, err);
        err = snd_pcm_set_params(pcm_, SND_PCM_FORMAT_S16_LE, SND_PCM_ACCESS_RW_INTERLEAVED, format.channels,
                                 format.rateHz, 1, kAlsaLatencyUs);
        if (err < 0) {
            close();
            return fail("the sound output " + device_ + " refuses the format", err);
        }
        format_ = format;
        return true;
    }

    void close() override {
        if (pcm_) snd_pcm_close(pcm_);
        pcm_ = nullptr;
        if (config_) snd_config_delete(config_);
        config_ = nullptr;
    }

    bool isOpen() const override { return pcm_ != nullptr; }

    std::size_t write(std::span<const std::int16_t> samples) override {
        if (!pcm_) return 0;
        const std::size_t frames = samples.size() / format_.channels;
        std::size_t done = 0;
        for (int attempt = 0; done < frames && attempt < 3; ++attempt) {
            const snd_pcm_sframes_t n =
                snd_pcm_writei(pcm_, samples.data() + done * format_.channels, snd_pcm_uframes_t(frames - done));
            if (n >= 0) {
                done += std::size_t(n);
                continue;
            }
            if (n == -EAGAIN) break;  // full: the rest is dropped
            if (snd_pcm_recover(pcm_, int(n), 1) < 0) {
                traceLine("sound output " + device_ + ": " + snd_strerror(int(n)));
                break;
            }
        }
        return done;
    }

    std::size_t queuedFrames() const override {
        snd_pcm_sframes_t delay = 0;
        if (!pcm_ || snd_pcm_delay(pcm_, &delay) < 0 || delay < 0) return 0;
        return std::size_t(delay);
    }

    std::string lastError() const override { return error_; }

private:
    int openStream() {
        if (configuration_.empty()) return snd_pcm_open(&pcm_, device_.c_str(), SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK);
        snd_input_t* input = nullptr;
        int err = snd_input_buffer_open(&input, configuration_.data(), ssize_t(configuration_.size()));
        if (err < 0) return err;
        if ((err = snd_config_top(&config_)) >= 0) err = snd_config_load(config_, input);
        snd_input_close(input);
        if (err < 0) return err;
        return snd_pcm_open_lconf(&pcm_, device_.c_str(), SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK, config_);
    }

    bool fail(std::string what, int err) {
        error_ = err < 0 ? what + " (" + snd_strerror(err) + ")" : what;
        traceLine(error_);
        return false;
    }

    std::string device_;
    std::string configuration_;
    snd_config_t* config_ = nullptr;
    snd_pcm_t* pcm_ = nullptr;
    PcmFormat format_;
    std::string error_;
};

}  // namespace

std::unique_ptr<PcmOutput> makeAlsaPcmOutput(std::string device, std::string configuration) {
    return std::make_unique<AlsaPcmOutput>(std::move(device), std::move(configuration));
}

}  // namespace kelto::platform::sound
