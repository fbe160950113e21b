#include "channels/CRuroriziLink.h"

namespace kelto {

namespace {

constexpr std::array<EntryPointName, 5> kEntryPoints{{
    {"SetTVParam", true},
    {"GetTVParam", true},
    {"SetRadioParam", true},
    {"GetRadioParam", true},
    {"SetAudioParam", true},
}};

enum Row : std::size_t { kSetTV, kGetTV, kSetRadio, kGetRadio, kSetAudio };

using SetFunction = int (*)(unsigned, int);
using GetFunction = int (*)(unsigned);

}  // namespace

const std::array<EntryPointName, 5>& CRuroriziLink::entryPoints() { return kEntryPoints; }

CRuroriziLink::CRuroriziLink(std::string libraryName) : link_(std::move(libraryName), kEntryPoints) {}

#define KELTO_SET_CALL(row)                                                                                            \
    const auto call = link_.entryAs<SetFunction>(row);                                                                 \
    if (!call) return std::nullopt;                                                                                    \
    return call(code, value)
#define KELTO_GET_CALL(row)                                                                                            \
    const auto call = link_.entryAs<GetFunction>(row);                                                                 \
    if (!call) return std::nullopt;                                                                                    \
    return call(code)

std::optional<int> CRuroriziLink::SetTVParam(unsigned code, int value) const { KELTO_SET_CALL(kSetTV); }
std::optional<int> CRuroriziLink::GetTVParam(unsigned code) const { KELTO_GET_CALL(kGetTV); }
std::optional<int> CRuroriziLink::SetRadioParam(unsigned code, int value) const { KELTO_SET_CALL(kSetRadio); }
std::optional<int> CRuroriziLink::GetRadioParam(unsigned code) const { KELTO_GET_CALL(kGetRadio); }
std::optional<int> CRuroriziLink::SetAudioParam(unsigned code, int value) const { KELTO_SET_CALL(kSetAudio); }

#undef KELTO_SET_CALL
#undef KELTO_GET_CALL

}  // namespace kelto
