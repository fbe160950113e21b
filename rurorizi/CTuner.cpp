#include "rurorizi/CTuner.h"

#include "platform/Clock.h"
#include "rurorizi/CountryCode.h"
#include "rurorizi/DynLink.h"
#include "rurorizi/ReturnCodes.h"

namespace kelto::rurorizi {

namespace {

constexpr std::uint16_t kPhilipsThresholds[2] = {2564, 7168};
constexpr std::uint16_t kPhilipsControlWords[3] = {0xCEA0, 0xCE90, 0xCE30};
constexpr std::uint16_t kAlpsThresholds[2] = {2816, 6464};
constexpr std::uint16_t kAlpsControlWords[3] = {0xCE01, 0xCE02, 0xCE08};

constexpr int kUnlockedLimit = 5;
constexpr int kHighLevelLimit = 10;
constexpr std::uint32_t kTvPollPeriodMs = 10;
constexpr std::uint8_t kUsableLevelBelow = 4;

}  // namespace

CTuner::CTuner(CountryCode& country, TunerType type, std::uint8_t i2cAddress)
    : country_(country), i2cAddress_(i2cAddress), tunerType_(type),
      bandControlWords_(type == TunerType::Philips ? kPhilipsControlWords : kAlpsControlWords),
      bandThresholds_(type == TunerType::Philips ? kPhilipsThresholds : kAlpsThresholds) {}

void CTuner::SelectPlan(int plan) {
    planTable_ = planForCountry(plan, country_.resolve());
    if (!planTable_) return;
    planOffset_ = planTable_->offset;
    highestChannel_ = planTable_->highestChannel;
}

std::uint16_t CTuner::GetDivider(int channel, int plan) {
    SelectPlan(plan);
    if (!planTable_ || channel < 0 || channel > highestChannel_) return 0;
    return std::uint16_t(planTable_->entries[std::size_t(channel)] + planOffset_);
}

bool CTuner::SetDivider(int channel, int plan, std::uint16_t divider) {
    SelectPlan(plan);
    if (!planTable_ || channel < 0 || channel > highestChannel_) return false;
    planTable_->entries[std::size_t(channel)] = std::uint16_t(divider - planOffset_);
    return true;
}

std::uint16_t CTuner::GetControlWord(int channel, int plan) {
    const std::uint16_t divider = GetDivider(channel, plan);
    if (!bandControlWords_ || !bandThresholds_) return 0;
    if (divider > bandThresholds_[1]) return bandControlWords_[2];
    if (divider > bandThresholds_[0]) return bandControlWords_[1];
    return bandControlWords_[0];
}

int CTuner::Tune(int channel, int plan) { return tuneWithLockLimits(channel, plan, kUnlockedLimit, kHighLevelLimit); }

int CTuner::tuneWithLockLimits(int channel, int plan, int unlockedLimit, int highLevelLimit) {
    const std::uint16_t divider = GetDivider(channel, plan);
    const std::uint16_t control = GetControlWord(channel, plan);
    if (!writeTwoWords(divider, control)) return kTunerI2cFailed;
    int unlocked = 0;
    int high = 0;
    while (unlocked < unlockedLimit && high < highLevelLimit) {
        waitBeforePoll(kTvPollPeriodMs);
        std::uint8_t status = 0;
        if (!readStatus(status)) return kTunerI2cFailed;
        if (status & kLockBit) {
            if ((status & kLevelMask) < kUsableLevelBelow) return kSuccess;
            ++high;
            unlocked = 0;
        } else {
            ++unlocked;
        }
    }
    writeWord(divider);  // leave the tuner on the channel; its result does not change the answer
    return kNoLock;
}

int CTuner::GetMaxChannel(int plan) {
    SelectPlan(plan);
    return highestChannel_;
}

int CTuner::SetChannel(int channel, int plan) {
    if (channel < 0 || channel > GetMaxChannel(plan) || (plan != 0 && plan != 1)) return kValueOutOfRange;
    if (!driverOk(dynLink::Bt848PreChannelChange(channel))) return kVideoDriverFailed;
    if (const int result = Tune(channel, plan); result != kSuccess) return result;
    if (!driverOk(dynLink::Bt848ChannelChanged(channel))) return kVideoDriverFailed;
    currentChannel_ = channel;
    return kSuccess;
}

int CTuner::GetChannel() { return currentChannel_; }

bool CTuner::writeWord(std::uint16_t word) {
    return driverOk(dynLink::I2CHWWrite3(i2cAddress_, word >> 8, word & 0xFF));
}

bool CTuner::writeTwoWords(std::uint16_t first, std::uint16_t second) { return writeWord(first) && writeWord(second); }

bool CTuner::readStatus(std::uint8_t& status) { return driverOk(dynLink::I2CHWRead(i2cAddress_, &status)); }

void CTuner::waitBeforePoll(std::uint32_t periodMs) { platform::busyWaitMs(periodMs); }

}  // namespace kelto::rurorizi
