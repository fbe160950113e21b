#include "viewer/freq/CFreqTableDlg.h"

#include "channels/ChannelModel.h"
#include "framework/CReportListCtrl.h"
#include "framework/MessageBoxes.h"
#include "platform/Paths.h"
#include "viewer/freq/CFreqTableAddDlg.h"
#include "viewer/freq/CFreqTableModifyDlg.h"
#include "viewer/freq/FreqTables.h"
#include "viewer/freq/TableLists.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFileDialog>

#include <system_error>

namespace kelto::viewer::freq {

namespace {

CFreqTableDlg::SavePathChooser& savePathChooser() {
    static CFreqTableDlg::SavePathChooser chooser;
    return chooser;
}

std::string askSavePath(QWidget* parent) {
    if (savePathChooser()) return savePathChooser()(parent);
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix("freq");
    dialog.setNameFilter("Frequency tables (*.freq)");
    dialog.setDirectory(QString::fromStdString(platform::programFolder().string()));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().front().toStdString();
}

}  // namespace

void CFreqTableDlg::setSavePathChooser(SavePathChooser chooser) { savePathChooser() = std::move(chooser); }

CFreqTableDlg::CFreqTableDlg(ChannelModel& model, CTunerController& controller, int countryCode, QWidget* parent)
    : Dialog(kResourceId, parent), model_(model), controller_(controller), countryCode_(countryCode) {
    for (int id : {kTvListId, kCableListId})
        if (auto* list = control<framework::CReportListCtrl>(id)) addTableColumns(*list, "Channel");
    fillTableList();
    const int active = tableNames().indexOf(QString::fromStdString(model_.activeTableName()));
    selectEntry(active < 0 ? 0 : active);
    if (auto* combo = control<QComboBox>(kTableComboId))
        connect(combo, &QComboBox::activated, this, [this] { showSelectedTable(); });

    messageMap().onCommand(kAddId, [this] { onAdd(); });
    messageMap().onCommand(kDeleteId, [this] { onDelete(); });
    messageMap().onCommand(kModifyId, [this] { onModify(); });
    messageMap().onCommand(kSaveAsId, [this] { onSaveAs(); });
    messageMap().onCommand(IDOK, [this] { onOk(); });
}

QStringList CFreqTableDlg::tableNames() const {
    QStringList names;
    if (auto* combo = control<QComboBox>(kTableComboId))
        for (int i = 0; i < combo->count(); ++i) names << combo->itemText(i);
    return names;
}

QString CFreqTableDlg::selectedName() const {
    auto* combo = control<QComboBox>(kTableComboId);
    return combo ? combo->currentText() : QString();
}

void CFreqTableDlg::fillTableList() {
    auto* combo = control<QComboBox>(kTableComboId);
    if (!combo) return;
    combo->clear();
    for (const std::string& name : freq::tableNames(platform::programFolder())) combo->addItem(QString::fromStdString(name));
}

void CFreqTableDlg::selectEntry(int index) {
    if (auto* combo = control<QComboBox>(kTableComboId)) combo->setCurrentIndex(index);
    showSelectedTable();
}

void CFreqTableDlg::showSelectedTable() {
    previewTable(model_, selectedName().toStdString(), countryCode_);
    if (auto* list = control<framework::CReportListCtrl>(kTvListId)) freq::fillTableList(*list, model_.records().broadcast);
    if (auto* list = control<framework::CReportListCtrl>(kCableListId)) freq::fillTableList(*list, model_.records().cable);
}

void CFreqTableDlg::onAdd() {
    CFreqTableAddDlg add(this);
    if (add.exec() != QDialog::Accepted) return;
    fillTableList();
    selectEntry(int(tableNames().size()) - 1);
}

void CFreqTableDlg::onDelete() {
    auto* combo = control<QComboBox>(kTableComboId);
    if (!combo) return;
    const int index = combo->currentIndex();
    const std::string name = combo->currentText().toStdString();
    if (index <= 0 || FreqFile::isDefaultName(name)) return;
    std::error_code error;
    const std::filesystem::path path = FreqFile::pathForName(name);
    if (!FreqFile::isUsableName(name) || !std::filesystem::remove(path, error)) {
        const std::string reason = error ? error.message() : "The file was not found.";
        framework::messageBox(this, path.string() + " could not be deleted.\n\r" + reason, framework::MessageButtons::Ok,
                              framework::MessageIcon::Warning);
        return;
    }
    combo->removeItem(index);
    const int next = selectionAfterRemoval(index, combo->count());
    if (next >= 0) selectEntry(next);
}

void CFreqTableDlg::onModify() {
    auto* combo = control<QComboBox>(kTableComboId);
    if (!combo || combo->currentIndex() <= 0 || FreqFile::isDefaultName(combo->currentText().toStdString())) return;
    CFreqTableModifyDlg modify(combo->currentText().toStdString(), model_.records(), this);
    if (modify.exec() == QDialog::Accepted) showSelectedTable();
}

void CFreqTableDlg::onSaveAs() {
    const std::string path = askSavePath(this);
    if (!mayExportTo(model_.records(), path)) return;
    TableFileContent content;
    content.broadcastLowest = model_.records().broadcast.lowest;
    content.broadcastHighest = model_.records().broadcast.highest;
    content.cableLowest = model_.records().cable.lowest;
    content.cableHighest = model_.records().cable.highest;
    if (auto* list = control<framework::CReportListCtrl>(kTvListId)) content.broadcastRows = firstColumnTexts(*list);
    if (auto* list = control<framework::CReportListCtrl>(kCableListId)) content.cableRows = firstColumnTexts(*list);
    writeTableFile(this, path, content);
}

void CFreqTableDlg::onOk() {
    applyTable(model_, controller_, selectedName().toStdString());
    accept();
}

void CFreqTableDlg::closeEvent(QCloseEvent* event) {
    // The close box applies the selected table as OK does.
    if (isVisible()) onOk();
    event->accept();
}

}  // namespace kelto::viewer::freq
