#pragma once
// An Alps or LG Alps tuner (I2C 0xC2 or 0xC6): slower to lock on TV (10 unlocked / 20 high-level
// reads), and an FM radio whose status tells on which side of a station the divider lies, so
// TuneFM steps around the requested frequency to find it.
#include "rurorizi/CPhilipsTuner.h"

namespace kelto::rurorizi {

class CAlpsTuner : public CPhilipsTuner {
public:
    CAlpsTuner(CountryCode& country, TunerType type, std::uint8_t i2cAddress) : CPhilipsTuner(country, type, i2cAddress) {}

    int Tune(int channel, int plan) override;
    int TuneFM(int frequency) override;
    // The Alps radio reports no level.
    int GetFMLevel() override { return 0; }
    // Up to two status reads, each after a 20 ms wait: the level (0..7) of the first locked read;
    // -1 when neither locked or a read failed.
    virtual int ReadFMStatus();
};

}  // namespace kelto::rurorizi
