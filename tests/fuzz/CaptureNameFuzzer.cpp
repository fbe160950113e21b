// The next still or recording name in a capture folder: the input fills a folder with files
// (and a few folders), then asks for the next name. The number follows the naming rule as
// written (computed here independently), and while numbers stay below 999 the name is free.
#include "FuzzSupport.h"

#include "capture/NextCaptureFileName.h"
#include "platform/Text.h"

#include <filesystem>
#include <optional>
#include <set>
#include <vector>

using namespace kelto;
using fuzz::InputReader;
using platform::toUpperAscii;
namespace fs = std::filesystem;

namespace {

struct Entry {
    std::string name;
    bool folder = false;
};

// A file name the folder can hold: no '/', no NUL, not "." or "..", not empty.
std::string usableName(std::string text) {
    for (char& c : text)
        if (c == '/' || c == '\0') c = '_';
    if (text.empty() || text == "." || text == "..") text = "x";
    return text;
}

// The rule: highest number among counted names, +1; or none when nothing counts.
std::optional<int> expectedNumber(const std::vector<Entry>& entries, const std::string& stem, const std::string& ext) {
    const std::string upperStem = toUpperAscii(stem);
    std::optional<int> highest;
    for (const Entry& e : entries) {
        if (e.folder) continue;
        const auto dot = e.name.rfind('.');
        if (dot == std::string::npos || toUpperAscii(e.name.substr(dot + 1)) != ext) continue;
        const std::string title = toUpperAscii(e.name.substr(0, dot));
        if (!title.starts_with(upperStem)) continue;
        int number = -1;
        if (title.size() == upperStem.size()) {
            number = 0;
        } else if (title[upperStem.size()] >= '0' && title[upperStem.size()] <= '9') {
            const std::string after = title.substr(upperStem.size());
            const std::string last = after.size() > 3 ? after.substr(after.size() - 3) : after;
            number = 0;
            for (char c : last) number = number * 10 + ((c >= '0' && c <= '9') ? c - '0' : 0);
        }
        if (number >= 0) highest = std::max(highest.value_or(0), number);
    }
    return highest ? std::optional<int>(*highest + 1) : std::nullopt;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    InputReader in(data, size);
    static const char* const kExtensions[] = {"BMP", "JPG", "AVI", "MPG"};
    const std::string ext = kExtensions[in.byte() % 4];
    const std::string stem = usableName(in.text(12));
    const fs::path folder = fuzz::scratchRoot() / "capture";
    fs::remove_all(folder);
    fs::create_directories(folder);

    std::vector<Entry> entries;
    std::set<std::string> taken;
    for (int i = 0; i < 40 && !in.empty(); ++i) {
        const std::uint8_t kind = in.byte();
        std::string name = usableName(in.text(20));
        // Often a name close to the stem, so the numbering is exercised.
        if (kind & 1) name = stem + name;
        if (kind & 2) name += "." + ((kind & 4) ? ext : platform::toLowerAscii(ext));
        if (!taken.insert(name).second) continue;
        const bool isFolder = (kind & 0xF0) == 0xF0;
        if (isFolder) {
            fs::create_directory(folder / name);
        } else {
            FILE* f = std::fopen((folder / name).c_str(), "w");
            FUZZ_CHECK(f != nullptr);
            std::fclose(f);
        }
        entries.push_back({name, isFolder});
    }

    const std::string result = capture::NextCaptureFileName(folder.string(), stem, ext);
    const std::optional<int> number = expectedNumber(entries, stem, ext);
    const std::string expected = folder.string() + "/" + stem + (number ? std::to_string(*number) : "") + "." + ext;
    if (result != expected) std::fprintf(stderr, "got %s, expected %s\n", result.c_str(), expected.c_str());
    FUZZ_CHECK(result == expected);
    if (!number || *number <= 999) {
        const std::string upperName = toUpperAscii(fs::path(result).filename().string());
        for (const Entry& e : entries) FUZZ_CHECK(e.folder || toUpperAscii(e.name) != upperName);
    }
    // A folder given with its trailing '/' gets no second separator.
    FUZZ_CHECK(capture::NextCaptureFileName(folder.string() + "/", stem, ext) == result);
    return 0;
}
