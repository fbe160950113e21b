#include "rurorizi/CPhilipsTuner.h"

#include "rurorizi/BrooktreeRegistry.h"
#include "rurorizi/ReturnCodes.h"

namespace kelto::rurorizi {

namespace {

// Radio words of the Philips tuner.
constexpr std::uint16_t kRadioEnter = 0x8EA1;
constexpr std::uint16_t kRadioSearch = 0xCEAC;
constexpr std::uint16_t kRadioFineCheck = 0x8EAD;  // the status level becomes the tuning offset
constexpr std::uint16_t kRadioListen = 0x8EA5;
constexpr std::uint16_t kRadioLevel = 0x8EAC;

constexpr std::uint32_t kFmPollPeriodMs = 10;
constexpr int kFmPollReads = 2;

// 16 x (MHz + 10.7): the oscillator sits 10.7 MHz above the station.
std::uint16_t philipsFmDivider(int frequency) { return std::uint16_t((8 * frequency + 856) / 5); }

// A centred station reads 1, 2 or 3 on the fine check.
bool onStation(std::uint8_t level) { return level >= 1 && level <= 3; }

}  // namespace

bool CPhilipsTuner::pollFmLock(std::uint8_t& status) {
    for (int read = 0; read < kFmPollReads; ++read) {
        waitBeforePoll(kFmPollPeriodMs);
        if (!readStatus(status)) return false;
        if (status & kLockBit) return true;
    }
    return false;
}

int CPhilipsTuner::TuneFM(int frequency) {
    const std::uint32_t threshold = dynLink::readFmThreshold();
    if (!inFmRange(frequency)) return kValueOutOfRange;
    const std::uint16_t divider = philipsFmDivider(frequency);
    if (!writeWord(kRadioEnter)) return kRadioI2cFailed;
    waitBeforePoll(kFmPollPeriodMs);
    if (!writeTwoWords(kRadioSearch, divider)) return kRadioI2cFailed;

    bool found = false;
    std::uint8_t status = 0;
    if (pollFmLock(status) && (status & kLevelMask) >= threshold) {
        if (!writeTwoWords(kRadioFineCheck, divider)) return kRadioI2cFailed;
        if (pollFmLock(status)) found = onStation(status & kLevelMask);
    }
    if (!writeTwoWords(kRadioListen, divider)) return kRadioI2cFailed;
    return found ? kSuccess : kNoLock;
}

int CPhilipsTuner::SetFMFrequency(int frequency) {
    const int result = TuneFM(frequency);
    if (result == kSuccess) fmFrequency_ = frequency;
    return result;
}

int CPhilipsTuner::GetFMFrequency() { return fmFrequency_; }

int CPhilipsTuner::GetFMLevel() {
    if (!writeWord(kRadioLevel)) return 0;
    std::uint8_t status = 0;
    for (int read = 0; read < kFmPollReads; ++read) {
        waitBeforePoll(kFmPollPeriodMs);
        if (!readStatus(status)) return 0;
        if (status & kLockBit) break;
    }
    if (!writeWord(kRadioListen)) return 0;
    return status & kLevelMask;
}

}  // namespace kelto::rurorizi
