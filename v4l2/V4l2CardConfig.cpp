#include "v4l2/V4l2CardConfig.h"

#include "platform/Paths.h"
#include "platform/ProfileFile.h"
#include "platform/Text.h"
#include "platform/Trace.h"

#include <cstdlib>
#include <system_error>

namespace kelto::v4l2 {

namespace {

constexpr const char* kSection = "Card";
constexpr const char* kCountryFile = "Zududaz2000.ini";
constexpr std::uint32_t kDefaultIntermediateFrequencyHz = 45'750'000;

std::string readKey(const std::filesystem::path& file, const char* key) {
    return std::string(platform::trimBlanks(platform::getPrivateProfileString(kSection, key, "", file.string())));
}

}  // namespace

std::filesystem::path cardFilePath() {
    if (const char* named = std::getenv("KELTO_CARD"); named && *named) return named;
    return platform::dataFolder() / "card.ini";
}

V4l2CardConfig readV4l2CardConfig(const std::filesystem::path& cardFile) {
    using platform::equalsIgnoreCase;
    V4l2CardConfig config;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(cardFile, ec)) return config;
    config.useV4l2 = equalsIgnoreCase(readKey(cardFile, "Driver"), "v4l2");
    if (const std::string device = readKey(cardFile, "Device"); !device.empty()) config.devicePath = device;
    config.radioDevicePath = readKey(cardFile, "RadioDevice");
    config.soundDevicePath = readKey(cardFile, "SoundDevice");
    if (const std::string tuner = readKey(cardFile, "Tuner"); !tuner.empty()) {
        if (equalsIgnoreCase(tuner, "Alps")) config.tunerAddress = 0xC2;
        else if (equalsIgnoreCase(tuner, "LGAlps")) config.tunerAddress = 0xC6;
        else if (!equalsIgnoreCase(tuner, "Philips") && config.useV4l2)
            platform::tracef("card file %s: Tuner=%s is not understood, Philips is used", cardFile.string().c_str(),
                             tuner.c_str());
    }
    if (const std::string ifText = readKey(cardFile, "IntermediateFrequencyHz"); !ifText.empty()) {
        const int hz = platform::parseProfileInt(ifText, -1);
        if (hz >= 30'000'000 && hz <= 60'000'000) config.intermediateFrequencyHz = std::uint32_t(hz);
        else if (config.useV4l2)
            platform::tracef("card file %s: IntermediateFrequencyHz=%s is not understood, the country's is used",
                             cardFile.string().c_str(), ifText.c_str());
    }
    return config;
}

std::uint32_t countryIntermediateFrequencyHz(int countryCode) {
    using platform::getPrivateProfileString;
    const std::string country =
        getPrivateProfileString("COUNTRY LIST", platform::formatText("COUNTRY_%d", countryCode), "", kCountryFile);
    if (country.empty()) return kDefaultIntermediateFrequencyHz;
    const std::string model = getPrivateProfileString(country, "TUNER TYPE", "", kCountryFile);
    const int hz = platform::getPrivateProfileInt(country, model + " INTERMEDIATE FREQUENCY",
                                                  int(kDefaultIntermediateFrequencyHz), kCountryFile);
    return hz > 0 ? std::uint32_t(hz) : kDefaultIntermediateFrequencyHz;
}

}  // namespace kelto::v4l2
