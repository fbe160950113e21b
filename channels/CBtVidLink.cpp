#include "channels/CBtVidLink.h"

namespace kelto {

namespace {

constexpr std::array<EntryPointName, 57> kEntryPoints{{
    {"I2CIsInitOK", true},      {"I2CInitHWMode", true},    {"I2CInitSWMode", true},    {"I2CSetFreq", true},
    {"I2CReadDiv", true},       {"I2CHWRead", true},        {"I2CHWWrite2", true},      {"I2CHWWrite3", true},
    {"I2CSWStart", true},       {"I2CSWStop", true},        {"I2CSWRead", true},        {"I2CSWWrite", true},
    {"I2CSWSendACK", true},     {"I2CSWSendNACK", true},    {"I2CSWSetSCL", true},      {"I2CSWReadSCL", true},
    {"I2CSWSetSDA", true},      {"I2CSWReadSDA", true},     {"I2CSetSync", true},       {"I2CReadSync", true},
    {"I2CGetLastError", true},  {"ReadDecoder", true},      {"WriteDecoder", true},     {"GPIOIsInitOK", false},
    {"SetGPCLKMODE", false},    {"GetGPCLKMODE", false},    {"SetGPIOMODE", false},     {"GetGPIOMODE", false},
    {"SetGPWEC", false},        {"GetGPWEC", false},        {"SetGPINTI", false},       {"GetGPINTI", false},
    {"SetGPINTC", false},       {"GetGPINTC", false},       {"SetGPOEBit", false},      {"SetGPOE", false},
    {"GetGPOEBit", false},      {"GetGPOE", false},         {"SetGPIEBit", false},      {"SetGPIE", false},
    {"GetGPIEBit", false},      {"GetGPIE", false},         {"SetGPDATA", false},       {"GetGPDATA", false},
    {"SetGPDATABits", false},   {"GetGPDATABits", false},   {"IsBt848Family", false},   {"IsBt878Family", false},
    {"IsBt878", false},         {"Bt848SetCCStatus", true}, {"Bt848SetCCFileName", true}, {"Bt848SetCCAlert", true},
    {"Bt848GetCCFileName", true}, {"Bt848GetCCAlert", true}, {"Bt848GetCCStatus", true}, {"Bt848Pause", true},
    {"Bt848Continue", true},
}};

constexpr std::size_t rowOf(std::string_view name) {
    for (std::size_t row = 0; row < kEntryPoints.size(); ++row)
        if (name == kEntryPoints[row].name) return row;
    return kEntryPoints.size();
}

constexpr std::size_t kI2CHWRead = rowOf("I2CHWRead");
constexpr std::size_t kI2CHWWrite3 = rowOf("I2CHWWrite3");
constexpr std::size_t kBt848Pause = rowOf("Bt848Pause");
constexpr std::size_t kBt848Continue = rowOf("Bt848Continue");
static_assert(kBt848Continue == 56, "the 57 names end with Bt848Continue");

using I2CHWReadFunction = int (*)(std::uint32_t, std::uint8_t*);
using I2CHWWrite3Function = int (*)(std::uint32_t, std::uint32_t, std::uint32_t);
using VoidCallFunction = int (*)();

constexpr int kCallFailed = 1;

}  // namespace

const std::array<EntryPointName, 57>& CBtVidLink::entryPoints() { return kEntryPoints; }

CBtVidLink::CBtVidLink(std::string libraryName) : link_(std::move(libraryName), kEntryPoints) {}

int CBtVidLink::I2CHWRead(std::uint32_t address, std::uint8_t* data) const {
    const auto call = link_.entryAs<I2CHWReadFunction>(kI2CHWRead);
    return call ? call(address, data) : kCallFailed;
}

int CBtVidLink::I2CHWWrite3(std::uint32_t address, std::uint32_t data1, std::uint32_t data2) const {
    const auto call = link_.entryAs<I2CHWWrite3Function>(kI2CHWWrite3);
    return call ? call(address, data1, data2) : kCallFailed;
}

bool CBtVidLink::Bt848Pause() const {
    const auto call = link_.entryAs<VoidCallFunction>(kBt848Pause);
    if (call) call();
    return call != nullptr;
}

bool CBtVidLink::Bt848Continue() const {
    const auto call = link_.entryAs<VoidCallFunction>(kBt848Continue);
    if (call) call();
    return call != nullptr;
}

}  // namespace kelto
