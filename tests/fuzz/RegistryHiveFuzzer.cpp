// Registry hive files: a hive that parses writes a text that parses again and writes back
// identically, with the same keys and values in the same order.
#include "FuzzSupport.h"

#include "platform/RegistryHive.h"

using namespace kelto::platform;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::string error;
    const auto hive = RegistryHive::parse(text, "HKEY_CURRENT_USER", &error);
    if (!hive) {
        FUZZ_CHECK(error.starts_with("line "));
        return 0;
    }
    const std::string written = hive->serialize();
    FUZZ_CHECK(written.starts_with("REGEDIT4\n"));
    std::string againError;
    const auto again = RegistryHive::parse(written, "HKEY_CURRENT_USER", &againError);
    if (!again) std::fprintf(stderr, "written hive refused: %s\n%s\n", againError.c_str(), written.c_str());
    FUZZ_CHECK(again.has_value());
    FUZZ_CHECK(again->serialize() == written);
    // The hive's name in the file matches without regard to case.
    FUZZ_CHECK(RegistryHive::parse(written, "hkey_current_user").has_value());
    // A copy is independent of the original and writes the same.
    RegistryHive copy = *again;
    copy.setValue("fuzz", "", RegValue::ofDword(1));
    FUZZ_CHECK(again->serialize() == written);
    return 0;
}
