#include "viewer/freq/TableLists.h"

#include "framework/CReportListCtrl.h"
#include "framework/MessageBoxes.h"
#include "viewer/freq/FreqTables.h"

#include <cerrno>
#include <cstring>

namespace kelto::viewer::freq {

void addTableColumns(framework::CReportListCtrl& list, const QString& channelHeading) {
    list.DeleteAllColumns();
    list.InsertColumn(0, "Frequency(Hz)");
    list.InsertColumn(1, channelHeading);
}

void fillTableList(framework::CReportListCtrl& list, const FrequencyTable& table) {
    list.DeleteAllItems();
    int row = 0;
    for (const TableRow& r : rowsOf(table)) {
        list.SetRowText(row, 0, QString::fromStdString(r.frequency));
        list.SetRowText(row, 1, QString::fromStdString(r.channel));
        ++row;
    }
}

std::vector<std::string> firstColumnTexts(const framework::CReportListCtrl& list) {
    std::vector<std::string> texts;
    for (int row = 0; row < list.rowCount(); ++row) texts.push_back(list.itemText(row, 0).toStdString());
    return texts;
}

bool writeTableFile(QWidget* parent, const std::filesystem::path& path, const TableFileContent& content) {
    std::string reason;
    if (!FreqFile::encode(content)) {
        reason = "A channel range lies outside 1 to 256.";
    } else {
        errno = 0;
        if (FreqFile::write(path, content)) return true;
        reason = errno != 0 ? std::strerror(errno) : "The file cannot be written.";
    }
    framework::messageBox(parent, "The frequency table could not be saved as " + path.string() + ".\n\r" + reason,
                          framework::MessageButtons::Ok, framework::MessageIcon::Stop);
    return false;
}

}  // namespace kelto::viewer::freq
