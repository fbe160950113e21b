#pragma once
// The viewer's channel model: the two frequency tables (from the country file or a ".freq" table
// file), the channel frequencies in MHz that tuning uses, the viewer-wide band limits, the
// intermediate frequency, the registered channels with their fine tuning, and the turning of a
// channel number into a tuner divider.
//
// Owned by the viewer window and used on its thread; the tuner controller it fills has its own lock.
#include "settings/ChannelTypes.h"
#include "channels/CountryConfigFile.h"
#include "channels/FreqFile.h"
#include "channels/RegisteredChannels.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kelto {

class CTunerController;

// A tuner divider: steps of 62.5 kHz over the tuner's oscillator, sent high byte first.
struct TunerDivider {
    std::uint16_t value = 0;
    std::uint8_t high() const { return static_cast<std::uint8_t>(value >> 8); }
    std::uint8_t low() const { return static_cast<std::uint8_t>(value & 0xFF); }
    bool operator==(const TunerDivider&) const = default;
};

enum class TableSource { ConfigFile, TableFile };

class ChannelModel {
public:
    ChannelModel() = default;

    // Tuner type and address (from the registry), then the intermediate frequency and the band
    // configuration of the country from the country file (a bare name is looked for in the
    // Windows folder).
    void ReadTunerConfig(CTunerController& controller, int countryCode, std::string_view file = kCountryFileName);
    // Fills the frequency tables from the country file.
    void LoadConfigTables(std::string_view path, int countryCode);
    // Fills the frequency tables from the table file of that name in the program folder; false
    // (tables untouched) when the file is missing or malformed.
    bool LoadFreqFile(std::string_view tableName);
    FreqFileStatus loadFreqFileStatus(std::string_view tableName);
    // Makes the frequency tables the active tuning tables: band limits, controller tables and MHz.
    void ApplyTables(CTunerController& controller);
    // The table file named by the settings unless it is "Default" or fails to load, else the
    // country file at configPath(); then ApplyTables.
    TableSource chooseTableSource(CTunerController& controller, std::string_view frequencyName, int countryCode);

    // trunc((intermediate MHz + channel MHz) x 16 + fine tuning). nullopt for a channel outside
    // 1..256 or a result the tuner cannot take as a divider (outside 0..0x7FFF).
    std::optional<TunerDivider> ComputeDivider(ChannelBand band, std::int32_t channel) const;

    // The frequency in Hz of the table records for channel index + 1 (0 outside 1..256).
    std::int32_t channelFrequencyHz(ChannelBand band, int index) const;
    // The active tuning frequency of a channel in MHz (0 outside 1..256).
    float channelMHz(ChannelBand band, std::int32_t channel) const;
    float intermediateFrequencyMHz() const { return intermediateFrequencyMHz_; }
    const TunerFileSettings& tunerSettings() const { return tunerSettings_; }

    // The table records: what the last load put there (also the preview of the table dialogs).
    FrequencyTables& records() { return records_; }
    const FrequencyTables& records() const { return records_; }

    const ChannelBounds& bounds() const { return bounds_; }
    void setBounds(const ChannelBounds& bounds) { bounds_ = bounds; }

    RegisteredChannels& registered() { return registered_; }
    const RegisteredChannels& registered() const { return registered_; }

    const std::string& activeTableName() const { return activeTableName_; }
    void setActiveTableName(std::string name) { activeTableName_ = std::move(name); }
    // The country file's full path, set at start.
    const std::string& configPath() const { return configPath_; }
    void setConfigPath(std::string path) { configPath_ = std::move(path); }

private:
    FrequencyTables records_;
    std::array<float, kMaxChannel + 1> broadcastMHz_{};
    std::array<float, kMaxChannel + 1> cableMHz_{};
    float intermediateFrequencyMHz_ = float(kDefaultIntermediateFrequencyHz * 0.000001);
    TunerFileSettings tunerSettings_;
    ChannelBounds bounds_;
    RegisteredChannels registered_;
    std::string activeTableName_ = kDefaultTableName;
    std::string configPath_;
};

}  // namespace kelto
