#include "rurorizi/CAlpsTuner.h"

#include "rurorizi/ReturnCodes.h"

#include <optional>

namespace kelto::rurorizi {

namespace {

constexpr int kUnlockedLimit = 10;
constexpr int kHighLevelLimit = 20;

constexpr std::uint16_t kRadioSearch = 0xC605;
constexpr std::uint16_t kRadioListen = 0x8605;
constexpr std::uint32_t kFmPollPeriodMs = 20;
constexpr int kFmPollReads = 2;
constexpr int kNoFmStatus = -1;

// 31.25 kHz steps from 41.25 MHz.
std::uint16_t alpsFmDivider(int frequency) { return std::uint16_t((32 * frequency) / 10 + 1320); }

// Where a status says the station lies: levels 0 and 1 one step below the divider, 4 and 5 one
// step above; anything else (farther off, no lock) is no station near.
std::optional<int> stationStep(int status) {
    const auto level = std::uint8_t(status);  // -1 reads as 255
    if (level == 0 || level == 1) return -1;
    if (level == 4 || level == 5) return +1;
    return std::nullopt;
}

}  // namespace

int CAlpsTuner::Tune(int channel, int plan) { return tuneWithLockLimits(channel, plan, kUnlockedLimit, kHighLevelLimit); }

int CAlpsTuner::ReadFMStatus() {
    for (int read = 0; read < kFmPollReads; ++read) {
        waitBeforePoll(kFmPollPeriodMs);
        std::uint8_t status = 0;
        if (!readStatus(status)) return kNoFmStatus;
        if (status & kLockBit) return status & kLevelMask;
    }
    return kNoFmStatus;
}

int CAlpsTuner::TuneFM(int frequency) {
    if (!inFmRange(frequency)) return kValueOutOfRange;
    const std::uint16_t divider = alpsFmDivider(frequency);
    // The requested divider, then two steps either side; each judged against the requested one.
    std::optional<int> step;
    for (const int probeOffset : {0, -2, +2}) {
        if (!writeTwoWords(kRadioSearch, std::uint16_t(divider + probeOffset))) return kRadioI2cFailed;
        if ((step = stationStep(ReadFMStatus()))) break;
    }
    std::uint16_t finalDivider = divider;
    if (step) {
        finalDivider = std::uint16_t(divider + *step);
    } else {
        if (!writeTwoWords(kRadioSearch, alpsFmDivider(frequency - 2))) return kRadioI2cFailed;
        ReadFMStatus();
    }
    if (!writeTwoWords(kRadioListen, finalDivider)) return kRadioI2cFailed;
    return step ? kSuccess : kNoLock;
}

}  // namespace kelto::rurorizi
