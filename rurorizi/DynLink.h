#pragma once
// dynLink: the library's binding of the video driver library "BtVid_32.dll". Its 38 functions are
// looked up by name at load; every call goes through a guard, so a function the library did not
// export is never called: the guard answers the function's own failure value instead (1 for
// set, get and I2C calls; 0 for GPIOIsInitOK, I2CIsInitOK and IsBt878Family) or does nothing
// (functions without a result). Callers then report their usual error code.
#include <cstdint>

namespace kelto::rurorizi::dynLink {

// Loads "BtVid_32.dll" and binds the 38 functions in table order (a missing name stays null).
// False when the library does not load.
bool bindVideoDriver();
// Forgets the functions and unloads the library (if loaded).
void releaseVideoDriver();
bool videoDriverLoaded();
// How many of the 38 functions are bound (for diagnostics and tests).
int boundFunctionCount();

// The guarded functions, in table order.
int Bt848SetVideoSource(int input);
int Bt848GetVideoSource(std::int32_t* input);
int Bt848SetBrightness(int value);
int Bt848GetBrightness(std::int32_t* value);
int Bt848SetContrast(int value);
int Bt848GetContrast(std::int32_t* value);
int Bt848SetHue(int value);
int Bt848GetHue(std::int32_t* value);
int Bt848SetSaturation(int value);
int Bt848GetSaturation(std::int32_t* value);
int Bt848PreChannelChange(int channel);
int Bt848ChannelChanged(int channel);
int SetGPOEBit(int bit, int enable);
int SetGPOE(std::uint32_t mask);
int SetGPDATABits(int lowBit, int highBit, std::uint32_t value, int reserved);
void SetGPIE(std::uint32_t mask);
int GetGPDATABits(int lowBit, int highBit, std::uint32_t* value, int reserved);
int GPIOIsInitOK();
void SetGPIOMODE(std::uint32_t mode);
int I2CIsInitOK();
void I2CInitHWMode(std::uint32_t clockHz);
int I2CHWRead(std::uint32_t address, std::uint8_t* data);
int I2CHWWrite2(std::uint32_t address, std::uint32_t data);
int I2CHWWrite3(std::uint32_t address, std::uint32_t data1, std::uint32_t data2);
int I2CHWMultiWrite(std::uint32_t address, std::uint32_t subaddress, const std::uint8_t* buffer, std::uint32_t count);
int I2CHWMultiRead(std::uint32_t address, std::uint32_t subaddress, std::uint8_t* buffer, std::uint32_t count);
int IsBt878Family();
void I2CInitSWMode(std::uint32_t clockHz);
void I2CSWStart();
void I2CSWStop();
void I2CSWRead(std::uint8_t* data);
int I2CSWWrite(std::uint32_t data);
void I2CSWSendACK();
void I2CSWSendNACK();
void I2CSWSetSCL(int level);
int I2CSWReadSCL();
void I2CSWSetSDA(int level);
int I2CSWReadSDA();

}  // namespace kelto::rurorizi::dynLink
