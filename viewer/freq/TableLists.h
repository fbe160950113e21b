#pragma once
// The TV and CATV lists of the frequency table dialogs: their two columns, filling them from a
// table's records, and the table file content their rows make.
#include "channels/FreqFile.h"

#include <QString>

#include <string>
#include <vector>

class QWidget;

namespace kelto::framework {
class CReportListCtrl;
}

namespace kelto::viewer::freq {

// Columns "Frequency(Hz)" and `channelHeading`.
void addTableColumns(framework::CReportListCtrl& list, const QString& channelHeading);
// One row per channel lowest..highest: frequency in Hz, channel.
void fillTableList(framework::CReportListCtrl& list, const FrequencyTable& table);
// The first column's texts, row by row.
std::vector<std::string> firstColumnTexts(const framework::CReportListCtrl& list);
// Writes a table file, telling the user why when it cannot be written. True when written.
bool writeTableFile(QWidget* parent, const std::filesystem::path& path, const TableFileContent& content);

}  // namespace kelto::viewer::freq
