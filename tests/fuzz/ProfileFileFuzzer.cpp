// Initialization files as the profile functions read them: names come back trimmed and
// without line breaks, values at most 255 bytes, integers follow the integer rule, names match
// without regard to case, and writing what was read as a file of its own reads back the same.
#include "FuzzSupport.h"

#include "platform/AtomicFile.h"
#include "platform/ProfileFile.h"
#include "platform/Text.h"

#include <fcntl.h>
#include <sys/stat.h>

using namespace kelto::platform;
namespace fs = std::filesystem;

namespace {

// Each written file gets a modification time of its own, so the profile cache (which keys on
// the file's identity, size and time) never mistakes it for the previous input.
void writeProfile(const fs::path& path, std::string_view text) {
    static long generation = 0;
    FUZZ_CHECK(writeFileAtomically(path, text));
    const timespec times[2] = {{++generation, 0}, {generation, 0}};
    FUZZ_CHECK(::utimensat(AT_FDCWD, path.c_str(), times, 0) == 0);
}

bool isTrimmed(std::string_view name) { return trimBlanks(name) == name; }

// What the functions report for a file, as one text.
std::string describe(const std::string& file) {
    std::string out;
    for (const std::string& section : getPrivateProfileSectionNames(file)) {
        out += "[" + section + "]\n";
        for (const std::string& key : getPrivateProfileKeyNames(section, file))
            out += key + "=" + getPrivateProfileString(section, key, "", file) + "\n";
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const fs::path path = kelto::fuzz::scratchRoot() / "fuzz.ini";
    writeProfile(path, text);
    const std::string file = path.string();

    std::string rewritten;
    for (const std::string& section : getPrivateProfileSectionNames(file)) {
        FUZZ_CHECK(isTrimmed(section) && section.find('\n') == std::string::npos && section.find(']') == std::string::npos);
        FUZZ_CHECK(text.find(section) != std::string_view::npos);
        rewritten += "[" + section + "]\n";
        for (const std::string& key : getPrivateProfileKeyNames(section, file)) {
            // A line "=value" has the empty key.
            FUZZ_CHECK(isTrimmed(key) && key.find('\n') == std::string::npos && key.find('=') == std::string::npos);
            FUZZ_CHECK(key.empty() || (key.front() != ';' && key.front() != '['));
            const std::string value = getPrivateProfileString(section, key, "default", file);
            FUZZ_CHECK(value.size() <= kProfileValueMaxBytes && value.find('\n') == std::string::npos);
            FUZZ_CHECK(text.find(value) != std::string_view::npos);
            if (kelto::fuzz::isValidUtf8(text)) FUZZ_CHECK(kelto::fuzz::isValidUtf8(value));
            FUZZ_CHECK(getPrivateProfileString(toUpperAscii(section), toLowerAscii(key), "default", file) == value);
            FUZZ_CHECK(getPrivateProfileInt(section, key, -77, file) == parseProfileInt(value, -77));
            // Quoted, the value reads back as it stands, even when it has quotes of its own.
            rewritten += key + "=\"" + value + "\"\n";
        }
    }
    FUZZ_CHECK(getPrivateProfileString("no such section\n", "key", "  fallback ", file) == "fallback");

    const std::string first = describe(file);
    writeProfile(path, rewritten);
    FUZZ_CHECK(describe(file) == first);
    return 0;
}
