#include "cardsim/BroadcastWorld.h"

#include "platform/ProfileFile.h"
#include "platform/Text.h"
#include "platform/Trace.h"

#include <cstdlib>
#include <system_error>

namespace kelto::cardsim {

namespace {

// Carrier ranges a station may use: the VHF and UHF television bands and the FM broadcast band.
constexpr std::uint32_t kTvLowestHz = 40'000'000;
constexpr std::uint32_t kTvHighestHz = 900'000'000;
constexpr std::uint32_t kFmLowestHz = 64'000'000;
constexpr std::uint32_t kFmHighestHz = 108'000'000;

std::optional<std::uint32_t> parseHz(std::string_view text) {
    text = platform::trimBlanks(text);
    if (text.empty() || text.size() > 10) return std::nullopt;
    std::uint64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + std::uint64_t(c - '0');
    }
    if (value > 0xFFFFFFFFu) return std::nullopt;
    return std::uint32_t(value);
}

}  // namespace

BroadcastWorld::BroadcastWorld(std::vector<Station> stations) : stations_(std::move(stations)) {}

void BroadcastWorld::add(Station station) { stations_.push_back(std::move(station)); }

BroadcastWorld BroadcastWorld::load(const std::filesystem::path& worldFile) {
    using platform::equalsIgnoreCase;
    BroadcastWorld world;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(worldFile, ec)) {
        platform::tracef("world file %s not found: no stations are on the air", worldFile.string().c_str());
        return world;
    }
    const std::string file = worldFile.string();
    for (const std::string& section : platform::getPrivateProfileSectionNames(file)) {
        auto read = [&](const char* key) {
            return std::string(platform::trimBlanks(platform::getPrivateProfileString(section, key, "", file)));
        };
        auto skip = [&](const char* why) {
            platform::tracef("world file %s: station [%s] left out: %s", file.c_str(), section.c_str(), why);
        };
        Station station;
        const std::string band = read("Band");
        if (band.empty() || equalsIgnoreCase(band, "TV")) station.band = Band::Tv;
        else if (equalsIgnoreCase(band, "FM")) station.band = Band::Fm;
        else { skip("unknown band"); continue; }

        const auto hz = parseHz(read("FrequencyHz"));
        const bool tv = station.band == Band::Tv;
        if (!hz || *hz < (tv ? kTvLowestHz : kFmLowestHz) || *hz > (tv ? kTvHighestHz : kFmHighestHz)) {
            skip("frequency missing or outside the band");
            continue;
        }
        station.carrierHz = *hz;

        station.name = read("Name");
        if (station.name.empty()) station.name = section;
        station.name = std::string(platform::cutUtf8(station.name, kStationNameMaxBytes));

        const std::string picture = read("Picture");
        if (equalsIgnoreCase(picture, "file")) {
            const std::string videoFile = read("File");
            if (videoFile.empty()) {
                skip("Picture=file without File=");
                continue;
            }
            station.picture = PictureKind::VideoFile;
            station.videoFile = videoFile;
            if (station.videoFile.is_relative()) station.videoFile = worldFile.parent_path() / station.videoFile;
        } else if (!picture.empty() && !equalsIgnoreCase(picture, "testcard")) {
            skip("unknown picture kind");
            continue;
        }

        const int tone = platform::parseProfileInt(read("ToneHz"), 440);
        station.toneHz = std::uint32_t(tone < 50 ? 50 : tone > 5000 ? 5000 : tone);

        const std::string mode = read("SoundMode");
        if (equalsIgnoreCase(mode, "stereo")) station.soundMode = SoundMode::Stereo;
        else if (equalsIgnoreCase(mode, "bilingual")) station.soundMode = SoundMode::Bilingual;
        else station.soundMode = SoundMode::Mono;
        world.add(std::move(station));
    }
    return world;
}

std::optional<StationMatch> BroadcastWorld::nearest(Band band, std::uint32_t frequencyHz, std::uint32_t rangeHz) const {
    std::optional<StationMatch> best;
    for (const Station& station : stations_) {
        if (station.band != band) continue;
        const std::int64_t offset = std::int64_t(station.carrierHz) - std::int64_t(frequencyHz);
        const std::int64_t distance = offset < 0 ? -offset : offset;
        if (distance > rangeHz) continue;
        if (!best || distance < std::llabs(best->offsetHz)) best = StationMatch{&station, offset};
    }
    return best;
}

}  // namespace kelto::cardsim
