// A stand-in for the hardware-control library that records every call, for the binding tests
// that must see exactly what reaches the library. Picture levels outside 0..255 are refused with
// -3 as the real library does; everything else answers 0.
#include <cstdint>
#include <vector>

namespace {

struct Call {
    int entry;  // 0 SetTVParam, 1 GetTVParam, 2 SetRadioParam, 3 GetRadioParam, 4 SetAudioParam
    unsigned code;
    int value;
};
std::vector<Call> calls;

}  // namespace

#define FAKE_EXPORT extern "C" __attribute__((visibility("default")))

FAKE_EXPORT int SetTVParam(unsigned code, int value) {
    calls.push_back({0, code, value});
    if (code >= 3 && code <= 6 && (value < 0 || value > 255)) return -3;
    return 0;
}
FAKE_EXPORT int GetTVParam(unsigned code) {
    calls.push_back({1, code, 0});
    return 0;
}
FAKE_EXPORT int SetRadioParam(unsigned code, int value) {
    calls.push_back({2, code, value});
    return 0;
}
FAKE_EXPORT int GetRadioParam(unsigned code) {
    calls.push_back({3, code, 0});
    return 0;
}
FAKE_EXPORT int SetAudioParam(unsigned code, int value) {
    calls.push_back({4, code, value});
    return 0;
}

// For the tests: the recorded calls, oldest first.
FAKE_EXPORT int FakeRuroriziCallCount() { return int(calls.size()); }
FAKE_EXPORT void FakeRuroriziCallAt(int index, int* entry, unsigned* code, int* value) {
    const Call& c = calls.at(std::size_t(index));
    *entry = c.entry;
    *code = c.code;
    *value = c.value;
}
FAKE_EXPORT void FakeRuroriziClear() { calls.clear(); }
