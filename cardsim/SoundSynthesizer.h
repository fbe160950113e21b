#pragma once
// Makes the card's sound as 16-bit PCM. Like the pictures, the samples are a pure function of
// the sound scene and the moment: sample n of a block starting at time t is the same whichever
// block it is asked in. A station's tone plays on both channels (mono), with a fifth above on
// the right (stereo), or with a major third above on the right (bilingual: the second language).
// A station playing a video file sounds the file's own sound. Detune adds hiss.
#include "cardsim/BroadcastWorld.h"
#include "cardsim/VideoFileProgramme.h"

#include <chrono>
#include <cstdint>
#include <span>

namespace kelto::cardsim {

struct SoundScene {
    bool silent = true;
    std::uint32_t toneHz = 440;
    SoundMode mode = SoundMode::Mono;
    double noise = 0.0;  // 0..1
    std::shared_ptr<VideoFileProgramme> programme{};  // a station playing a file: its sound
};

class SoundSynthesizer {
public:
    static constexpr std::uint32_t kMinSampleRateHz = 8000;
    static constexpr std::uint32_t kMaxSampleRateHz = 48000;

    // The number of the sample that plays at `time` at the given rate, counted from the epoch
    // (computed in 128 bits: microseconds since 1970 times the rate overflow 64 bits).
    static std::uint64_t sampleIndexAt(std::chrono::system_clock::time_point time, std::uint32_t sampleRateHz);

    // Fills `out` with interleaved samples (out.size() / channels frames) starting at `start`.
    // False (and nothing written) when the rate or channel count (1 or 2) is not supported.
    static bool render(const SoundScene& scene, std::chrono::system_clock::time_point start, std::uint32_t sampleRateHz,
                       int channels, std::span<std::int16_t> out);
};

}  // namespace kelto::cardsim
