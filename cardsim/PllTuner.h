#pragma once
// The card's PLL tuner on the I2C bus. It takes 16-bit words, high byte first: a word whose top
// bit is clear is the divider (steps of 62.5 kHz over the oscillator), one with the top bit set
// is a control word (band bits, or a radio mode). Several words may come in one transfer.
//
// TV: the tuned vision carrier is divider x 62.5 kHz less the intermediate frequency. A status
// read answers bit 0x40 (the PLL locked) once kTvSettleMs have passed since the divider or
// control word last changed, and in bits 0 to 2 a level that grows with the distance to the
// nearest station's carrier: 0 within 125 kHz, 3 within 1 MHz (still usable: level < 4), up to 7.
//
// FM: entered by the radio control words of the tuner's make; the divider then counts the FM
// oscillator (Philips: 62.5 kHz steps over an intermediate frequency of 10.7 MHz; Alps and LG
// Alps: 31.25 kHz steps from 41.25 MHz). Status bits 0 to 2 depend on the control word:
// - Philips 0x8EAD: AFC window, 2 on the carrier, 1 or 3 within about 75 kHz, 0 or 4 beyond;
// - other Philips radio words (0x8EA1, 0xCEAC, 0x8EAC, 0x8EA5): field strength 0 to 7;
// - Alps 0xC605/0x8605: 1 (station just below) or 4 (just above) within half a step, 2 or 3 one
//   or two steps away; farther off there is no lock.
#include "cardsim/BroadcastWorld.h"
#include "cardsim/CardConfig.h"
#include "cardsim/I2cDevice.h"

#include <cstdint>
#include <optional>

namespace kelto::cardsim {

enum class TunerMode { Tv, Fm };

class PllTuner final : public I2cDevice {
public:
    static constexpr std::uint32_t kTvSettleMs = 20;
    static constexpr std::uint32_t kFmSettleMs = 10;
    static constexpr std::uint8_t kLockBit = 0x40;
    // A picture is received within this distance of a vision carrier.
    static constexpr std::uint32_t kPictureRangeHz = 1'000'000;

    PllTuner(TunerKind kind, std::uint32_t intermediateFrequencyHz, const BroadcastWorld& world);

    bool write(std::span<const std::uint8_t> bytes) override;
    std::uint8_t readByte() override;

    TunerKind kind() const { return kind_; }
    TunerMode mode() const { return mode_; }
    std::uint16_t divider() const { return divider_; }
    std::uint16_t controlWord() const { return controlWord_; }
    std::uint32_t intermediateFrequencyHz() const { return intermediateFrequencyHz_; }
    // The frequency the tuner receives in its current mode (vision carrier or FM carrier); may be
    // negative for dividers below the intermediate frequency.
    std::int64_t tunedFrequencyHz() const;
    bool settled() const;
    // The status byte as a read would answer it now.
    std::uint8_t status() const;

    // The station whose signal the tuner passes on now: TV mode, locked, within the picture range
    // (TV) or 60 kHz (FM). The offset says how far off the tuning is.
    std::optional<StationMatch> receivedStation() const;

    // Whether a control word puts this tuner into radio mode.
    bool isRadioWord(std::uint16_t word) const;

private:
    void takeWord(std::uint16_t word);

    TunerKind kind_;
    std::uint32_t intermediateFrequencyHz_;
    const BroadcastWorld& world_;
    TunerMode mode_ = TunerMode::Tv;
    std::uint16_t divider_ = 0;
    std::uint16_t controlWord_ = 0;
    std::uint32_t changedAtTickMs_ = 0;
};

// The TV status level for a distance to the nearest carrier (7 when nothing is near).
std::uint8_t tvLevelForDistance(std::optional<std::uint64_t> distanceHz);

}  // namespace kelto::cardsim
