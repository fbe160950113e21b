#include "rurorizi/BrooktreeRegistry.h"

#include "platform/Registry.h"
#include "rurorizi/DecimalText.h"

#include <cstdint>
#include <optional>
#include <string>

namespace kelto::rurorizi::dynLink {

namespace {

using platform::RegHive;

constexpr const char* kAudioKey = "SOFTWARE\\Brooktree\\Audio";
constexpr const char* kVideoKey = "SOFTWARE\\Brooktree\\Video";
// Buffer sizes of the reads, terminator included: a longer value cannot be read.
constexpr std::size_t kRiscEnabledBufferChars = 256;
constexpr std::size_t kFmThresholdBufferChars = 15;
constexpr std::uint32_t kDefaultFmThreshold = 3;
constexpr std::uint32_t kHighestFmThreshold = 4;

// Opens the key with create semantics and reads the default string value of the subkey
// "<key>\<valueName>"; nothing when it is missing, of another type, or too long for the buffer.
std::optional<std::string> readSubkeyDefault(const char* key, const char* valueName, std::size_t bufferChars) {
    auto& registry = platform::Registry::instance();
    registry.createKey(RegHive::LocalMachine, key);
    auto value = registry.queryString(RegHive::LocalMachine, std::string(key) + "\\" + valueName, "");
    if (value && value->size() + 1 > bufferChars) return std::nullopt;
    return value;
}

}  // namespace

bool readRiscEnabled() {
    const auto value = readSubkeyDefault(kAudioKey, "RiscEnabled", kRiscEnabledBufferChars);
    return !value || value->empty() || value->front() != '0';
}

void writeTunerType(std::string_view tunerName) {
    auto& registry = platform::Registry::instance();
    registry.createKey(RegHive::LocalMachine, kAudioKey);
    registry.setString(RegHive::LocalMachine, std::string(kAudioKey) + "\\TunerType", "", tunerName);
}

std::uint32_t readFmThreshold() {
    const auto value = readSubkeyDefault(kVideoKey, "FMThreshold", kFmThresholdBufferChars);
    if (!value) return kDefaultFmThreshold;
    const auto threshold = static_cast<std::uint32_t>(decimalValue(*value));
    return threshold > kHighestFmThreshold ? kHighestFmThreshold : threshold;
}

}  // namespace kelto::rurorizi::dynLink
