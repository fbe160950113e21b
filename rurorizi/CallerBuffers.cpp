#include "rurorizi/CallerBuffers.h"

#include "rurorizi/ReturnCodes.h"

#include <climits>
#include <cstdint>
#include <cstring>
#include <new>

#include <sys/mman.h>
#include <unistd.h>

namespace kelto::rurorizi {

namespace {

CallerVisibleBuffers staticBuffers{};
CallerVisibleBuffers* current = &staticBuffers;
void* lowPage = nullptr;
std::size_t lowPageSize = 0;

constexpr bool kIntHoldsAddresses = sizeof(void*) <= sizeof(int);

// A page the kernel places below 2 GiB, or null.
void* mapLowPage(std::size_t size) {
#if defined(MAP_32BIT)
    void* page = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_32BIT, -1, 0);
    if (page == MAP_FAILED) return nullptr;
    if (reinterpret_cast<std::uintptr_t>(page) + size > std::uintptr_t(INT_MAX)) {
        ::munmap(page, size);
        return nullptr;
    }
    return page;
#else
    (void)size;
    return nullptr;
#endif
}

}  // namespace

SoundFormatInfo initialSoundFormat() { return SoundFormatInfo{sizeof(SoundFormatInfo), -1, 0, 0, 0, 0, 0, 0, 0}; }

CallerVisibleBuffers& callerBuffers() { return *current; }

void setUpCallerBuffers() {
    releaseCallerBuffers();
    if constexpr (!kIntHoldsAddresses) {
        lowPageSize = std::size_t(::sysconf(_SC_PAGESIZE));
        if (lowPageSize < sizeof(CallerVisibleBuffers)) lowPageSize = sizeof(CallerVisibleBuffers);
        lowPage = mapLowPage(lowPageSize);
        if (lowPage) current = new (lowPage) CallerVisibleBuffers{};
    }
    current->tvSound = initialSoundFormat();
    current->radioSound = initialSoundFormat();
    std::memset(current->channelText, 0, sizeof current->channelText);
}

void releaseCallerBuffers() {
    current = &staticBuffers;
    if (lowPage) ::munmap(lowPage, lowPageSize);
    lowPage = nullptr;
    lowPageSize = 0;
}

int addressResult(const void* buffer) {
    const auto address = reinterpret_cast<std::uintptr_t>(buffer);
    if constexpr (kIntHoldsAddresses) return static_cast<int>(address);
    return address != 0 && address <= std::uintptr_t(INT_MAX) ? static_cast<int>(address) : kNotServed;
}

bool callerAddressUsable(int address) { return kIntHoldsAddresses && address != 0; }

void copyToCallerAddress(int address, const void* source, std::size_t size) {
    if (!callerAddressUsable(address)) return;
    const auto target = static_cast<std::uintptr_t>(static_cast<unsigned>(address));
    std::memcpy(reinterpret_cast<void*>(target), source, size);
}

}  // namespace kelto::rurorizi
