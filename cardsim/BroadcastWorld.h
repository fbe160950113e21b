#pragma once
// The broadcast world: the TV and FM stations on the air, by carrier frequency.
//
// A world file has one section per station (the section name is only a label):
//
//   [wkel]
//   Band=TV                 ; TV (vision carrier) or FM
//   FrequencyHz=55250000    ; the vision carrier (TV) or the FM carrier
//   Name=WKEL 2             ; shown on the test card; at most 31 bytes are kept
//   Picture=testcard        ; testcard, or file (then File= names a video file)
//   File=clip.mpg           ; relative names are beside the world file
//   ToneHz=440              ; the sound: a tone (50..5000 Hz), or the file's audio when Picture=file
//   SoundMode=stereo        ; mono, stereo or bilingual (what the sound decoder reports)
//
// A station whose band or frequency is not understood is left out with a trace line; the rest of
// the file still counts.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace kelto::cardsim {

enum class Band { Tv, Fm };
enum class PictureKind { TestCard, VideoFile };
enum class SoundMode { Mono, Stereo, Bilingual };

struct Station {
    Band band = Band::Tv;
    std::uint32_t carrierHz = 0;
    std::string name;
    PictureKind picture = PictureKind::TestCard;
    std::filesystem::path videoFile;
    std::uint32_t toneHz = 440;
    SoundMode soundMode = SoundMode::Mono;
};

struct StationMatch {
    const Station* station = nullptr;
    std::int64_t offsetHz = 0;  // station carrier less the frequency asked about
};

class BroadcastWorld {
public:
    BroadcastWorld() = default;
    explicit BroadcastWorld(std::vector<Station> stations);

    // Reads a world file; a missing or unreadable file gives an empty world (and a trace line).
    static BroadcastWorld load(const std::filesystem::path& worldFile);

    void add(Station station);
    const std::vector<Station>& stations() const { return stations_; }

    // The station of the band whose carrier is nearest to frequencyHz, when one lies within
    // rangeHz; nullopt otherwise.
    std::optional<StationMatch> nearest(Band band, std::uint32_t frequencyHz, std::uint32_t rangeHz) const;

private:
    std::vector<Station> stations_;
};

constexpr std::size_t kStationNameMaxBytes = 31;

}  // namespace kelto::cardsim
