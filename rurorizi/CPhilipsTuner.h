#pragma once
// A Philips tuner (I2C 0xC0) with its FM radio: the tuner object the library makes when the probe
// found a Philips tuner, and the base of the Alps tuners. Frequencies are in units of 0.1 MHz.
#include "rurorizi/CTuner.h"

namespace kelto::rurorizi {

class CPhilipsTuner : public CTuner {
public:
    static constexpr int kLowestFmFrequency = 640;    // 64.0 MHz
    static constexpr int kHighestFmFrequency = 1080;  // 108.0 MHz

    CPhilipsTuner(CountryCode& country, TunerType type, std::uint8_t i2cAddress) : CTuner(country, type, i2cAddress) {}

    // Tunes the radio and judges whether a station is there: 0 found, -4 none, -3 outside
    // 640..1080, -258 the tuner did not answer. The lock threshold comes from "FMThreshold".
    virtual int TuneFM(int frequency);
    // TuneFM, remembering the frequency when a station was found.
    virtual int SetFMFrequency(int frequency);
    // The frequency of the last successful SetFMFrequency (640 at first).
    virtual int GetFMFrequency();
    // The signal level 0..7 (0 when the tuner does not answer).
    virtual int GetFMLevel();

protected:
    static bool inFmRange(int frequency) { return frequency >= kLowestFmFrequency && frequency <= kHighestFmFrequency; }

private:
    // Up to two status reads, each after a 10 ms wait; true with the status of the first locked
    // read, false when neither locked or a read failed.
    bool pollFmLock(std::uint8_t& status);

    std::int32_t fmFrequency_ = kLowestFmFrequency;
};

}  // namespace kelto::rurorizi
