#include "rurorizi/SoftwareI2cProbe.h"

#include "rurorizi/DynLink.h"

namespace kelto::rurorizi::dynLink {

namespace {
constexpr std::uint32_t kBusClockHz = 100'000;
// How often SDA is sampled in the acknowledge clock before the chip counts as silent.
constexpr int kAcknowledgeReads = 10;
}  // namespace

bool probeI2cAddress(std::uint8_t writeAddress) {
    I2CInitSWMode(kBusClockHz);
    I2CSWStart();
    const std::uint8_t readAddress = std::uint8_t(writeAddress + 1);
    for (int bit = 7; bit >= 0; --bit) {
        I2CSWSetSCL(0);
        I2CSWSetSDA((readAddress >> bit) & 1);
        I2CSWSetSCL(1);
    }
    // Acknowledge clock: release SDA and let the chip pull it low.
    I2CSWSetSCL(0);
    I2CSWSetSDA(1);
    I2CSWSetSCL(1);
    int sda = 1;
    for (int read = 0; read < kAcknowledgeReads; ++read) {
        sda = I2CSWReadSDA();
        if (sda == 0) break;
    }
    I2CSWSetSCL(0);
    const bool answered = sda == 0;
    std::uint8_t scratch = 0;
    I2CSWRead(&scratch);
    I2CSWStop();
    return answered;
}

}  // namespace kelto::rurorizi::dynLink
