#include "cardsim/PllTuner.h"

#include "platform/Clock.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

namespace kelto::cardsim {

namespace {

constexpr std::int64_t kDividerStepHz = 62'500;
constexpr std::int64_t kAlpsFmStepHz = 31'250;
constexpr std::int64_t kPhilipsFmIntermediateHz = 10'700'000;
constexpr std::int64_t kAlpsFmBaseDivider = 1320;
constexpr std::uint32_t kFmReceptionRangeHz = 60'000;
constexpr std::uint32_t kTvSearchRangeHz = 3'000'000;

constexpr std::array<std::uint16_t, 5> kPhilipsRadioWords{0x8EA1, 0xCEAC, 0x8EAD, 0x8EA5, 0x8EAC};
constexpr std::array<std::uint16_t, 2> kAlpsRadioWords{0xC605, 0x8605};
constexpr std::uint16_t kPhilipsAfcWord = 0x8EAD;

}  // namespace

std::uint8_t tvLevelForDistance(std::optional<std::uint64_t> distanceHz) {
    if (!distanceHz) return 7;
    constexpr std::array<std::uint64_t, 7> kLimitsHz{125'000, 250'000, 500'000, 1'000'000, 1'500'000, 2'000'000, 3'000'000};
    for (std::size_t level = 0; level < kLimitsHz.size(); ++level)
        if (*distanceHz <= kLimitsHz[level]) return std::uint8_t(level);
    return 7;
}

PllTuner::PllTuner(TunerKind kind, std::uint32_t intermediateFrequencyHz, const BroadcastWorld& world)
    : kind_(kind), intermediateFrequencyHz_(intermediateFrequencyHz), world_(world),
      changedAtTickMs_(platform::tickCountMs()) {}

bool PllTuner::isRadioWord(std::uint16_t word) const {
    const auto contains = [word](const auto& words) {
        for (auto w : words)
            if (w == word) return true;
        return false;
    };
    return kind_ == TunerKind::Philips ? contains(kPhilipsRadioWords) : contains(kAlpsRadioWords);
}

bool PllTuner::write(std::span<const std::uint8_t> bytes) {
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) takeWord(std::uint16_t(bytes[i] << 8 | bytes[i + 1]));
    return true;
}

void PllTuner::takeWord(std::uint16_t word) {
    bool restart = false;
    if (word & 0x8000) {
        const TunerMode mode = isRadioWord(word) ? TunerMode::Fm : TunerMode::Tv;
        // Switching between radio words keeps the loop locked; a TV band change or a change of
        // mode makes it lock again.
        restart = mode != mode_ || (mode == TunerMode::Tv && word != controlWord_);
        mode_ = mode;
        controlWord_ = word;
    } else {
        restart = word != divider_;
        divider_ = word;
    }
    if (restart) changedAtTickMs_ = platform::tickCountMs();
}

std::uint8_t PllTuner::readByte() { return status(); }

std::int64_t PllTuner::tunedFrequencyHz() const {
    if (mode_ == TunerMode::Tv) return std::int64_t(divider_) * kDividerStepHz - intermediateFrequencyHz_;
    if (kind_ == TunerKind::Philips) return std::int64_t(divider_) * kDividerStepHz - kPhilipsFmIntermediateHz;
    return (std::int64_t(divider_) - kAlpsFmBaseDivider) * kAlpsFmStepHz;
}

bool PllTuner::settled() const {
    const std::uint32_t elapsed = platform::tickCountMs() - changedAtTickMs_;
    return elapsed >= (mode_ == TunerMode::Tv ? kTvSettleMs : kFmSettleMs);
}

std::uint8_t PllTuner::status() const {
    const std::int64_t tuned = tunedFrequencyHz();
    const std::uint8_t lock = settled() ? kLockBit : 0;
    if (mode_ == TunerMode::Tv) {
        std::optional<std::uint64_t> distance;
        if (tuned > 0)
            if (auto match = world_.nearest(Band::Tv, std::uint32_t(tuned), kTvSearchRangeHz))
                distance = std::uint64_t(std::llabs(match->offsetHz));
        return std::uint8_t(lock | tvLevelForDistance(distance));
    }

    std::optional<StationMatch> match;
    if (tuned > 0) match = world_.nearest(Band::Fm, std::uint32_t(tuned), 200'000);
    if (!match || !lock) return 0;
    const double offset = double(match->offsetHz);
    if (kind_ == TunerKind::Philips) {
        if (controlWord_ == kPhilipsAfcWord) {
            const long step = std::lround(offset / 50'000.0);
            return std::uint8_t(lock | std::uint8_t(std::clamp(2 + step, 0L, 4L)));
        }
        const long strength = 7 - long(std::fabs(offset) / 25'000.0);
        return strength > 0 ? std::uint8_t(lock | std::uint8_t(strength)) : 0;
    }
    const long steps = std::lround(offset / double(kAlpsFmStepHz));
    if (steps == 0) return std::uint8_t(lock | (offset < 0 ? 1 : 4));
    if (std::labs(steps) <= 2) return std::uint8_t(lock | (std::labs(steps) == 1 ? 2 : 3));
    return 0;
}

std::optional<StationMatch> PllTuner::receivedStation() const {
    if (!settled()) return std::nullopt;
    const std::int64_t tuned = tunedFrequencyHz();
    if (tuned <= 0) return std::nullopt;
    if (mode_ == TunerMode::Tv) return world_.nearest(Band::Tv, std::uint32_t(tuned), kPictureRangeHz);
    return world_.nearest(Band::Fm, std::uint32_t(tuned), kFmReceptionRangeHz);
}

}  // namespace kelto::cardsim
