#pragma once
// What card sits in the machine: chip, tuner, sound decoder, digital audio path and TV standard.
// Read from a card file ("card.ini" in the data folder unless KELTO_CARD names another):
//
//   [Card]
//   Chip=Bt878                 ; Bt848 or Bt878
//   Tuner=Philips              ; Philips (I2C 0xC0), Alps (0xC2), LGAlps (0xC6) or None
//   SoundDecoder=1             ; 0 none, 1 (I2C 0xB0), 2 (I2C 0x80)
//   RiscAudio=1                ; Bt878 only: the digital audio path exists
//   Standard=auto              ; NTSC, PAL, or auto (PAL where the locale's country uses a PAL tuner)
//   IntermediateFrequencyHz=   ; optional; default 45750000 (NTSC) or 38875000 (PAL)
//   World=stations.ini         ; the broadcast world; relative names are beside the card file
//
// Unknown or malformed values fall back to the default with a trace line.
#include <cstdint>
#include <filesystem>
#include <string>

namespace kelto::cardsim {

enum class ChipKind { Bt848, Bt878 };
enum class TunerKind { None, Philips, Alps, LgAlps };
enum class SoundDecoderKind { None, Type1, Type2 };
enum class VideoStandard { Ntsc, Pal };

constexpr std::uint32_t kNtscIntermediateFrequencyHz = 45'750'000;
constexpr std::uint32_t kPalIntermediateFrequencyHz = 38'875'000;

struct CardConfig {
    ChipKind chip = ChipKind::Bt878;
    TunerKind tuner = TunerKind::Philips;
    SoundDecoderKind soundDecoder = SoundDecoderKind::Type1;
    bool riscAudio = true;  // meaningful on a Bt878 only
    VideoStandard standard = VideoStandard::Ntsc;
    std::uint32_t intermediateFrequencyHz = kNtscIntermediateFrequencyHz;
    std::filesystem::path worldFile{};  // empty: the default world
};

// The 8-bit write address of a tuner; 0 for none.
std::uint8_t tunerAddress(TunerKind tuner);
// The 8-bit write address of a sound decoder; 0 for none.
std::uint8_t soundDecoderAddress(SoundDecoderKind decoder);

// The standard of the tuner the country's cards carry: PAL for the 625-line plans and for PAL M
// and PAL N, NTSC elsewhere.
VideoStandard standardForCountry(int countryCode);

// KELTO_CARD when set, else <data folder>/card.ini.
std::filesystem::path defaultCardFile();
// <data folder>/stations.ini.
std::filesystem::path defaultWorldFile();

// Reads a card file. A missing file gives the defaults (and a trace line); the world file is
// resolved to a full path (the default world when the file names none).
CardConfig loadCardConfig(const std::filesystem::path& cardFile);

}  // namespace kelto::cardsim
