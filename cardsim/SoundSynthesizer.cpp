#include "cardsim/SoundSynthesizer.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kelto::cardsim {

namespace {

constexpr double kAmplitude = 0.3 * 32767.0;

// Phase 0..1 of a tone at an absolute sample index, exact for whole-hertz tones.
double phaseAt(std::uint64_t sampleIndex, std::uint64_t toneMilliHz, std::uint32_t sampleRateHz) {
    const std::uint64_t period = std::uint64_t(sampleRateHz) * 1000;
    return double((sampleIndex % period) * toneMilliHz % period) / double(period);
}

double hiss(std::uint64_t sampleIndex, int channel) {
    std::uint64_t x = sampleIndex * 2 + std::uint64_t(channel) + 0x9E3779B97F4A7C15ull;
    x ^= x >> 33;
    x *= 0xFF51AFD7ED558CCDull;
    x ^= x >> 33;
    return double(x & 0xFFFF) / 32768.0 - 1.0;
}

}  // namespace

std::uint64_t SoundSynthesizer::sampleIndexAt(std::chrono::system_clock::time_point time, std::uint32_t sampleRateHz) {
    const auto us = std::chrono::duration_cast<std::chrono::microseconds>(time.time_since_epoch()).count();
    if (us <= 0) return 0;
    return std::uint64_t((unsigned __int128)(std::uint64_t(us)) * sampleRateHz / 1'000'000u);
}

bool SoundSynthesizer::render(const SoundScene& scene, std::chrono::system_clock::time_point start,
                              std::uint32_t sampleRateHz, int channels, std::span<std::int16_t> out) {
    if (sampleRateHz < kMinSampleRateHz || sampleRateHz > kMaxSampleRateHz || (channels != 1 && channels != 2))
        return false;
    const std::size_t frames = out.size() / std::size_t(channels);
    if (scene.silent) {
        std::fill(out.begin(), out.end(), std::int16_t(0));
        return true;
    }
    if (scene.programme && scene.programme->hasSound()) {
        scene.programme->soundAt(start, sampleRateHz, channels, out);
        const double noise = std::clamp(scene.noise, 0.0, 1.0);
        if (noise > 0) {
            const std::uint64_t first = sampleIndexAt(start, sampleRateHz);
            for (std::size_t i = 0; i < out.size(); ++i) {
                const double value = out[i] * (1.0 - 0.7 * noise) + hiss(first + i / std::size_t(channels), int(i % std::size_t(channels))) * kAmplitude * noise;
                out[i] = std::int16_t(std::clamp(value, -32767.0, 32767.0));
            }
        }
        return true;
    }
    const std::uint64_t firstSample = sampleIndexAt(start, sampleRateHz);
    const std::uint64_t leftMilliHz = std::uint64_t(scene.toneHz) * 1000;
    std::uint64_t rightMilliHz = leftMilliHz;
    if (scene.mode == SoundMode::Stereo) rightMilliHz = leftMilliHz * 3 / 2;
    if (scene.mode == SoundMode::Bilingual) rightMilliHz = leftMilliHz * 5 / 4;
    const double noise = std::clamp(scene.noise, 0.0, 1.0);
    const double toneLevel = kAmplitude * (1.0 - 0.7 * noise);
    for (std::size_t frame = 0; frame < frames; ++frame) {
        const std::uint64_t index = firstSample + frame;
        for (int channel = 0; channel < channels; ++channel) {
            // A mono request mixes what both channels carry.
            double value = 0;
            if (channels == 1)
                value = 0.5 * (std::sin(2 * std::numbers::pi * phaseAt(index, leftMilliHz, sampleRateHz)) +
                               std::sin(2 * std::numbers::pi * phaseAt(index, rightMilliHz, sampleRateHz)));
            else
                value = std::sin(2 * std::numbers::pi * phaseAt(index, channel == 0 ? leftMilliHz : rightMilliHz, sampleRateHz));
            value = value * toneLevel + hiss(index, channel) * kAmplitude * noise;
            out[frame * std::size_t(channels) + std::size_t(channel)] = std::int16_t(std::clamp(value, -32767.0, 32767.0));
        }
    }
    return true;
}

}  // namespace kelto::cardsim
