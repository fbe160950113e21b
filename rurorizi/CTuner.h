#pragma once
// The library's tuner object: turns a channel of a channel plan into the tuner's divider and band
// control word, writes them over the card's I2C bus (the video driver's hardware I2C functions)
// and judges the tuner's status byte: bit 0x40 says the PLL locked, bits 0 to 2 a level where
// below 4 is a usable picture.
//
// A word write is one I2CHWWrite3 (address, high byte, low byte); a two-word write is two in a
// row, the second only when the first succeeded. The plan follows the country code at every
// operation that takes a plan (0 broadcast, 1 cable).
#include "rurorizi/ChannelPlans.h"

#include <cstdint>

namespace kelto::rurorizi {

class CountryCode;

enum class TunerType : std::int32_t { Philips = 0, Alps = 2, LgAlps = 3 };

class CTuner {
public:
    CTuner(CountryCode& country, TunerType type, std::uint8_t i2cAddress);
    virtual ~CTuner() = default;
    CTuner(const CTuner&) = delete;
    CTuner& operator=(const CTuner&) = delete;

    // Chooses the plan table, offset and highest channel for the country. With no match no plan
    // is selected, and the offset and highest channel keep their previous values.
    virtual void SelectPlan(int plan);
    // Entry + offset of the selected plan; 0 when no plan is selected or the channel is outside it.
    virtual std::uint16_t GetDivider(int channel, int plan);
    // Stores divider - offset in the plan's entry. False (nothing written) when no plan is
    // selected or the channel lies outside 0..highest channel.
    virtual bool SetDivider(int channel, int plan, std::uint16_t divider);
    // The band control word for the channel's divider: high above the mid/high threshold, mid
    // above the low/mid one, else low (a divider equal to a threshold stays in the lower band).
    virtual std::uint16_t GetControlWord(int channel, int plan);
    // Writes divider and control word and polls for lock: 0 locked, -255 the tuner did not answer,
    // -4 no usable lock (the divider is written once more).
    virtual int Tune(int channel, int plan);
    virtual int GetMaxChannel(int plan);
    // 0, -3 (channel or plan outside the plan), -253 (driver refused the change), -255, -4.
    virtual int SetChannel(int channel, int plan);
    // The channel of the last successful SetChannel (0 at first).
    virtual int GetChannel();

    std::uint8_t i2cAddress() const { return i2cAddress_; }
    TunerType tunerType() const { return tunerType_; }

protected:
    // Tune with limits on consecutive unlocked reads and on locked reads of a too high level.
    int tuneWithLockLimits(int channel, int plan, int unlockedLimit, int highLevelLimit);
    bool writeWord(std::uint16_t word);
    bool writeTwoWords(std::uint16_t first, std::uint16_t second);
    bool readStatus(std::uint8_t& status);
    // Busy wait on the tick count before a status poll.
    static void waitBeforePoll(std::uint32_t periodMs);

    static constexpr std::uint8_t kLockBit = 0x40;
    static constexpr std::uint8_t kLevelMask = 0x07;

    CountryCode& country_;

private:
    std::int32_t currentChannel_ = 0;
    std::uint8_t i2cAddress_;
    TunerType tunerType_;
    ChannelPlan* planTable_ = nullptr;
    const std::uint16_t* bandControlWords_;  // low, mid, high band
    std::int32_t planOffset_ = 0;
    std::int32_t highestChannel_ = 0;
    const std::uint16_t* bandThresholds_;  // low/mid and mid/high boundaries
};

}  // namespace kelto::rurorizi
