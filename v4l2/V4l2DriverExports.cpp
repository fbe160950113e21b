// The video driver library's exports (drivers/BtVidApi.h) over a Video4Linux2 card, in
// libkelto_v4l2_btvid.so, which the program and the hardware-control library load in place of
// "BtVid_32.dll" (and of "BtAud.dll") when the card file chooses this driver set. Each function
// takes the card's lock for its whole run. Results: 0 done, 1 failed, as the interface says.
#include "drivers/BtAudApi.h"
#include "drivers/BtVidApi.h"

#include "v4l2/V4l2Card.h"

#include <linux/videodev2.h>

#include <algorithm>
#include <cstring>
#include <vector>

using kelto::v4l2::CardLock;
using kelto::v4l2::GpioWords;

namespace {

constexpr int kDone = 0;
constexpr int kFailed = 1;
constexpr std::uint32_t kMaxI2cClockHz = 400'000;
constexpr std::uint32_t kCrystalHz = 28'636'363;

int result(bool ok) { return ok ? kDone : kFailed; }

int setWord(std::uint32_t value, std::uint32_t GpioWords::*field) {
    CardLock card;
    card->gpio().*field = value & GpioWords::kPinMask;
    return kDone;
}

int getWord(std::uint32_t* value, std::uint32_t GpioWords::*field) {
    if (!value) return kFailed;
    CardLock card;
    *value = card->gpio().*field;
    return kDone;
}

int setBit(int bit, int enable, std::uint32_t GpioWords::*field) {
    if (bit < 0 || bit > 23) return kFailed;
    CardLock card;
    std::uint32_t& word = card->gpio().*field;
    word = enable ? (word | (1u << bit)) : (word & ~(1u << bit));
    return kDone;
}

int getBit(int bit, int32_t* enabled, std::uint32_t GpioWords::*field) {
    if (bit < 0 || bit > 23 || !enabled) return kFailed;
    CardLock card;
    *enabled = (card->gpio().*field >> bit) & 1;
    return kDone;
}

int setPicture(std::uint32_t controlId, int value) { return result(CardLock()->setPicture(controlId, value)); }

int getPicture(std::uint32_t controlId, int32_t* value) {
    if (!value) return kFailed;
    return result(CardLock()->picture(controlId, *value));
}

std::uint32_t i2cClockHz = 100'000;
bool i2cWaitForSlowChips = false;
bool i2cLastFailed = false;

int i2cResult(bool ok) {
    i2cLastFailed = !ok;
    return result(ok);
}

}  // namespace

// ---- Video input and picture ----

int Bt848SetVideoSource(int input) { return result(CardLock()->selectSource(input)); }
int Bt848GetVideoSource(int32_t* input) { return input ? result(CardLock()->currentSource(*input)) : kFailed; }
int Bt848SetBrightness(int value) { return setPicture(V4L2_CID_BRIGHTNESS, value); }
int Bt848GetBrightness(int32_t* value) { return getPicture(V4L2_CID_BRIGHTNESS, value); }
int Bt848SetContrast(int value) { return setPicture(V4L2_CID_CONTRAST, value); }
int Bt848GetContrast(int32_t* value) { return getPicture(V4L2_CID_CONTRAST, value); }
int Bt848SetHue(int value) { return setPicture(V4L2_CID_HUE, value); }
int Bt848GetHue(int32_t* value) { return getPicture(V4L2_CID_HUE, value); }
int Bt848SetSaturation(int value) { return setPicture(V4L2_CID_SATURATION, value); }
int Bt848GetSaturation(int32_t* value) { return getPicture(V4L2_CID_SATURATION, value); }

// The kernel driver switches channels by itself; these only need a card to answer.
int Bt848PreChannelChange(int) { return result(CardLock()->ready()); }
int Bt848ChannelChanged(int) { return result(CardLock()->ready()); }

int Bt848Pause(void) {
    CardLock card;
    card->frozen = true;
    return kDone;
}

int Bt848Continue(void) {
    CardLock card;
    card->frozen = false;
    return kDone;
}

int Bt848SetCCStatus(int status) {
    CardLock()->captionStatus = status;
    return kDone;
}

int Bt848GetCCStatus(int32_t* status) {
    if (!status) return kFailed;
    *status = CardLock()->captionStatus;
    return kDone;
}

int Bt848SetCCFileName(const char* fileName) {
    if (!fileName) return kFailed;
    CardLock()->captionFileName.assign(fileName, strnlen(fileName, 259));
    return kDone;
}

int Bt848GetCCFileName(char* buffer, uint32_t bufferSize) {
    if (!buffer || bufferSize == 0) return kFailed;
    CardLock card;
    const std::string& name = card->captionFileName;
    const std::size_t count = std::min<std::size_t>(name.size(), bufferSize - 1);
    std::memcpy(buffer, name.data(), count);
    buffer[count] = '\0';
    return kDone;
}

int Bt848SetCCAlert(int alert) {
    CardLock()->captionAlert = alert;
    return kDone;
}

int Bt848GetCCAlert(int32_t* alert) {
    if (!alert) return kFailed;
    *alert = CardLock()->captionAlert;
    return kDone;
}

// ---- Chip family: from the card's name as the kernel driver gives it ----

int IsBt848Family(void) { return CardLock()->isBt878() ? 0 : 1; }
int IsBt878Family(void) { return CardLock()->isBt878() ? 1 : 0; }
int IsBt878(void) { return CardLock()->isBt878() ? 1 : 0; }

// ---- GPIO: pins kept in memory; data bits 0..1 carry the sound route ----

int GPIOIsInitOK(void) { return 1; }
void SetGPIOMODE(uint32_t mode) { setWord(mode, &GpioWords::mode); }
int GetGPIOMODE(uint32_t* mode) { return getWord(mode, &GpioWords::mode); }
int SetGPCLKMODE(uint32_t mode) { return setWord(mode, &GpioWords::clockMode); }
int GetGPCLKMODE(uint32_t* mode) { return getWord(mode, &GpioWords::clockMode); }
int SetGPWEC(uint32_t value) { return setWord(value, &GpioWords::writeEnableControl); }
int GetGPWEC(uint32_t* value) { return getWord(value, &GpioWords::writeEnableControl); }
int SetGPINTI(uint32_t value) { return setWord(value, &GpioWords::interruptInput); }
int GetGPINTI(uint32_t* value) { return getWord(value, &GpioWords::interruptInput); }
int SetGPINTC(uint32_t value) { return setWord(value, &GpioWords::interruptControl); }
int GetGPINTC(uint32_t* value) { return getWord(value, &GpioWords::interruptControl); }
int SetGPOEBit(int bit, int enable) { return setBit(bit, enable, &GpioWords::outputEnable); }
int GetGPOEBit(int bit, int32_t* enabled) { return getBit(bit, enabled, &GpioWords::outputEnable); }
int SetGPOE(uint32_t mask) { return setWord(mask, &GpioWords::outputEnable); }
int GetGPOE(uint32_t* mask) { return getWord(mask, &GpioWords::outputEnable); }
int SetGPIEBit(int bit, int enable) { return setBit(bit, enable, &GpioWords::inputEnable); }
int GetGPIEBit(int bit, int32_t* enabled) { return getBit(bit, enabled, &GpioWords::inputEnable); }
void SetGPIE(uint32_t mask) { setWord(mask, &GpioWords::inputEnable); }
int GetGPIE(uint32_t* mask) { return getWord(mask, &GpioWords::inputEnable); }
int GetGPDATA(uint32_t* value) { return getWord(value, &GpioWords::data); }
int SetGPDATA(uint32_t value) { return result(CardLock()->setGpioDataBits(0, 23, value)); }

int SetGPDATABits(int lowBit, int highBit, uint32_t value, int reserved) {
    if (reserved != 0) return kFailed;
    return result(CardLock()->setGpioDataBits(lowBit, highBit, value));
}

int GetGPDATABits(int lowBit, int highBit, uint32_t* value, int reserved) {
    if (reserved != 0 || !value) return kFailed;
    return result(CardLock()->gpioDataBits(lowBit, highBit, *value));
}

// ---- I2C, hardware mode ----

int I2CIsInitOK(void) { return 1; }

void I2CInitHWMode(uint32_t clockHz) {
    CardLock card;
    if (clockHz > 0 && clockHz <= kMaxI2cClockHz) i2cClockHz = clockHz;
}

int I2CSetFreq(uint32_t clockHz) {
    if (clockHz == 0 || clockHz > kMaxI2cClockHz) return kFailed;
    CardLock card;
    i2cClockHz = clockHz;
    return kDone;
}

int I2CReadDiv(uint32_t* divider) {
    if (!divider) return kFailed;
    CardLock card;
    *divider = kCrystalHz / (4u * i2cClockHz);
    return kDone;
}

int I2CSetSync(int enable) {
    CardLock card;
    i2cWaitForSlowChips = enable != 0;
    return kDone;
}

int I2CReadSync(int32_t* enabled) {
    if (!enabled) return kFailed;
    CardLock card;
    *enabled = i2cWaitForSlowChips ? 1 : 0;
    return kDone;
}

int I2CGetLastError(void) {
    CardLock card;
    return i2cLastFailed ? 1 : 0;
}

int I2CHWRead(uint32_t address, uint8_t* data) {
    CardLock card;
    return i2cResult(data && card->i2cRead(uint8_t(address), std::span(data, 1)));
}

int I2CHWWrite2(uint32_t address, uint32_t data) {
    CardLock card;
    const uint8_t bytes[1] = {uint8_t(data)};
    return i2cResult(card->i2cWrite(uint8_t(address), bytes));
}

int I2CHWWrite3(uint32_t address, uint32_t data1, uint32_t data2) {
    CardLock card;
    const uint8_t bytes[2] = {uint8_t(data1), uint8_t(data2)};
    return i2cResult(card->i2cWrite(uint8_t(address), bytes));
}

int I2CHWMultiWrite(uint32_t address, uint32_t subaddress, const uint8_t* buffer, uint32_t count) {
    CardLock card;
    if ((!buffer && count > 0) || count > 255) return i2cResult(false);
    std::vector<uint8_t> bytes{uint8_t(subaddress)};
    if (count > 0) bytes.insert(bytes.end(), buffer, buffer + count);
    return i2cResult(card->i2cWrite(uint8_t(address), bytes));
}

int I2CHWMultiRead(uint32_t address, uint32_t subaddress, uint8_t* buffer, uint32_t count) {
    CardLock card;
    return i2cResult(buffer && count <= 255 && card->i2cReadFrom(uint8_t(address), uint8_t(subaddress), std::span(buffer, count)));
}

// The kernel driver owns the chip's registers: none can be read or written from here.
int ReadDecoder(uint32_t, uint32_t*) { return kFailed; }
int WriteDecoder(uint32_t, uint32_t) { return kFailed; }

// ---- I2C, software mode: enough of the lines for an address probe ----

void I2CInitSWMode(uint32_t clockHz) { I2CInitHWMode(clockHz); }
void I2CSWStart(void) { CardLock()->softwareLines().start(); }
void I2CSWStop(void) { CardLock()->softwareLines().stop(); }

void I2CSWRead(uint8_t* data) {
    CardLock card;
    auto& lines = card->softwareLines();
    // The byte after an acknowledged address: what that device answers; a silent bus reads high.
    uint8_t byte = 0xFF;
    if (lines.acknowledged() && !card->i2cRead(lines.address(), std::span(&byte, 1))) byte = 0xFF;
    if (data) *data = byte;
}

int I2CSWWrite(uint32_t data) {
    CardLock card;
    auto& lines = card->softwareLines();
    auto answers = [&card](uint8_t address) { return card->i2cAnswers(address); };
    for (int bit = 7; bit >= 0; --bit) {
        lines.setScl(false, answers);
        lines.setSda(((data >> bit) & 1) != 0);
        lines.setScl(true, answers);
    }
    lines.setScl(false, answers);
    lines.setSda(true);
    lines.setScl(true, answers);
    const bool acknowledged = !lines.sda();
    lines.setScl(false, answers);
    return acknowledged ? kDone : kFailed;
}

void I2CSWSendACK(void) {}
void I2CSWSendNACK(void) {}

void I2CSWSetSCL(int level) {
    CardLock card;
    card->softwareLines().setScl(level != 0, [&card](uint8_t address) { return card->i2cAnswers(address); });
}

int I2CSWReadSCL(void) { return CardLock()->softwareLines().scl() ? 1 : 0; }
void I2CSWSetSDA(int level) { CardLock()->softwareLines().setSda(level != 0); }
int I2CSWReadSDA(void) { return CardLock()->softwareLines().sda() ? 1 : 0; }

// ---- The audio command library: this card has no digital audio path ----

int ProcessCommand(uint32_t, uint32_t) { return kFailed; }
