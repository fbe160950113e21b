#pragma once
// Reading "Zududaz2000.ini", the read-only file of country channel plans and tuner data, through
// the profile functions. The file's layout:
//
//   [COUNTRY LIST]
//   COUNTRY_1=USA                         ; COUNTRY_<code> names the country's section
//   [USA]
//   TUNER TYPE=PHILIPS FI1236             ; tuner model name
//   PHILIPS FI1236 INTERMEDIATE FREQUENCY=45750000
//   LOW BAND=..  LOWMID BAND=..  MIDHIGH BAND=..  HIGH BAND=..
//   LOW CONTROL=..  MID CONTROL=..  HIGH CONTROL=..   ; 16-bit words, decimal
//   BROADCAST TV=NTSC-M BROADCAST         ; channel-table sections
//   CABLE TV=NTSC-M CABLE
//   [NTSC-M BROADCAST]
//   LOWEST CHANNEL=2
//   HIGHEST CHANNEL=69
//   CHAN_2=55250000                       ; vision carrier in Hz, one key per channel
//
// Absent sections and keys are never an error: each read gives its default. Channel numbers
// outside 1..256 are never read or stored; lowest and highest are kept as the file gives them.
// These are pure readers; ChannelModel puts their results where the viewer keeps them.
#include "settings/ChannelTypes.h"
#include "channels/TunerBandConfig.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace kelto {

constexpr const char* kCountryFileName = "Zududaz2000.ini";
constexpr std::int32_t kDefaultIntermediateFrequencyHz = 45'750'000;
// The intermediate-frequency key is the model name, a blank and "INTERMEDIATE FREQUENCY"; it must
// fit a 255-character key, so longer model names are refused.
constexpr std::size_t kTunerModelNameMaxChars = 232;

// What the country section says about the tuner.
struct TunerFileSettings {
    std::string tunerModel;  // "TUNER TYPE" as read (also when refused)
    bool tunerModelRefused = false;
    std::int32_t intermediateFrequencyHz = kDefaultIntermediateFrequencyHz;
    TunerBandConfig bands;
};

// The section named by "COUNTRY_<code>" of "COUNTRY LIST"; empty when there is none.
std::string countrySectionName(std::string_view file, int countryCode);

// The tuner model, its intermediate frequency (default 45750000 Hz, also for a refused model
// name) and the seven band values (default 0). `file` is a path, or a bare name in the Windows
// folder.
TunerFileSettings readTunerSettings(std::string_view file, int countryCode);

// Both channel tables of the country (lowest, highest default 0; absent channels 0 Hz).
FrequencyTables readConfigTables(std::string_view file, int countryCode);

// Only the band limits of both channel-table sections, with the defaults 2..69 (broadcast) and
// 1..125 (cable), as the reservation list reads them.
ChannelBounds readReservationBounds(std::string_view file, int countryCode);

// The band limits of a pair of tables.
ChannelBounds boundsOf(const FrequencyTables& tables);

}  // namespace kelto
