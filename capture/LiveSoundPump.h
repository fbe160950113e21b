#pragma once
// The live picture's sound: moves the capture driver's sound, stretch by stretch on the process
// clock, to a sound output, silenced or scaled by the viewer's level. Whoever owns it calls
// pump() about every kPeriod (the capture window's engine does, on its thread, while the live
// picture runs and no recording reads the driver).
#include "drivers/CaptureDriver.h"
#include "platform/sound/PcmOutput.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <vector>

namespace kelto::capture {

class LiveSoundPump {
public:
    static constexpr std::chrono::milliseconds kPeriod{20};
    // The sound the pump asks of the driver; it takes the driver's own when the driver refuses.
    static constexpr drivers::SoundFormat kPreferredFormat{48000, 2, 16};

    explicit LiveSoundPump(std::unique_ptr<platform::sound::PcmOutput> output);

    // Plays the driver's sound from this moment on; false (nothing plays) when the driver has no
    // sound or the output cannot be opened.
    bool start(drivers::CaptureDriver& driver);
    // Closes the output; nothing more is read or written until the next start.
    void stop();
    bool running() const { return driver_ != nullptr; }

    // 0 silences, 1 leaves the sound as the card gives it; values between scale it.
    void setLevel(double level);
    double level() const { return level_; }

    // Moves the sound from where the last call stopped up to now to the output. A pump that was
    // held up for longer than kLongestGap skips ahead instead of playing late sound.
    void pump();

    platform::sound::PcmOutput& output() { return *output_; }

private:
    static constexpr std::chrono::milliseconds kLongestGap{200};

    std::unique_ptr<platform::sound::PcmOutput> output_;
    drivers::CaptureDriver* driver_ = nullptr;
    drivers::SoundFormat format_;
    std::chrono::system_clock::time_point start_{};
    std::uint64_t framesDone_ = 0;
    double level_ = 1.0;
    std::vector<std::int16_t> buffer_;
};

}  // namespace kelto::capture
