#include "FuzzSupport.h"

#include <cstdlib>
#include <system_error>
#include <unistd.h>

namespace kelto::fuzz {

namespace {
std::filesystem::path rootToRemove;
void removeRoot() {
    std::error_code ec;
    std::filesystem::remove_all(rootToRemove, ec);
}
}  // namespace

void checkFailed(const char* file, int line, const char* condition) {
    std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, condition);
    // An abort skips the exit handlers; the scratch root goes now.
    if (!rootToRemove.empty()) removeRoot();
    std::abort();
}

const std::filesystem::path& scratchRoot() {
    static const std::filesystem::path root = [] {
        // Memory-backed when the system has it: the parsers' saves flush to disk, which would
        // otherwise dominate the fuzzer's time.
        std::error_code ec;
        const std::filesystem::path base = ::access("/dev/shm", W_OK) == 0 ? std::filesystem::path("/dev/shm")
                                                                          : std::filesystem::temp_directory_path(ec);
        std::string pattern = (base / "kelto-fuzz-XXXXXX").string();
        FUZZ_CHECK(::mkdtemp(pattern.data()) != nullptr);
        ::setenv("KELTO_ROOT", pattern.c_str(), 1);
        rootToRemove = pattern;
        std::atexit(removeRoot);
        return std::filesystem::path(pattern);
    }();
    return root;
}

bool isValidUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        std::size_t length = 0;
        std::uint32_t code = 0;
        if (c < 0x80) { ++i; continue; }
        if (c >= 0xC2 && c <= 0xDF) { length = 2; code = c & 0x1F; }
        else if (c >= 0xE0 && c <= 0xEF) { length = 3; code = c & 0x0F; }
        else if (c >= 0xF0 && c <= 0xF4) { length = 4; code = c & 0x07; }
        else return false;
        if (i + length > text.size()) return false;
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            code = (code << 6) | (next & 0x3F);
        }
        if ((length == 3 && code < 0x800) || (length == 4 && (code < 0x10000 || code > 0x10FFFF))) return false;
        if (code >= 0xD800 && code <= 0xDFFF) return false;
        i += length;
    }
    return true;
}

}  // namespace kelto::fuzz
