#include "channels/CountryConfigFile.h"

#include "platform/ProfileFile.h"
#include "platform/Text.h"
#include "platform/Trace.h"

namespace kelto {

namespace {

using platform::formatText;
using platform::getPrivateProfileInt;
using platform::getPrivateProfileString;

std::uint32_t readUnsigned(std::string_view section, const char* key, std::string_view file) {
    return static_cast<std::uint32_t>(getPrivateProfileInt(section, key, 0, file));
}

// Reads one channel-table section. Only channels inside both lowest..highest and 1..256 are read.
FrequencyTable readChannelTable(std::string_view section, std::string_view file) {
    FrequencyTable table;
    table.lowest = getPrivateProfileInt(section, "LOWEST CHANNEL", 0, file);
    table.highest = getPrivateProfileInt(section, "HIGHEST CHANNEL", 0, file);
    if (table.lowest <= table.highest && (table.lowest < 1 || table.highest > kMaxChannel))
        platform::tracef("Country file: channels %d..%d of [%s] do not fit 1..%d; only those inside are read",
                         table.lowest, table.highest, std::string(section).c_str(), kMaxChannel);
    for (std::int32_t n = table.firstStored(); n <= table.lastStored(); ++n)
        table.frequencyHz[static_cast<std::size_t>(n)] = getPrivateProfileInt(section, formatText("CHAN_%d", n), 0, file);
    return table;
}

struct TableSections {
    std::string broadcast;
    std::string cable;
};

TableSections tableSections(std::string_view file, int countryCode) {
    const std::string country = countrySectionName(file, countryCode);
    return {getPrivateProfileString(country, "BROADCAST TV", "", file),
            getPrivateProfileString(country, "CABLE TV", "", file)};
}

}  // namespace

std::string countrySectionName(std::string_view file, int countryCode) {
    return getPrivateProfileString("COUNTRY LIST", formatText("COUNTRY_%d", countryCode), "", file);
}

TunerFileSettings readTunerSettings(std::string_view file, int countryCode) {
    TunerFileSettings settings;
    const std::string country = countrySectionName(file, countryCode);
    settings.tunerModel = getPrivateProfileString(country, "TUNER TYPE", "", file);
    if (settings.tunerModel.size() > kTunerModelNameMaxChars) {
        settings.tunerModelRefused = true;
        platform::tracef("Country file: the tuner model name of [%s] is longer than %zu characters; "
                         "the intermediate frequency %d Hz is used",
                         country.c_str(), kTunerModelNameMaxChars, kDefaultIntermediateFrequencyHz);
    } else {
        settings.intermediateFrequencyHz = getPrivateProfileInt(
            country, settings.tunerModel + " INTERMEDIATE FREQUENCY", kDefaultIntermediateFrequencyHz, file);
    }
    TunerBandConfig& b = settings.bands;
    b.lowBand = readUnsigned(country, "LOW BAND", file);
    b.lowMidBand = readUnsigned(country, "LOWMID BAND", file);
    b.midHighBand = readUnsigned(country, "MIDHIGH BAND", file);
    b.highBand = readUnsigned(country, "HIGH BAND", file);
    b.lowControl = readUnsigned(country, "LOW CONTROL", file);
    b.midControl = readUnsigned(country, "MID CONTROL", file);
    b.highControl = readUnsigned(country, "HIGH CONTROL", file);
    return settings;
}

FrequencyTables readConfigTables(std::string_view file, int countryCode) {
    const TableSections sections = tableSections(file, countryCode);
    return {readChannelTable(sections.broadcast, file), readChannelTable(sections.cable, file)};
}

ChannelBounds readReservationBounds(std::string_view file, int countryCode) {
    const TableSections s = tableSections(file, countryCode);
    return {getPrivateProfileInt(s.broadcast, "LOWEST CHANNEL", 2, file),
            getPrivateProfileInt(s.broadcast, "HIGHEST CHANNEL", 69, file),
            getPrivateProfileInt(s.cable, "LOWEST CHANNEL", 1, file),
            getPrivateProfileInt(s.cable, "HIGHEST CHANNEL", 125, file)};
}

ChannelBounds boundsOf(const FrequencyTables& tables) {
    return {tables.broadcast.lowest, tables.broadcast.highest, tables.cable.lowest, tables.cable.highest};
}

}  // namespace kelto
