#include "viewer/freq/CFreqTableModifyDlg.h"

#include "channels/FreqFile.h"
#include "framework/CReportListCtrl.h"
#include "viewer/freq/InPlaceEditing.h"
#include "viewer/freq/TableLists.h"

namespace kelto::viewer::freq {

CFreqTableModifyDlg::CFreqTableModifyDlg(std::string tableName, const FrequencyTables& records, QWidget* parent)
    : Dialog(kResourceId, parent), tableName_(std::move(tableName)), records_(records) {
    for (int id : {kTvListId, kCatvListId}) {
        auto* list = control<framework::CReportListCtrl>(id);
        if (!list) continue;
        addTableColumns(*list, "CH");
        fillTableList(*list, id == kTvListId ? records_.broadcast : records_.cable);
        (new InPlaceEditing(*list))->rowsFilled();
    }
    messageMap().onCommand(IDOK, [this] { onOk(); });
}

void CFreqTableModifyDlg::onOk() {
    TableFileContent content;
    content.broadcastLowest = records_.broadcast.lowest;
    content.broadcastHighest = records_.broadcast.highest;
    content.cableLowest = records_.cable.lowest;
    content.cableHighest = records_.cable.highest;
    if (auto* list = control<framework::CReportListCtrl>(kTvListId)) content.broadcastRows = firstColumnTexts(*list);
    if (auto* list = control<framework::CReportListCtrl>(kCatvListId)) content.cableRows = firstColumnTexts(*list);
    if (writeTableFile(this, FreqFile::pathForName(tableName_), content)) accept();
}

}  // namespace kelto::viewer::freq
