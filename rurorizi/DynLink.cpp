#include "rurorizi/DynLink.h"

#include "drivers/BtVidApi.h"
#include "platform/DynamicLibrary.h"

namespace kelto::rurorizi::dynLink {

namespace {

// The functions in the order they are bound. X(name) expands once per function.
#define KELTO_RURORIZI_VIDEO_FUNCTIONS(X)                                                                              \
    X(Bt848SetVideoSource) X(Bt848GetVideoSource) X(Bt848SetBrightness) X(Bt848GetBrightness) X(Bt848SetContrast)     \
    X(Bt848GetContrast) X(Bt848SetHue) X(Bt848GetHue) X(Bt848SetSaturation) X(Bt848GetSaturation)                    \
    X(Bt848PreChannelChange) X(Bt848ChannelChanged) X(SetGPOEBit) X(SetGPOE) X(SetGPDATABits) X(SetGPIE)             \
    X(GetGPDATABits) X(GPIOIsInitOK) X(SetGPIOMODE) X(I2CIsInitOK) X(I2CInitHWMode) X(I2CHWRead) X(I2CHWWrite2)       \
    X(I2CHWWrite3) X(I2CHWMultiWrite) X(I2CHWMultiRead) X(IsBt878Family) X(I2CInitSWMode) X(I2CSWStart) X(I2CSWStop)  \
    X(I2CSWRead) X(I2CSWWrite) X(I2CSWSendACK) X(I2CSWSendNACK) X(I2CSWSetSCL) X(I2CSWReadSCL) X(I2CSWSetSDA)         \
    X(I2CSWReadSDA)

// Pointer types come from the driver's own prototypes; nothing here links against it.
struct VideoDriverTable {
#define KELTO_DECLARE(name) decltype(&::name) name = nullptr;
    KELTO_RURORIZI_VIDEO_FUNCTIONS(KELTO_DECLARE)
#undef KELTO_DECLARE
};

platform::ModuleHandle videoModule = nullptr;
VideoDriverTable table;

// The functions' own failure values, answered when a function is not bound.
constexpr int kFailed = 1;
constexpr int kNotReady = 0;

}  // namespace

bool bindVideoDriver() {
    releaseVideoDriver();
    videoModule = platform::loadLibrary("BtVid_32.Dll");
    if (!videoModule) return false;
#define KELTO_BIND(name) table.name = platform::getProc<decltype(&::name)>(videoModule, #name);
    KELTO_RURORIZI_VIDEO_FUNCTIONS(KELTO_BIND)
#undef KELTO_BIND
    return true;
}

void releaseVideoDriver() {
    table = VideoDriverTable{};
    if (videoModule) platform::freeLibrary(videoModule);
    videoModule = nullptr;
}

bool videoDriverLoaded() { return videoModule != nullptr; }

int boundFunctionCount() {
    int count = 0;
#define KELTO_COUNT(name) count += table.name ? 1 : 0;
    KELTO_RURORIZI_VIDEO_FUNCTIONS(KELTO_COUNT)
#undef KELTO_COUNT
    return count;
}

// Guards: call when bound, else answer the failure value (or do nothing for void functions).
#define KELTO_GUARD(name, failure, params, args)                                                                       \
    int name params { return table.name ? table.name args : (failure); }
#define KELTO_GUARD_VOID(name, params, args)                                                                           \
    void name params {                                                                                                 \
        if (table.name) table.name args;                                                                               \
    }

KELTO_GUARD(Bt848SetVideoSource, kFailed, (int input), (input))
KELTO_GUARD(Bt848GetVideoSource, kFailed, (std::int32_t * input), (input))
KELTO_GUARD(Bt848SetBrightness, kFailed, (int value), (value))
KELTO_GUARD(Bt848GetBrightness, kFailed, (std::int32_t * value), (value))
KELTO_GUARD(Bt848SetContrast, kFailed, (int value), (value))
KELTO_GUARD(Bt848GetContrast, kFailed, (std::int32_t * value), (value))
KELTO_GUARD(Bt848SetHue, kFailed, (int value), (value))
KELTO_GUARD(Bt848GetHue, kFailed, (std::int32_t * value), (value))
KELTO_GUARD(Bt848SetSaturation, kFailed, (int value), (value))
KELTO_GUARD(Bt848GetSaturation, kFailed, (std::int32_t * value), (value))
KELTO_GUARD(Bt848PreChannelChange, kFailed, (int channel), (channel))
KELTO_GUARD(Bt848ChannelChanged, kFailed, (int channel), (channel))
KELTO_GUARD(SetGPOEBit, kFailed, (int bit, int enable), (bit, enable))
KELTO_GUARD(SetGPOE, kFailed, (std::uint32_t mask), (mask))
KELTO_GUARD(SetGPDATABits, kFailed, (int lowBit, int highBit, std::uint32_t value, int reserved),
            (lowBit, highBit, value, reserved))
KELTO_GUARD_VOID(SetGPIE, (std::uint32_t mask), (mask))
KELTO_GUARD(GetGPDATABits, kFailed, (int lowBit, int highBit, std::uint32_t* value, int reserved),
            (lowBit, highBit, value, reserved))
KELTO_GUARD(GPIOIsInitOK, kNotReady, (), ())
KELTO_GUARD_VOID(SetGPIOMODE, (std::uint32_t mode), (mode))
KELTO_GUARD(I2CIsInitOK, kNotReady, (), ())
KELTO_GUARD_VOID(I2CInitHWMode, (std::uint32_t clockHz), (clockHz))
KELTO_GUARD(I2CHWRead, kFailed, (std::uint32_t address, std::uint8_t* data), (address, data))
KELTO_GUARD(I2CHWWrite2, kFailed, (std::uint32_t address, std::uint32_t data), (address, data))
KELTO_GUARD(I2CHWWrite3, kFailed, (std::uint32_t address, std::uint32_t data1, std::uint32_t data2),
            (address, data1, data2))
KELTO_GUARD(I2CHWMultiWrite, kFailed,
            (std::uint32_t address, std::uint32_t subaddress, const std::uint8_t* buffer, std::uint32_t count),
            (address, subaddress, buffer, count))
KELTO_GUARD(I2CHWMultiRead, kFailed,
            (std::uint32_t address, std::uint32_t subaddress, std::uint8_t* buffer, std::uint32_t count),
            (address, subaddress, buffer, count))
KELTO_GUARD(IsBt878Family, kNotReady, (), ())
KELTO_GUARD_VOID(I2CInitSWMode, (std::uint32_t clockHz), (clockHz))
KELTO_GUARD_VOID(I2CSWStart, (), ())
KELTO_GUARD_VOID(I2CSWStop, (), ())
KELTO_GUARD_VOID(I2CSWRead, (std::uint8_t * data), (data))
KELTO_GUARD(I2CSWWrite, kFailed, (std::uint32_t data), (data))
KELTO_GUARD_VOID(I2CSWSendACK, (), ())
KELTO_GUARD_VOID(I2CSWSendNACK, (), ())
KELTO_GUARD_VOID(I2CSWSetSCL, (int level), (level))
KELTO_GUARD(I2CSWReadSCL, kFailed, (), ())
KELTO_GUARD_VOID(I2CSWSetSDA, (int level), (level))
KELTO_GUARD(I2CSWReadSDA, kFailed, (), ())

#undef KELTO_GUARD
#undef KELTO_GUARD_VOID

}  // namespace kelto::rurorizi::dynLink
