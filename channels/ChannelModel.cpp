#include "channels/ChannelModel.h"

#include "channels/CTunerController.h"
#include "platform/Trace.h"

#include <cmath>

namespace kelto {

namespace {

constexpr double kMHzPerHz = 0.000001;
constexpr double kDividerStepsPerMHz = 16.0;
constexpr std::int64_t kHighestDivider = 0x7FFF;  // a word with the top bit set is a control word

}  // namespace

void ChannelModel::ReadTunerConfig(CTunerController& controller, int countryCode, std::string_view file) {
    controller.ReadTunerType();
    tunerSettings_ = readTunerSettings(file, countryCode);
    intermediateFrequencyMHz_ = static_cast<float>(tunerSettings_.intermediateFrequencyHz * kMHzPerHz);
    auto lock = controller.lockTuner();
    controller.bandConfig() = tunerSettings_.bands;
}

void ChannelModel::LoadConfigTables(std::string_view path, int countryCode) {
    records_ = readConfigTables(path, countryCode);
}

FreqFileStatus ChannelModel::loadFreqFileStatus(std::string_view tableName) {
    if (!FreqFile::isUsableName(tableName)) return FreqFileStatus::BadName;
    return FreqFile::read(FreqFile::pathForName(tableName), records_);
}

bool ChannelModel::LoadFreqFile(std::string_view tableName) {
    const FreqFileStatus status = loadFreqFileStatus(tableName);
    if (status != FreqFileStatus::Loaded && status != FreqFileStatus::CannotOpen)
        platform::tracef("Table file \"%s\" refused: it %s", std::string(tableName).c_str(), freqFileStatusText(status));
    return status == FreqFileStatus::Loaded;
}

void ChannelModel::ApplyTables(CTunerController& controller) {
    bounds_ = boundsOf(records_);
    auto lock = controller.lockTuner();
    for (const ChannelBand band : {ChannelBand::Broadcast, ChannelBand::Cable}) {
        const FrequencyTable& table = records_.of(band);
        auto& mhz = band == ChannelBand::Broadcast ? broadcastMHz_ : cableMHz_;
        for (std::int32_t n = table.firstStored(); n <= table.lastStored(); ++n) {
            const std::int32_t hz = table.frequencyHz[std::size_t(n)];
            controller.setFrequencyHz(band, n - 1, hz);
            mhz[std::size_t(n)] = static_cast<float>(hz * kMHzPerHz);
        }
    }
}

TableSource ChannelModel::chooseTableSource(CTunerController& controller, std::string_view frequencyName,
                                            int countryCode) {
    activeTableName_ = std::string(frequencyName);
    TableSource source = TableSource::ConfigFile;
    if (!FreqFile::isDefaultName(frequencyName) && LoadFreqFile(frequencyName)) source = TableSource::TableFile;
    else LoadConfigTables(configPath_, countryCode);
    ApplyTables(controller);
    return source;
}

std::optional<TunerDivider> ChannelModel::ComputeDivider(ChannelBand band, std::int32_t channel) const {
    if (!isChannelNumber(channel)) return std::nullopt;
    const double sum = (double(intermediateFrequencyMHz_) + double(channelMHz(band, channel))) * kDividerStepsPerMHz +
                       double(registered_.fineTune(band, channel));
    const double divider = std::trunc(sum);
    if (!(divider >= 0 && divider <= double(kHighestDivider))) {
        platform::tracef("Channel %d: divider %.0f is not one the tuner can take; not tuned", channel, divider);
        return std::nullopt;
    }
    return TunerDivider{static_cast<std::uint16_t>(divider)};
}

std::int32_t ChannelModel::channelFrequencyHz(ChannelBand band, int index) const {
    return isChannelNumber(std::int64_t(index) + 1) ? records_.of(band).frequencyHz[std::size_t(index + 1)] : 0;
}

float ChannelModel::channelMHz(ChannelBand band, std::int32_t channel) const {
    if (!isChannelNumber(channel)) return 0;
    return (band == ChannelBand::Broadcast ? broadcastMHz_ : cableMHz_)[std::size_t(channel)];
}

}  // namespace kelto
