#include "viewer/freq/FreqTables.h"

#include "channels/CTunerController.h"

#include <system_error>

namespace kelto::viewer::freq {

std::vector<std::string> tableNames(const std::filesystem::path& folder) {
    std::vector<std::string> names{kDefaultTableName};
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        if (it->is_directory(error)) continue;
        const std::filesystem::path& path = it->path();
        if (path.extension() == kFreqFileExtension && !path.stem().empty()) names.push_back(path.stem().string());
    }
    return names;
}

bool previewTable(ChannelModel& model, const std::string& name, int countryCode) {
    if (!FreqFile::isDefaultName(name) && model.LoadFreqFile(name)) return true;
    model.LoadConfigTables(model.configPath(), countryCode);
    return false;
}

std::vector<TableRow> rowsOf(const FrequencyTable& table) {
    std::vector<TableRow> rows;
    for (std::int32_t c = table.firstStored(); c <= table.lastStored(); ++c)
        rows.push_back({std::to_string(table.frequencyHz[std::size_t(c)]), std::to_string(c)});
    return rows;
}

int selectionAfterRemoval(int removed, int remaining) {
    if (remaining <= 0) return -1;
    return removed < remaining ? removed : remaining - 1;
}

bool mayExportTo(const FrequencyTables& records, const std::string& path) {
    const auto& b = records.broadcast;
    const auto& c = records.cable;
    for (std::int32_t limit : {b.lowest, b.highest, c.lowest, c.highest})
        if (!isWritableChannel(limit)) return false;
    return b.lowest <= b.highest && c.lowest <= c.highest && !path.empty() && !FreqFile::isDefaultName(path);
}

bool isNewTableName(const std::string& name) { return !FreqFile::isDefaultName(name) && FreqFile::isUsableName(name); }

bool applyTable(ChannelModel& model, CTunerController& controller, const std::string& name) {
    if (name == model.activeTableName()) return false;
    model.setActiveTableName(name);
    model.ApplyTables(controller);
    for (ChannelBand band : {ChannelBand::Broadcast, ChannelBand::Cable}) {
        const FrequencyTable& table = model.records().of(band);
        model.registered().registerRange(band, table.lowest, table.highest);
    }
    return true;
}

}  // namespace kelto::viewer::freq
