/* The video driver library "BtVid_32.dll" (libbtvid_32.so): picture controls, video input, GPIO
 * and I2C of the capture card, as C functions looked up by name.
 *
 * Conventions for every function below:
 * - Results: functions returning int answer 0 for done and 1 for failure, except the "Is..."
 *   queries (non-zero = yes) and I2CSWReadSDA / I2CSWReadSCL (the line level).
 * - Ownership: pointers are the caller's buffers; the library writes only the bytes named and
 *   keeps no pointer after returning. Nothing it allocates crosses the boundary.
 * - Threads: any thread may call; calls are serialised on the card.
 * - Values: I2C addresses are 8-bit write addresses (0xC0); bytes are passed in the low 8 bits.
 *   Picture controls are 0..255. GPIO bit ranges are inclusive (lowBit..highBit, within 0..23).
 */
#pragma once
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Video input: 1 S-Video, 2 tuner, 3 composite. */
int Bt848SetVideoSource(int input);
int Bt848GetVideoSource(int32_t* input);
/* Picture controls 0..255 (128 neutral); a value outside 0..255 fails. */
int Bt848SetBrightness(int value);
int Bt848GetBrightness(int32_t* value);
int Bt848SetContrast(int value);
int Bt848GetContrast(int32_t* value);
int Bt848SetHue(int value);
int Bt848GetHue(int32_t* value);
int Bt848SetSaturation(int value);
int Bt848GetSaturation(int32_t* value);
/* Told before and after the tuner changes channel. */
int Bt848PreChannelChange(int channel);
int Bt848ChannelChanged(int channel);
/* Picture freeze: Pause keeps the current picture until Continue. */
int Bt848Pause(void);
int Bt848Continue(void);
/* Closed-caption settings kept for the caption window. The file name is cut to 259 bytes;
 * Bt848GetCCFileName writes at most bufferSize bytes including the terminator. */
int Bt848SetCCStatus(int status);
int Bt848GetCCStatus(int32_t* status);
int Bt848SetCCFileName(const char* fileName);
int Bt848GetCCFileName(char* buffer, uint32_t bufferSize);
int Bt848SetCCAlert(int alert);
int Bt848GetCCAlert(int32_t* alert);

/* Chip family. */
int IsBt848Family(void);
int IsBt878Family(void);
int IsBt878(void);

/* GPIO. */
int GPIOIsInitOK(void);
void SetGPIOMODE(uint32_t mode);
int GetGPIOMODE(uint32_t* mode);
int SetGPCLKMODE(uint32_t mode);
int GetGPCLKMODE(uint32_t* mode);
int SetGPWEC(uint32_t value);
int GetGPWEC(uint32_t* value);
int SetGPINTI(uint32_t value);
int GetGPINTI(uint32_t* value);
int SetGPINTC(uint32_t value);
int GetGPINTC(uint32_t* value);
int SetGPOEBit(int bit, int enable);
int GetGPOEBit(int bit, int32_t* enabled);
int SetGPOE(uint32_t mask);
int GetGPOE(uint32_t* mask);
int SetGPIEBit(int bit, int enable);
int GetGPIEBit(int bit, int32_t* enabled);
void SetGPIE(uint32_t mask);
int GetGPIE(uint32_t* mask);
int SetGPDATA(uint32_t value);
int GetGPDATA(uint32_t* value);
/* Writes value into data bits lowBit..highBit; `reserved` must be 0. */
int SetGPDATABits(int lowBit, int highBit, uint32_t value, int reserved);
int GetGPDATABits(int lowBit, int highBit, uint32_t* value, int reserved);

/* I2C, hardware mode: whole transfers run by the chip. */
int I2CIsInitOK(void);
void I2CInitHWMode(uint32_t clockHz);
int I2CSetFreq(uint32_t clockHz);     /* 1..400000 */
int I2CReadDiv(uint32_t* divider);    /* the chip's clock divider for the current frequency */
int I2CSetSync(int enable);           /* wait for slow chips (clock stretching) */
int I2CReadSync(int32_t* enabled);
int I2CGetLastError(void);            /* 0, or 1 when the last transfer was not acknowledged */
int I2CHWRead(uint32_t address, uint8_t* data);
int I2CHWWrite2(uint32_t address, uint32_t data);
int I2CHWWrite3(uint32_t address, uint32_t data1, uint32_t data2);
int I2CHWMultiWrite(uint32_t address, uint32_t subaddress, const uint8_t* buffer, uint32_t count);
int I2CHWMultiRead(uint32_t address, uint32_t subaddress, uint8_t* buffer, uint32_t count);
/* Decoder registers: 32-bit words of the register block at a byte offset (multiple of 4). */
int ReadDecoder(uint32_t offset, uint32_t* value);
int WriteDecoder(uint32_t offset, uint32_t value);

/* I2C, software mode: the caller drives the lines. */
void I2CInitSWMode(uint32_t clockHz);
void I2CSWStart(void);
void I2CSWStop(void);
void I2CSWRead(uint8_t* data);        /* eight clocks, most significant bit first, no acknowledge */
int I2CSWWrite(uint32_t data);        /* eight bits and the acknowledge clock; 0 = acknowledged */
void I2CSWSendACK(void);
void I2CSWSendNACK(void);
void I2CSWSetSCL(int level);
int I2CSWReadSCL(void);
void I2CSWSetSDA(int level);
int I2CSWReadSDA(void);

#ifdef __cplusplus
}
#endif
