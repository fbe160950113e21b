// The exports of the video driver library "BtVid_32.dll" (libbtvid_32.so); see BtVidApi.h.
// Each function takes the card's lock for its whole run and answers on the process's card.
#include "drivers/BtVidApi.h"

#include "cardsim/Card.h"
#include "platform/Clock.h"
#include "platform/ModuleEntry.h"

#include <algorithm>
#include <cstring>
#include <vector>

using kelto::cardsim::Card;
using kelto::cardsim::CardLock;
using kelto::cardsim::I2cMode;

namespace {

constexpr int kDone = 0;
constexpr int kFailed = 1;

int result(bool ok) { return ok ? kDone : kFailed; }

bool fails(const CardLock& card, const char* name) { return card->faults.functionFails(name); }

int setPicture(const char* name, int value, int kelto::cardsim::PictureControls::*field) {
    CardLock card;
    if (fails(card, name) || value < 0 || value > kelto::cardsim::VideoDecoder::kControlMax) return kFailed;
    card->video().controls.*field = value;
    return kDone;
}

int getPicture(const char* name, int32_t* value, int kelto::cardsim::PictureControls::*field) {
    CardLock card;
    if (fails(card, name) || !value) return kFailed;
    *value = card->video().controls.*field;
    return kDone;
}

template <typename T>
int setWord(const char* name, T value, uint32_t kelto::cardsim::Gpio::*field) {
    CardLock card;
    if (fails(card, name)) return kFailed;
    card->gpio().*field = uint32_t(value) & kelto::cardsim::Gpio::kPinMask;
    return kDone;
}

int getWord(const char* name, uint32_t* value, uint32_t kelto::cardsim::Gpio::*field) {
    CardLock card;
    if (fails(card, name) || !value) return kFailed;
    *value = card->gpio().*field;
    return kDone;
}

// Software-mode line helpers.
void sclLine(CardLock& card, bool high) { card->i2c().setScl(high); }
void sdaLine(CardLock& card, bool high) { card->i2c().setSda(high); }

}  // namespace

KELTO_MODULE_ENTRY(module, reason) {
    (void)module;
    if (reason == kelto::platform::kModuleAttach) return CardLock()->faults.failingLibraries.contains("BtVid_32.dll") ? 0 : 1;
    return 1;
}

// ---- Video input and picture ----

int Bt848SetVideoSource(int input) {
    CardLock card;
    if (fails(card, "Bt848SetVideoSource")) return kFailed;
    return result(card->video().selectInput(input));
}

int Bt848GetVideoSource(int32_t* input) {
    CardLock card;
    if (fails(card, "Bt848GetVideoSource") || !input) return kFailed;
    *input = int32_t(card->video().input());
    return kDone;
}

using Controls = kelto::cardsim::PictureControls;
int Bt848SetBrightness(int value) { return setPicture("Bt848SetBrightness", value, &Controls::brightness); }
int Bt848GetBrightness(int32_t* value) { return getPicture("Bt848GetBrightness", value, &Controls::brightness); }
int Bt848SetContrast(int value) { return setPicture("Bt848SetContrast", value, &Controls::contrast); }
int Bt848GetContrast(int32_t* value) { return getPicture("Bt848GetContrast", value, &Controls::contrast); }
int Bt848SetHue(int value) { return setPicture("Bt848SetHue", value, &Controls::hue); }
int Bt848GetHue(int32_t* value) { return getPicture("Bt848GetHue", value, &Controls::hue); }
int Bt848SetSaturation(int value) { return setPicture("Bt848SetSaturation", value, &Controls::saturation); }
int Bt848GetSaturation(int32_t* value) { return getPicture("Bt848GetSaturation", value, &Controls::saturation); }

int Bt848PreChannelChange(int channel) {
    CardLock card;
    if (fails(card, "Bt848PreChannelChange")) return kFailed;
    card->video().channelChanging = true;
    card->video().lastChannel = channel;
    return kDone;
}

int Bt848ChannelChanged(int channel) {
    CardLock card;
    if (fails(card, "Bt848ChannelChanged")) return kFailed;
    card->video().channelChanging = false;
    card->video().lastChannel = channel;
    return kDone;
}

int Bt848Pause(void) {
    CardLock card;
    if (fails(card, "Bt848Pause")) return kFailed;
    card->video().pause(kelto::platform::clock().now());
    return kDone;
}

int Bt848Continue(void) {
    CardLock card;
    if (fails(card, "Bt848Continue")) return kFailed;
    card->video().resume();
    return kDone;
}

int Bt848SetCCStatus(int status) {
    CardLock card;
    if (fails(card, "Bt848SetCCStatus")) return kFailed;
    card->video().captionStatus = status;
    return kDone;
}

int Bt848GetCCStatus(int32_t* status) {
    CardLock card;
    if (fails(card, "Bt848GetCCStatus") || !status) return kFailed;
    *status = card->video().captionStatus;
    return kDone;
}

int Bt848SetCCFileName(const char* fileName) {
    CardLock card;
    if (fails(card, "Bt848SetCCFileName") || !fileName) return kFailed;
    card->video().captionFileName.assign(fileName, strnlen(fileName, kelto::cardsim::VideoDecoder::kCaptionFileNameMax));
    return kDone;
}

int Bt848GetCCFileName(char* buffer, uint32_t bufferSize) {
    CardLock card;
    if (fails(card, "Bt848GetCCFileName") || !buffer || bufferSize == 0) return kFailed;
    const std::string& name = card->video().captionFileName;
    const std::size_t count = std::min<std::size_t>(name.size(), bufferSize - 1);
    std::memcpy(buffer, name.data(), count);
    buffer[count] = '\0';
    return kDone;
}

int Bt848SetCCAlert(int alert) {
    CardLock card;
    if (fails(card, "Bt848SetCCAlert")) return kFailed;
    card->video().captionAlert = alert;
    return kDone;
}

int Bt848GetCCAlert(int32_t* alert) {
    CardLock card;
    if (fails(card, "Bt848GetCCAlert") || !alert) return kFailed;
    *alert = card->video().captionAlert;
    return kDone;
}

// ---- Chip family ----

int IsBt848Family(void) { return CardLock()->isBt878() ? 0 : 1; }
int IsBt878Family(void) { return CardLock()->isBt878() ? 1 : 0; }
int IsBt878(void) { return CardLock()->isBt878() ? 1 : 0; }

// ---- GPIO ----

int GPIOIsInitOK(void) {
    CardLock card;
    return card->faults.gpioNotReady || fails(card, "GPIOIsInitOK") ? 0 : 1;
}

void SetGPIOMODE(uint32_t mode) {
    CardLock card;
    if (!fails(card, "SetGPIOMODE")) card->gpio().mode = mode;
}

using kelto::cardsim::Gpio;
int GetGPIOMODE(uint32_t* mode) { return getWord("GetGPIOMODE", mode, &Gpio::mode); }
int SetGPCLKMODE(uint32_t mode) { return setWord("SetGPCLKMODE", mode, &Gpio::clockMode); }
int GetGPCLKMODE(uint32_t* mode) { return getWord("GetGPCLKMODE", mode, &Gpio::clockMode); }
int SetGPWEC(uint32_t value) { return setWord("SetGPWEC", value, &Gpio::writeEnableControl); }
int GetGPWEC(uint32_t* value) { return getWord("GetGPWEC", value, &Gpio::writeEnableControl); }
int SetGPINTI(uint32_t value) { return setWord("SetGPINTI", value, &Gpio::interruptInput); }
int GetGPINTI(uint32_t* value) { return getWord("GetGPINTI", value, &Gpio::interruptInput); }
int SetGPINTC(uint32_t value) { return setWord("SetGPINTC", value, &Gpio::interruptControl); }
int GetGPINTC(uint32_t* value) { return getWord("GetGPINTC", value, &Gpio::interruptControl); }
int SetGPOE(uint32_t mask) { return setWord("SetGPOE", mask, &Gpio::outputEnable); }
int GetGPOE(uint32_t* mask) { return getWord("GetGPOE", mask, &Gpio::outputEnable); }
int GetGPIE(uint32_t* mask) { return getWord("GetGPIE", mask, &Gpio::inputEnable); }
int SetGPDATA(uint32_t value) { return setWord("SetGPDATA", value, &Gpio::data); }
int GetGPDATA(uint32_t* value) { return getWord("GetGPDATA", value, &Gpio::data); }

void SetGPIE(uint32_t mask) {
    CardLock card;
    if (!fails(card, "SetGPIE")) card->gpio().inputEnable = mask & Gpio::kPinMask;
}

int SetGPOEBit(int bit, int enable) {
    CardLock card;
    if (fails(card, "SetGPOEBit")) return kFailed;
    return result(card->gpio().setOutputEnableBit(bit, enable != 0));
}

int GetGPOEBit(int bit, int32_t* enabled) {
    CardLock card;
    bool on = false;
    if (fails(card, "GetGPOEBit") || !enabled || !card->gpio().outputEnableBit(bit, on)) return kFailed;
    *enabled = on ? 1 : 0;
    return kDone;
}

int SetGPIEBit(int bit, int enable) {
    CardLock card;
    if (fails(card, "SetGPIEBit")) return kFailed;
    return result(card->gpio().setInputEnableBit(bit, enable != 0));
}

int GetGPIEBit(int bit, int32_t* enabled) {
    CardLock card;
    bool on = false;
    if (fails(card, "GetGPIEBit") || !enabled || !card->gpio().inputEnableBit(bit, on)) return kFailed;
    *enabled = on ? 1 : 0;
    return kDone;
}

int SetGPDATABits(int lowBit, int highBit, uint32_t value, int reserved) {
    CardLock card;
    if (fails(card, "SetGPDATABits") || reserved != 0) return kFailed;
    return result(card->gpio().setDataBits(lowBit, highBit, value));
}

int GetGPDATABits(int lowBit, int highBit, uint32_t* value, int reserved) {
    CardLock card;
    if (fails(card, "GetGPDATABits") || !value || reserved != 0) return kFailed;
    return result(card->gpio().dataBits(lowBit, highBit, *value));
}

// ---- I2C, hardware mode ----

int I2CIsInitOK(void) {
    CardLock card;
    return card->faults.i2cNotReady || fails(card, "I2CIsInitOK") ? 0 : 1;
}

void I2CInitHWMode(uint32_t clockHz) {
    CardLock card;
    if (fails(card, "I2CInitHWMode")) return;
    card->i2c().resetLines();
    card->i2c().mode = I2cMode::Hardware;
    if (clockHz > 0 && clockHz <= 400'000) card->i2c().clockHz = clockHz;
}

int I2CSetFreq(uint32_t clockHz) {
    CardLock card;
    if (fails(card, "I2CSetFreq") || clockHz == 0 || clockHz > 400'000) return kFailed;
    card->i2c().clockHz = clockHz;
    return kDone;
}

int I2CReadDiv(uint32_t* divider) {
    CardLock card;
    if (fails(card, "I2CReadDiv") || !divider) return kFailed;
    // The chip divides its 28.636 MHz crystal by four times the divider.
    *divider = 28'636'363u / (4u * card->i2c().clockHz);
    return kDone;
}

int I2CSetSync(int enable) {
    CardLock card;
    if (fails(card, "I2CSetSync")) return kFailed;
    card->i2c().waitForSlowChips = enable != 0;
    return kDone;
}

int I2CReadSync(int32_t* enabled) {
    CardLock card;
    if (fails(card, "I2CReadSync") || !enabled) return kFailed;
    *enabled = card->i2c().waitForSlowChips ? 1 : 0;
    return kDone;
}

int I2CGetLastError(void) { return CardLock()->i2c().lastTransferFailed ? 1 : 0; }

int I2CHWRead(uint32_t address, uint8_t* data) {
    CardLock card;
    const bool ok = !fails(card, "I2CHWRead") && data && card->i2c().read(uint8_t(address), std::span(data, 1));
    card->i2c().lastTransferFailed = !ok;
    return result(ok);
}

int I2CHWWrite2(uint32_t address, uint32_t data) {
    CardLock card;
    const uint8_t bytes[1] = {uint8_t(data)};
    const bool ok = !fails(card, "I2CHWWrite2") && card->i2c().write(uint8_t(address), bytes);
    card->i2c().lastTransferFailed = !ok;
    return result(ok);
}

int I2CHWWrite3(uint32_t address, uint32_t data1, uint32_t data2) {
    CardLock card;
    const uint8_t bytes[2] = {uint8_t(data1), uint8_t(data2)};
    const bool ok = !fails(card, "I2CHWWrite3") && card->i2c().write(uint8_t(address), bytes);
    card->i2c().lastTransferFailed = !ok;
    return result(ok);
}

int I2CHWMultiWrite(uint32_t address, uint32_t subaddress, const uint8_t* buffer, uint32_t count) {
    CardLock card;
    if (fails(card, "I2CHWMultiWrite") || (!buffer && count > 0) || count > 255) {
        card->i2c().lastTransferFailed = true;
        return kFailed;
    }
    std::vector<uint8_t> bytes{uint8_t(subaddress)};
    bytes.insert(bytes.end(), buffer, buffer + count);
    const bool ok = card->i2c().write(uint8_t(address), bytes);
    card->i2c().lastTransferFailed = !ok;
    return result(ok);
}

int I2CHWMultiRead(uint32_t address, uint32_t subaddress, uint8_t* buffer, uint32_t count) {
    CardLock card;
    const bool ok = !fails(card, "I2CHWMultiRead") && buffer && count <= 255 &&
                    card->i2c().readFrom(uint8_t(address), uint8_t(subaddress), std::span(buffer, count));
    card->i2c().lastTransferFailed = !ok;
    return result(ok);
}

int ReadDecoder(uint32_t offset, uint32_t* value) {
    CardLock card;
    if (fails(card, "ReadDecoder") || !value || offset % 4 != 0 || offset >= kelto::cardsim::RegisterBlock::kSizeBytes)
        return kFailed;
    *value = card->registers().word(offset);
    return kDone;
}

int WriteDecoder(uint32_t offset, uint32_t value) {
    CardLock card;
    if (fails(card, "WriteDecoder") || offset % 4 != 0 || offset >= kelto::cardsim::RegisterBlock::kSizeBytes)
        return kFailed;
    card->registers().setWord(offset, value);
    return kDone;
}

// ---- I2C, software mode ----

void I2CInitSWMode(uint32_t clockHz) {
    CardLock card;
    if (fails(card, "I2CInitSWMode")) return;
    card->i2c().resetLines();
    card->i2c().mode = I2cMode::Software;
    if (clockHz > 0 && clockHz <= 400'000) card->i2c().clockHz = clockHz;
}

void I2CSWStart(void) {
    CardLock card;
    sdaLine(card, true);
    sclLine(card, true);
    sdaLine(card, false);
    sclLine(card, false);
}

void I2CSWStop(void) {
    CardLock card;
    sdaLine(card, false);
    sclLine(card, true);
    sdaLine(card, true);
}

void I2CSWRead(uint8_t* data) {
    CardLock card;
    uint8_t value = 0;
    sdaLine(card, true);  // let the chip drive the data line
    for (int bit = 0; bit < 8; ++bit) {
        sclLine(card, true);
        value = uint8_t((value << 1) | (card->i2c().sda() ? 1 : 0));
        sclLine(card, false);
    }
    if (data) *data = value;
}

int I2CSWWrite(uint32_t data) {
    CardLock card;
    for (int bit = 7; bit >= 0; --bit) {
        sclLine(card, false);
        sdaLine(card, ((data >> bit) & 1) != 0);
        sclLine(card, true);
    }
    sclLine(card, false);
    sdaLine(card, true);
    sclLine(card, true);
    const bool acknowledged = !card->i2c().sda();
    sclLine(card, false);
    return acknowledged ? kDone : kFailed;
}

void I2CSWSendACK(void) {
    CardLock card;
    sdaLine(card, false);
    sclLine(card, true);
    sclLine(card, false);
    sdaLine(card, true);
}

void I2CSWSendNACK(void) {
    CardLock card;
    sdaLine(card, true);
    sclLine(card, true);
    sclLine(card, false);
}

void I2CSWSetSCL(int level) {
    CardLock card;
    sclLine(card, level != 0);
}

int I2CSWReadSCL(void) { return CardLock()->i2c().scl() ? 1 : 0; }

void I2CSWSetSDA(int level) {
    CardLock card;
    sdaLine(card, level != 0);
}

int I2CSWReadSDA(void) { return CardLock()->i2c().sda() ? 1 : 0; }
