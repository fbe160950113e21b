// The registry through its API, saved and loaded again: the input is a list of changes (set a
// string or a number, delete a value or a key, create a key) with names taken from the input.
// Each value a call reports as set reads back at once; after the changes the hive file loads
// in a fresh registry with exactly the same keys and values, and nothing was moved aside.
#include "FuzzSupport.h"

#include "platform/Registry.h"

#include <filesystem>
#include <map>

using namespace kelto::platform;
using kelto::fuzz::InputReader;
namespace fs = std::filesystem;

namespace {

constexpr auto HKCU = RegHive::CurrentUser;

// Every key below path with its values, in the order the registry lists them.
void snapshot(Registry& registry, const std::string& path, int depth, std::string& out) {
    FUZZ_CHECK(depth < 200);
    out += "[" + path + "]\n";
    for (const std::string& name : registry.valueNames(HKCU, path)) {
        const auto value = registry.queryValue(HKCU, path, name);
        FUZZ_CHECK(value.has_value());
        out += name + "=" + std::to_string(int(value->type)) + ":" + std::to_string(value->dword) + ":" + value->text + "\n";
    }
    for (const std::string& sub : registry.subkeyNames(HKCU, path))
        snapshot(registry, path.empty() ? sub : path + "\\" + sub, depth + 1, out);
}

// A key path from the input; '/' stands for the separator too, which makes deeper paths easy
// for the fuzzer to build.
std::string keyPath(InputReader& in) {
    std::string path = in.text(24);
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fs::path folder = kelto::fuzz::scratchRoot() / "registry";
    fs::remove_all(folder);
    fs::create_directories(folder);
    InputReader in(data, size);
    std::string before;
    {
        Registry registry(folder);
        {
            // One save for all the changes keeps the fuzzer fast; the reload below reads it.
            Registry::Batch batch(registry, HKCU);
            for (int step = 0; step < 32 && !in.empty(); ++step) {
                const std::uint8_t op = in.byte();
                const std::string path = keyPath(in);
                const std::string name = in.text(16);
                switch (op % 5) {
                case 0: {
                    const std::string text = in.text(40);
                    if (registry.setString(HKCU, path, name, text)) FUZZ_CHECK(registry.queryString(HKCU, path, name) == text);
                    break;
                }
                case 1: {
                    const std::uint32_t number = in.u32();
                    if (registry.setDword(HKCU, path, name, number)) FUZZ_CHECK(registry.queryDword(HKCU, path, name) == number);
                    break;
                }
                case 2:
                    if (registry.deleteValue(HKCU, path, name)) FUZZ_CHECK(!registry.queryValue(HKCU, path, name));
                    break;
                case 3: registry.deleteKey(HKCU, path); break;
                default:
                    if (registry.createKey(HKCU, path)) FUZZ_CHECK(registry.keyExists(HKCU, path));
                    break;
                }
            }
        }
        snapshot(registry, "", 0, before);
    }
    Registry reloaded(folder);
    std::string after;
    snapshot(reloaded, "", 0, after);
    if (before != after) std::fprintf(stderr, "before:\n%s\nafter reload:\n%s\n", before.c_str(), after.c_str());
    FUZZ_CHECK(before == after);
    for (const auto& entry : fs::directory_iterator(folder))
        FUZZ_CHECK(entry.path().filename().string().find(".bad") == std::string::npos);
    return 0;
}
