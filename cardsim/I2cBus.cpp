#include "cardsim/I2cBus.h"

namespace kelto::cardsim {

void I2cBus::attach(std::uint8_t writeAddress, I2cDevice* device) { devices_[writeAddress & 0xFE] = device; }

void I2cBus::detach(std::uint8_t writeAddress) { devices_.erase(writeAddress & 0xFE); }

void I2cBus::setSilent(std::uint8_t writeAddress, bool silent) { silent_[writeAddress & 0xFE] = silent; }

void I2cBus::setWritesFail(std::uint8_t writeAddress, bool fail) { writesFail_[writeAddress & 0xFE] = fail; }

void I2cBus::clearFaults() {
    silent_.clear();
    writesFail_.clear();
}

I2cDevice* I2cBus::deviceFor(std::uint8_t address, bool forWrite) const {
    const std::uint8_t writeAddress = address & 0xFE;
    if (const auto quiet = silent_.find(writeAddress); quiet != silent_.end() && quiet->second) return nullptr;
    const auto found = devices_.find(writeAddress);
    if (found == devices_.end()) return nullptr;
    if (forWrite)
        if (const auto fails = writesFail_.find(writeAddress); fails != writesFail_.end() && fails->second)
            return nullptr;
    return found->second;
}

bool I2cBus::write(std::uint8_t address, std::span<const std::uint8_t> bytes) {
    I2cTransfer transfer{I2cMode::Hardware, std::uint8_t(address & 0xFE), false, false, {bytes.begin(), bytes.end()}};
    if (I2cDevice* device = deviceFor(address, true)) transfer.acknowledged = device->write(bytes);
    log_.push_back(transfer);
    return transfer.acknowledged;
}

bool I2cBus::read(std::uint8_t address, std::span<std::uint8_t> bytes) {
    I2cTransfer transfer{I2cMode::Hardware, std::uint8_t(address | 1), true, false, {}};
    if (I2cDevice* device = deviceFor(address, false)) {
        device->beginRead();
        for (auto& byte : bytes) byte = device->readByte();
        transfer.acknowledged = true;
        transfer.bytes.assign(bytes.begin(), bytes.end());
    }
    log_.push_back(transfer);
    return transfer.acknowledged;
}

bool I2cBus::readFrom(std::uint8_t address, std::uint8_t subaddress, std::span<std::uint8_t> bytes) {
    const std::uint8_t sub[1] = {subaddress};
    return write(address, sub) && read(address, bytes);
}

void I2cBus::resetLines() {
    finishTransfer();
    scl_ = true;
    sdaMaster_ = true;
    slavePullsSdaLow_ = false;
    phase_ = Phase::Idle;
}

void I2cBus::setSda(bool high) {
    if (scl_ && sdaMaster_ && !high) {
        // Start (or repeated start): SDA falls while SCL is high.
        finishTransfer();
        phase_ = Phase::Address;
        shift_ = 0;
        bitCount_ = 0;
        slavePullsSdaLow_ = false;
        selected_ = nullptr;
    } else if (scl_ && !sdaMaster_ && high) {
        // Stop: SDA rises while SCL is high.
        finishTransfer();
        phase_ = Phase::Idle;
        slavePullsSdaLow_ = false;
    }
    sdaMaster_ = high;
}

void I2cBus::setScl(bool high) {
    if (high == scl_) return;
    scl_ = high;
    if (high) onSclRising();
    else onSclFalling();
}

void I2cBus::onSclRising() {
    switch (phase_) {
    case Phase::Address:
    case Phase::WriteData:
        if (bitCount_ < 8) {
            shift_ = std::uint8_t((shift_ << 1) | (sda() ? 1 : 0));
            ++bitCount_;
        }
        break;
    case Phase::ReadAck: masterAcked_ = !sda(); break;
    default: break;
    }
}

void I2cBus::onSclFalling() {
    switch (phase_) {
    case Phase::Address:
        if (bitCount_ < 8) break;
        pending_ = I2cTransfer{I2cMode::Software, shift_, (shift_ & 1) != 0, false, {}};
        pendingOpen_ = true;
        selected_ = deviceFor(shift_, false);
        if (selected_) {
            pending_.acknowledged = true;
            slavePullsSdaLow_ = true;
            phase_ = Phase::AddressAck;
        } else {
            phase_ = Phase::Ignore;
        }
        break;
    case Phase::AddressAck:
        slavePullsSdaLow_ = false;
        bitCount_ = 0;
        shift_ = 0;
        if (pending_.read) {
            selected_->beginRead();
            readByte_ = selected_->readByte();
            pending_.bytes.push_back(readByte_);
            slavePullsSdaLow_ = (readByte_ & 0x80) == 0;
            phase_ = Phase::ReadData;
        } else {
            phase_ = Phase::WriteData;
        }
        break;
    case Phase::WriteData:
        if (bitCount_ < 8) break;
        pending_.bytes.push_back(shift_);
        if (deviceFor(pending_.address, true)) {
            slavePullsSdaLow_ = true;
            phase_ = Phase::WriteAck;
        } else {
            pending_.acknowledged = false;
            phase_ = Phase::Ignore;
        }
        break;
    case Phase::WriteAck:
        slavePullsSdaLow_ = false;
        shift_ = 0;
        bitCount_ = 0;
        phase_ = Phase::WriteData;
        break;
    case Phase::ReadData:
        ++bitCount_;
        if (bitCount_ >= 8) {
            slavePullsSdaLow_ = false;
            phase_ = Phase::ReadAck;
        } else {
            slavePullsSdaLow_ = ((readByte_ >> (7 - bitCount_)) & 1) == 0;
        }
        break;
    case Phase::ReadAck:
        if (masterAcked_) {
            readByte_ = selected_->readByte();
            pending_.bytes.push_back(readByte_);
            bitCount_ = 0;
            slavePullsSdaLow_ = (readByte_ & 0x80) == 0;
            phase_ = Phase::ReadData;
        } else {
            phase_ = Phase::Ignore;
        }
        break;
    case Phase::Idle:
    case Phase::Ignore: break;
    }
}

void I2cBus::finishTransfer() {
    if (!pendingOpen_) return;
    pendingOpen_ = false;
    if (!pending_.read && pending_.acknowledged && selected_ && !pending_.bytes.empty())
        pending_.acknowledged = selected_->write(pending_.bytes);
    log_.push_back(std::move(pending_));
    pending_ = {};
}

}  // namespace kelto::cardsim
