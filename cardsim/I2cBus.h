#pragma once
// The card's I2C bus with its two ways of access:
// - hardware mode: whole transfers (address, data bytes) that the chip's I2C controller runs;
// - software mode: the driver drives SCL and SDA itself (bit-banging); the bus decodes start,
//   stop, the address byte and the data bytes, and the addressed chip acknowledges by pulling
//   SDA low in the ninth clock.
// Chips answer only at their own address (the write address; the read address is one above).
// Every transfer goes into a traffic log; tests can make an address fall silent or make its
// writes fail.
#include "cardsim/I2cDevice.h"

#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <vector>

namespace kelto::cardsim {

enum class I2cMode { Hardware, Software };

struct I2cTransfer {
    I2cMode mode = I2cMode::Hardware;
    std::uint8_t address = 0;  // as sent: the write address, or the read address for reads
    bool read = false;
    bool acknowledged = false;  // the chip answered (and, for writes, took the data)
    std::vector<std::uint8_t> bytes;
};

class I2cBus {
public:
    void attach(std::uint8_t writeAddress, I2cDevice* device);
    void detach(std::uint8_t writeAddress);

    // Hardware mode. The address is the 8-bit write address; false means no acknowledge.
    bool write(std::uint8_t address, std::span<const std::uint8_t> bytes);
    bool read(std::uint8_t address, std::span<std::uint8_t> bytes);
    // Writes the subaddress, then reads from it (a combined transfer).
    bool readFrom(std::uint8_t address, std::uint8_t subaddress, std::span<std::uint8_t> bytes);

    // Software mode: line levels set by the driver (0 low, 1 high) and the bus levels it reads.
    void resetLines();
    void setScl(bool high);
    void setSda(bool high);
    bool scl() const { return scl_; }
    bool sda() const { return sdaMaster_ && !slavePullsSdaLow_; }

    // Fault injection.
    void setSilent(std::uint8_t writeAddress, bool silent);
    void setWritesFail(std::uint8_t writeAddress, bool fail);
    void clearFaults();

    const std::vector<I2cTransfer>& log() const { return log_; }

    // Controller settings the driver keeps: the access mode last set up, the hardware-mode clock,
    // whether to wait for slow chips, and whether the last hardware transfer went unanswered.
    I2cMode mode = I2cMode::Hardware;
    std::uint32_t clockHz = 100'000;
    bool waitForSlowChips = false;
    bool lastTransferFailed = false;
    void clearLog() { log_.clear(); }

private:
    enum class Phase { Idle, Address, AddressAck, WriteData, WriteAck, ReadData, ReadAck, Ignore };

    I2cDevice* deviceFor(std::uint8_t address, bool forWrite) const;
    void onSclRising();
    void onSclFalling();
    void finishTransfer();

    std::map<std::uint8_t, I2cDevice*> devices_;
    std::map<std::uint8_t, bool> silent_;
    std::map<std::uint8_t, bool> writesFail_;
    std::vector<I2cTransfer> log_;

    // Software-mode state.
    bool scl_ = true;
    bool sdaMaster_ = true;
    bool slavePullsSdaLow_ = false;
    Phase phase_ = Phase::Idle;
    std::uint8_t shift_ = 0;
    int bitCount_ = 0;
    bool masterAcked_ = false;
    std::uint8_t readByte_ = 0;
    I2cDevice* selected_ = nullptr;
    I2cTransfer pending_;
    bool pendingOpen_ = false;
};

}  // namespace kelto::cardsim
