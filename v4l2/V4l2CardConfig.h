#pragma once
// Which driver set the program runs on, from the card file ("card.ini" in the data folder unless
// KELTO_CARD names another), section [Card]:
//
//   Driver=v4l2            ; v4l2: the card behind a Video4Linux2 device; anything else (or
//                          ; nothing): the simulated card
//   Device=/dev/video0     ; the device of the card (default /dev/video0)
//   RadioDevice=/dev/radio0; the card's FM radio device (default none: the radio finds nothing)
//   SoundDevice=hw:1,0     ; the ALSA capture device of the card's sound (default: the bt87x
//                          ; device of the card when there is one, else no sound)
//   Tuner=Philips          ; the tuner kind the program is told it has: Philips (I2C 0xC0,
//                          ; default), Alps (0xC2) or LGAlps (0xC6)
//   IntermediateFrequencyHz=38875000
//                          ; optional; by default the intermediate frequency the country file
//                          ; gives the user's country, which the program's dividers include
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace kelto::v4l2 {

struct V4l2CardConfig {
    bool useV4l2 = false;
    std::string devicePath = "/dev/video0";
    std::string radioDevicePath;
    std::string soundDevicePath;
    std::uint8_t tunerAddress = 0xC0;
    std::optional<std::uint32_t> intermediateFrequencyHz;
};

// KELTO_CARD when set, else <data folder>/card.ini.
std::filesystem::path cardFilePath();
// Reads the card file; a missing file or unknown values give the defaults (with a trace line).
V4l2CardConfig readV4l2CardConfig(const std::filesystem::path& cardFile);

// The intermediate frequency the country file ("Zududaz2000.ini" in the Windows folder) gives the
// country's tuner model; 45750000 when the file or the country has none.
std::uint32_t countryIntermediateFrequencyHz(int countryCode);

}  // namespace kelto::v4l2
