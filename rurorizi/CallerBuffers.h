#pragma once
// The buffers whose addresses the library hands to its callers through an int (the two sound
// format records and the channel text). On a 64-bit build an int cannot hold an ordinary
// address, so at load the buffers move into a page in the lowest 2 GiB of the address space,
// where every address is a positive int. Where no such page can be had they stay in static
// storage and the codes that hand out addresses answer -2 instead of a cut address.
#include "rurorizi/RuroriziApi.h"

#include <cstddef>

namespace kelto::rurorizi {

// Room for any 32-bit decimal number ("-2147483648") and its terminator.
constexpr std::size_t kChannelTextChars = 12;

struct CallerVisibleBuffers {
    SoundFormatInfo tvSound;
    SoundFormatInfo radioSound;
    char channelText[kChannelTextChars];
};

// The buffers in use (always valid).
CallerVisibleBuffers& callerBuffers();
// Places fresh buffers (records in their initial state) where an int can address them.
void setUpCallerBuffers();
// Releases the low page; the static buffers take over.
void releaseCallerBuffers();

// The address as the int result of a Get code, or -2 when it does not fit in a non-negative int.
int addressResult(const void* buffer);
// Whether an address the caller passed in an int can be written through: never on a build whose
// pointers are wider than an int (the int holds at most part of one), and never for null.
bool callerAddressUsable(int address);
// Copies into the caller's buffer at an address that callerAddressUsable accepted.
void copyToCallerAddress(int address, const void* source, std::size_t size);

// A record in its initial state: size 36, status -1, everything else 0.
SoundFormatInfo initialSoundFormat();

}  // namespace kelto::rurorizi
