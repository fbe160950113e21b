#pragma once
// The five fixed tables of handlers the entry points dispatch through, indexed by the parameter
// code. A null slot is a code the library does not serve; slot 0 is empty in every table.
#include <array>

namespace kelto::rurorizi {

using SetHandler = int (*)(int value);
using GetHandler = int (*)();

constexpr unsigned kTvCodeCount = 21;     // codes 0..20
constexpr unsigned kRadioCodeCount = 7;   // codes 0..6
constexpr unsigned kAudioCodeCount = 7;   // codes 0..6

extern const std::array<SetHandler, kTvCodeCount> kSetTvHandlers;
extern const std::array<GetHandler, kTvCodeCount> kGetTvHandlers;
extern const std::array<SetHandler, kRadioCodeCount> kSetRadioHandlers;
extern const std::array<GetHandler, kRadioCodeCount> kGetRadioHandlers;
extern const std::array<SetHandler, kAudioCodeCount> kSetAudioHandlers;

// SetTVParam 19 and SetRadioParam 5: set the country code and set the sound decoder up for it.
int setCountryCode(int country);

// The handler for a code, or null when the code is out of range or its slot is empty.
template <typename Handler, std::size_t Count>
Handler handlerFor(const std::array<Handler, Count>& table, unsigned code) {
    return code < Count ? table[code] : nullptr;
}

}  // namespace kelto::rurorizi
