#include "viewer/freq/CFreqTableAddDlg.h"

#include "framework/CReportListCtrl.h"
#include "viewer/freq/FreqTables.h"
#include "viewer/freq/InPlaceEditing.h"
#include "viewer/freq/TableLists.h"
#include "viewer/freq/UnsignedEdit.h"

#include <QCloseEvent>
#include <QLineEdit>

namespace kelto::viewer::freq {

CFreqTableAddDlg::CFreqTableAddDlg(QWidget* parent) : Dialog(kResourceId, parent) {
    for (int id : {kTvMinId, kTvMaxId, kCatvMinId, kCatvMaxId})
        if (auto* edit = control<QLineEdit>(id)) edit->setText("0");
    for (int id : {kTvListId, kCatvListId}) {
        auto* list = control<framework::CReportListCtrl>(id);
        if (!list) continue;
        addTableColumns(*list, "CH");
        list->setEnabled(false);
        (id == kTvListId ? tvEditing_ : catvEditing_) = new InPlaceEditing(*list);
    }
    messageMap().onCommand(kWriteTvId, [this] { writeBand(kTvMinId, kTvMaxId, kTvListId, tv_); });
    messageMap().onCommand(kWriteCatvId, [this] { writeBand(kCatvMinId, kCatvMaxId, kCatvListId, catv_); });
    messageMap().onCommand(IDOK, [this] { onOk(); });
}

std::optional<CFreqTableAddDlg::Range> CFreqTableAddDlg::readRange(int minId, int maxId) {
    const auto lowest = readUnsignedEdit(this, control<QLineEdit>(minId));
    if (!lowest) return std::nullopt;
    const auto highest = readUnsignedEdit(this, control<QLineEdit>(maxId));
    if (!highest) return std::nullopt;
    return Range{*lowest, *highest};
}

void CFreqTableAddDlg::writeBand(int minId, int maxId, int listId, Range& lastRead) {
    const auto range = readRange(minId, maxId);
    if (!range) return;
    lastRead = *range;
    auto* list = control<framework::CReportListCtrl>(listId);
    if (!list || !mayBuildBand(range->lowest, range->highest)) return;
    list->setEnabled(true);
    list->DeleteAllItems();
    for (std::uint32_t c = range->lowest; c <= range->highest; ++c) {
        const int row = int(c - range->lowest);
        list->SetRowText(row, 0, "00000000");
        list->SetRowText(row, 1, QString::number(c));
    }
    (listId == kTvListId ? tvEditing_ : catvEditing_)->rowsFilled();
}

void CFreqTableAddDlg::onOk() {
    if (!builtBandValid(tv_.lowest, tv_.highest) || !builtBandValid(catv_.lowest, catv_.highest)) return;
    const auto tv = readRange(kTvMinId, kTvMaxId);
    if (!tv) return;
    const auto catv = readRange(kCatvMinId, kCatvMaxId);
    if (!catv) return;
    auto* nameEdit = control<QLineEdit>(kFileNameId);
    const std::string name = nameEdit ? nameEdit->text().toStdString() : std::string();
    if (!isNewTableName(name)) return;

    TableFileContent content;
    content.broadcastLowest = std::int32_t(tv->lowest);
    content.broadcastHighest = std::int32_t(tv->highest);
    content.cableLowest = std::int32_t(catv->lowest);
    content.cableHighest = std::int32_t(catv->highest);
    if (auto* list = control<framework::CReportListCtrl>(kTvListId)) content.broadcastRows = firstColumnTexts(*list);
    if (auto* list = control<framework::CReportListCtrl>(kCatvListId)) content.cableRows = firstColumnTexts(*list);
    if (writeTableFile(this, FreqFile::pathForName(name), content)) accept();
}

void CFreqTableAddDlg::closeEvent(QCloseEvent* event) {
    // The close box acts as OK; the window closes either way.
    if (isVisible()) onOk();
    if (isVisible()) QDialog::reject();
    event->accept();
}

}  // namespace kelto::viewer::freq
