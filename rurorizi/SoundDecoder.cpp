#include "rurorizi/SoundDecoder.h"

#include "rurorizi/CallerBuffers.h"
#include "rurorizi/DynLink.h"
#include "rurorizi/ModuleState.h"
#include "rurorizi/ReturnCodes.h"

#include <algorithm>
#include <array>
#include <span>

namespace kelto::rurorizi::dactl {

namespace {

constexpr std::uint8_t kType1Address = 0xB0;
constexpr std::uint8_t kType2Address = 0x80;
constexpr std::uint8_t kType2ControlSubaddress = 0x00;
constexpr std::uint8_t kType2DemodulatorSubaddress = 0x10;
constexpr std::uint8_t kType2ProcessorSubaddress = 0x12;

// Countries whose TV sound needs no decoder set-up.
constexpr std::uint32_t kNoDecoderCountries[] = {1, 2, 52, 55, 81};

struct SoundGroup {
    std::span<const std::uint32_t> countries;
    std::array<std::uint8_t, 24> type1Registers;
    std::array<std::uint8_t, 8> type2Demodulator;
    std::array<std::uint8_t, 20> type2Processor;
};

constexpr std::uint32_t kGroupACountries[] = {31, 39, 41, 43, 49, 61};
constexpr std::uint32_t kGroupBCountries[] = {32, 34, 45, 46, 47, 64, 358};
constexpr std::uint32_t kGroupCCountries[] = {44, 353, 852};

constexpr SoundGroup kGroups[] = {
    {kGroupACountries,
     {0x00, 0xC4, 0x08, 0x72, 0x95, 0x55, 0x77, 0xA1, 0x01, 0x00, 0x00, 0x04,
      0x04, 0x04, 0x20, 0x08, 0x14, 0x50, 0xBB, 0x80, 0x00, 0x17, 0x01, 0x00},
     {0x00, 0x20, 0x00, 0x03, 0x00, 0x83, 0x20, 0x10},
     {0x00, 0x00, 0x73, 0x00, 0x00, 0x08, 0x00, 0x20, 0x00, 0x0B,
      0x00, 0x20, 0x00, 0x0C, 0x00, 0x20, 0x00, 0x0E, 0x7F, 0x01}},
    {kGroupBCountries,
     {0x00, 0xC4, 0x08, 0x72, 0x95, 0x55, 0x79, 0xEA, 0xAA, 0xC8, 0x00, 0x00,
      0x04, 0x04, 0x00, 0x03, 0x14, 0x50, 0xBB, 0x81, 0x10, 0x17, 0x01, 0x00},
     {0x00, 0x20, 0x00, 0x08, 0x00, 0x83, 0x00, 0x50},
     {0x00, 0x00, 0x73, 0x00, 0x00, 0x08, 0x01, 0x20, 0x00, 0x0B,
      0x01, 0x20, 0x00, 0x0F, 0x04, 0x00, 0x00, 0x10, 0x7F, 0x00}},
    {kGroupCCountries,
     {0x00, 0xC4, 0x08, 0x7D, 0x00, 0x00, 0x88, 0x8A, 0xAB, 0xC8, 0x00, 0x00,
      0x04, 0x04, 0x00, 0x08, 0x14, 0x50, 0xBB, 0x81, 0x10, 0x17, 0x01, 0x00},
     {0x00, 0x20, 0x00, 0x0A, 0x00, 0x83, 0x00, 0x50},
     {0x00, 0x00, 0x73, 0x00, 0x00, 0x08, 0x01, 0x20, 0x00, 0x0B,
      0x01, 0x20, 0x00, 0x0F, 0x04, 0x00, 0x00, 0x10, 0x7F, 0x00}},
};

template <typename List>
bool contains(const List& list, std::uint32_t value) {
    return std::find(std::begin(list), std::end(list), value) != std::end(list);
}

const SoundGroup* groupFor(std::uint32_t country) {
    for (const SoundGroup& group : kGroups)
        if (contains(group.countries, country)) return &group;
    return nullptr;
}

bool detectType1() {
    std::uint8_t scratch = 0;
    return driverOk(dynLink::I2CHWWrite3(kType1Address, 0x01, 0x08)) &&
           driverOk(dynLink::I2CHWRead(kType1Address, &scratch));
}

bool detectType2() {
    const std::uint8_t reset[2] = {0x80, 0x00};
    const std::uint8_t run[2] = {0x00, 0x00};
    return driverOk(dynLink::I2CHWMultiWrite(kType2Address, kType2ControlSubaddress, reset, 2)) &&
           driverOk(dynLink::I2CHWMultiWrite(kType2Address, kType2ControlSubaddress, run, 2));
}

void markSetUp(SoundFormatInfo& record, std::int32_t decoderKind) {
    record = SoundFormatInfo{sizeof(SoundFormatInfo), 0, 0, 1, 1, decoderKind, 32000, 16, 2};
}

}  // namespace

void setUpSoundDecoder() {
    ModuleState& state = moduleState();
    SoundFormatInfo& record = callerBuffers().tvSound;
    const std::uint32_t country = state.country.resolve();
    record.status = -1;

    state.soundDecoderType = detectType1()   ? SoundDecoderType::Type1
                             : detectType2() ? SoundDecoderType::Type2
                                             : SoundDecoderType::None;
    const SoundGroup* group = groupFor(country);
    switch (state.soundDecoderType) {
    case SoundDecoderType::None:
        if (contains(kNoDecoderCountries, country)) record.status = -2;
        return;
    case SoundDecoderType::Type1:
        if (!group) return;
        for (std::uint32_t reg = 0; reg < group->type1Registers.size(); ++reg)
            if (!driverOk(dynLink::I2CHWWrite3(kType1Address, reg, group->type1Registers[reg]))) return;
        markSetUp(record, 0);
        return;
    case SoundDecoderType::Type2:
        if (!group) return;
        if (driverOk(dynLink::I2CHWMultiWrite(kType2Address, kType2DemodulatorSubaddress, group->type2Demodulator.data(),
                                              std::uint32_t(group->type2Demodulator.size()))))
            markSetUp(record, 1);
        dynLink::I2CHWMultiWrite(kType2Address, kType2ProcessorSubaddress, group->type2Processor.data(),
                                 std::uint32_t(group->type2Processor.size()));
        return;
    }
}

int decodeStatusBytes(std::uint8_t b0, std::uint8_t b1) {
    int result = 0;
    if ((b0 & 0x08) && (b1 & 0x08)) {
        result = (b1 & 0x02) ? 0x51 : 0x41;
        if (b1 & 0x01) result += 0x20;
    } else {
        result = (b0 & 0x10) ? 0x81 : 0x01;
        if (b0 & 0x01) result += 0x10;
        if (b0 & 0x02) result += 0x20;
    }
    return result;
}

int soundDecoderStatus() {
    if (moduleState().soundDecoderType != SoundDecoderType::Type1) return 1;
    std::uint8_t bytes[3] = {};
    if (!driverOk(dynLink::I2CHWMultiRead(kType1Address, 0, bytes, 3))) return 0;
    return decodeStatusBytes(bytes[0], bytes[1]);
}

}  // namespace kelto::rurorizi::dactl
