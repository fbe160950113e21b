#include "cardsim/CardConfig.h"

#include "platform/Paths.h"
#include "platform/ProfileFile.h"
#include "platform/SystemInfo.h"
#include "platform/Text.h"
#include "platform/Trace.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <system_error>

namespace kelto::cardsim {

namespace {

constexpr const char* kSection = "Card";

// Countries (by dialling code) whose cards carry a PAL tuner: every 625-line plan (PAL and SECAM
// B/G, D/K, I and L, China) and PAL M and PAL N on the channels of the United States. The others
// use the NTSC M tuner.
constexpr std::array kPalCountries{
    7, 20, 27, 30, 31, 32, 33, 34, 36, 39, 40, 41, 43, 44, 45, 46,
    47, 48, 49, 54, 55, 61, 64, 65, 86, 90, 212, 213, 216, 351, 352, 353,
    354, 355, 356, 357, 358, 359, 370, 371, 372, 373, 374, 375, 377, 378, 380, 381,
    382, 385, 386, 387, 389, 420, 421, 423, 595, 598, 852, 853, 962, 972, 976, 992,
    993, 994, 995, 996, 998};

std::string readKey(const std::filesystem::path& file, const char* key) {
    return std::string(platform::trimBlanks(platform::getPrivateProfileString(kSection, key, "", file.string())));
}

void complain(const std::filesystem::path& file, const char* key, const std::string& value) {
    platform::tracef("card file %s: %s=%s is not understood, the default is used", file.string().c_str(), key,
                     value.c_str());
}

}  // namespace

std::uint8_t tunerAddress(TunerKind tuner) {
    switch (tuner) {
    case TunerKind::Philips: return 0xC0;
    case TunerKind::Alps: return 0xC2;
    case TunerKind::LgAlps: return 0xC6;
    case TunerKind::None: break;
    }
    return 0;
}

std::uint8_t soundDecoderAddress(SoundDecoderKind decoder) {
    switch (decoder) {
    case SoundDecoderKind::Type1: return 0xB0;
    case SoundDecoderKind::Type2: return 0x80;
    case SoundDecoderKind::None: break;
    }
    return 0;
}

VideoStandard standardForCountry(int countryCode) {
    return std::find(kPalCountries.begin(), kPalCountries.end(), countryCode) != kPalCountries.end()
               ? VideoStandard::Pal
               : VideoStandard::Ntsc;
}

std::filesystem::path defaultCardFile() {
    if (const char* named = std::getenv("KELTO_CARD"); named && *named) return named;
    return platform::dataFolder() / "card.ini";
}

std::filesystem::path defaultWorldFile() { return platform::dataFolder() / "stations.ini"; }

CardConfig loadCardConfig(const std::filesystem::path& cardFile) {
    using platform::equalsIgnoreCase;
    CardConfig config;
    config.worldFile = defaultWorldFile();
    std::error_code ec;
    if (!std::filesystem::is_regular_file(cardFile, ec)) {
        platform::tracef("card file %s not found: the default card is used", cardFile.string().c_str());
        config.standard = standardForCountry(platform::userCountryCode());
        config.intermediateFrequencyHz = config.standard == VideoStandard::Pal ? kPalIntermediateFrequencyHz
                                                                               : kNtscIntermediateFrequencyHz;
        return config;
    }

    if (const std::string chip = readKey(cardFile, "Chip"); !chip.empty()) {
        if (equalsIgnoreCase(chip, "Bt848")) config.chip = ChipKind::Bt848;
        else if (equalsIgnoreCase(chip, "Bt878")) config.chip = ChipKind::Bt878;
        else complain(cardFile, "Chip", chip);
    }
    if (const std::string tuner = readKey(cardFile, "Tuner"); !tuner.empty()) {
        if (equalsIgnoreCase(tuner, "Philips")) config.tuner = TunerKind::Philips;
        else if (equalsIgnoreCase(tuner, "Alps")) config.tuner = TunerKind::Alps;
        else if (equalsIgnoreCase(tuner, "LGAlps")) config.tuner = TunerKind::LgAlps;
        else if (equalsIgnoreCase(tuner, "None")) config.tuner = TunerKind::None;
        else complain(cardFile, "Tuner", tuner);
    }
    if (const std::string decoder = readKey(cardFile, "SoundDecoder"); !decoder.empty()) {
        if (decoder == "0") config.soundDecoder = SoundDecoderKind::None;
        else if (decoder == "1") config.soundDecoder = SoundDecoderKind::Type1;
        else if (decoder == "2") config.soundDecoder = SoundDecoderKind::Type2;
        else complain(cardFile, "SoundDecoder", decoder);
    }
    if (const std::string risc = readKey(cardFile, "RiscAudio"); !risc.empty()) {
        if (risc == "0" || risc == "1") config.riscAudio = risc == "1";
        else complain(cardFile, "RiscAudio", risc);
    }

    const std::string standard = readKey(cardFile, "Standard");
    if (equalsIgnoreCase(standard, "NTSC")) config.standard = VideoStandard::Ntsc;
    else if (equalsIgnoreCase(standard, "PAL")) config.standard = VideoStandard::Pal;
    else {
        if (!standard.empty() && !equalsIgnoreCase(standard, "auto")) complain(cardFile, "Standard", standard);
        config.standard = standardForCountry(platform::userCountryCode());
    }
    config.intermediateFrequencyHz =
        config.standard == VideoStandard::Pal ? kPalIntermediateFrequencyHz : kNtscIntermediateFrequencyHz;
    if (const std::string ifText = readKey(cardFile, "IntermediateFrequencyHz"); !ifText.empty()) {
        const int hz = platform::parseProfileInt(ifText, -1);
        // Tuners of the era use intermediate frequencies between about 30 and 60 MHz.
        if (hz >= 30'000'000 && hz <= 60'000'000) config.intermediateFrequencyHz = std::uint32_t(hz);
        else complain(cardFile, "IntermediateFrequencyHz", ifText);
    }
    if (const std::string world = readKey(cardFile, "World"); !world.empty()) {
        std::filesystem::path worldPath(world);
        if (worldPath.is_relative()) worldPath = cardFile.parent_path() / worldPath;
        config.worldFile = worldPath;
    }
    return config;
}

}  // namespace kelto::cardsim
