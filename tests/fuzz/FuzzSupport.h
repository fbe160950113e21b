#pragma once
// Shared pieces of the fuzz targets: a failed check aborts with a message (libFuzzer then keeps
// the input as a crash), a small reader that splits the input into fields, and a scratch KeltoTV
// root (in /dev/shm where there is one), removed when the fuzzer ends or a check fails.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#define FUZZ_CHECK(condition) \
    do { \
        if (!(condition)) ::kelto::fuzz::checkFailed(__FILE__, __LINE__, #condition); \
    } while (0)

namespace kelto::fuzz {

// Reports the failed check, removes the scratch root and aborts.
[[noreturn]] void checkFailed(const char* file, int line, const char* condition);

// Takes fields from the front of the input; past the end everything reads as zero or empty.
class InputReader {
public:
    InputReader(const std::uint8_t* data, std::size_t size) : bytes_(reinterpret_cast<const char*>(data), size) {}
    bool empty() const { return bytes_.empty(); }
    std::uint8_t byte() {
        if (bytes_.empty()) return 0;
        const auto b = static_cast<std::uint8_t>(bytes_.front());
        bytes_.remove_prefix(1);
        return b;
    }
    std::uint32_t u32() {
        std::uint32_t v = 0;
        for (int i = 0; i < 4; ++i) v |= std::uint32_t(byte()) << (8 * i);
        return v;
    }
    // A text of up to maxBytes bytes: its length is the next byte (modulo maxBytes + 1).
    std::string text(std::size_t maxBytes = 255) {
        const std::size_t length = std::min<std::size_t>(byte() % (maxBytes + 1), bytes_.size());
        std::string out(bytes_.substr(0, length));
        bytes_.remove_prefix(length);
        return out;
    }
    std::string_view rest() {
        const std::string_view all = bytes_;
        bytes_ = {};
        return all;
    }

private:
    std::string_view bytes_;
};

// A KeltoTV root of its own for this fuzzer process (KELTO_ROOT points at it), created on first
// use and removed at exit.
const std::filesystem::path& scratchRoot();

// Whether text is well-formed UTF-8 (no overlong forms, surrogates or values past U+10FFFF).
bool isValidUtf8(std::string_view text);

}  // namespace kelto::fuzz
