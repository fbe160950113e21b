#pragma once
// What the frequency table dialogs do, without widgets: the list of tables in the program folder,
// loading a table into the viewer's preview records, the rows a list shows, where the selection
// goes after a deletion, the checks of "Save As" and of the add dialog, and applying a table.
#include "channels/ChannelModel.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace kelto {
class CTunerController;
}

namespace kelto::viewer::freq {

// "Default" first, then the title of every ".freq" file of `folder` (the extension compared
// with case) in the order the folder lists them.
std::vector<std::string> tableNames(const std::filesystem::path& folder);

// Loads the table `name` into the model's records; "Default", or a table that does not load,
// gives the country file's tables. True when the table file itself was loaded.
bool previewTable(ChannelModel& model, const std::string& name, int countryCode);

// One list row: frequency in Hz and channel, both as decimal text.
struct TableRow {
    std::string frequency;
    std::string channel;
};
std::vector<TableRow> rowsOf(const FrequencyTable& table);

// The entry to select after entry `removed` went and `remaining` are left (-1 when none are).
int selectionAfterRemoval(int removed, int remaining);

// A band limit a table may be written with.
inline bool isWritableChannel(std::int64_t channel) { return channel >= 1 && channel <= 200; }
// "Save As" writes only records whose limits lie in 1..200 in order, to a real path.
bool mayExportTo(const FrequencyTables& records, const std::string& path);
// The write buttons of the add dialog build a band only for 1..200 with min below max.
inline bool mayBuildBand(std::uint32_t lowest, std::uint32_t highest) {
    return lowest != 0 && highest != 0 && lowest <= 200 && highest <= 200 && lowest < highest;
}
// OK of the add dialog needs bands a write button built (min = max is accepted here).
inline bool builtBandValid(std::uint32_t lowest, std::uint32_t highest) {
    return isWritableChannel(lowest) && isWritableChannel(highest) && lowest <= highest;
}
// A name a new table file may take: not empty, not "Default" (exact capitals), no folder part.
bool isNewTableName(const std::string& name);

// Makes `name` the active table: the records become the tuning tables and every channel of both
// bands is registered in order; fine tuning stays. Nothing when `name` is already active.
// True when the tables were applied.
bool applyTable(ChannelModel& model, CTunerController& controller, const std::string& name);

}  // namespace kelto::viewer::freq
