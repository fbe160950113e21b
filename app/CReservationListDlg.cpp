#include "app/CReservationListDlg.h"

#include "app/CReservationEditDlg.h"
#include "app/CTurnOffDlg.h"
#include "framework/CReportListCtrl.h"
#include "platform/WindowMessageIds.h"
#include "reservations/ReservationListText.h"
#include "reservations/ReservationTable.h"
#include "resources/StringTable.h"

#include <QKeyEvent>
#include <QLabel>

namespace kelto {

namespace {

QString qtext(const std::string& text) { return QString::fromStdString(text); }
std::string lookup(int id) { return LoadMessage(id); }
QColor colourOf(unsigned rgb) { return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }
// The check state the row showed last, to tell a change of the box from other changes of the row.
constexpr int kShownCheckRole = Qt::UserRole + 20;

}  // namespace

CReservationListDlg::CReservationListDlg(ReservationTable& table, const ChannelBounds& bounds, QWidget* parent)
    : Dialog(kResourceId, parent), table_(table), bounds_(bounds) {
    if (auto* rows = list()) {
        QPalette colours = rows->palette();
        for (auto group : {QPalette::Active, QPalette::Inactive}) {
            colours.setColor(group, QPalette::Base, colourOf(kBackColour));
            colours.setColor(group, QPalette::Text, colourOf(kTextColour));
        }
        rows->setPalette(colours);
        // Grid lines: a line under every row and to the right of every cell. Styling the cells
        // takes over their selection painting, so the selected row is given its colours here.
        const QPalette system = rows->palette();
        rows->setStyleSheet(QString("QTreeView::item { border-right: 1px solid #606060; border-bottom: 1px solid #606060; }"
                                    "QTreeView::item:selected { background: %1; color: %2; }")
                                .arg(system.color(QPalette::Active, QPalette::Highlight).name(),
                                     system.color(QPalette::Active, QPalette::HighlightedText).name()));
        for (int column = 0; column < kReservationListColumns; ++column)
            rows->InsertColumn(column, qtext(LoadMessage(kReservationListHeadings[std::size_t(column)])));
        rows->installEventFilter(this);
        connect(rows, &QTreeWidget::itemChanged, this,
                [this, rows](QTreeWidgetItem* item) { onRowChanged(rows->indexOfTopLevelItem(item)); });
        connect(rows, &QTreeWidget::itemDoubleClicked, this, [this] { modifySelected(); });
    }
    messageMap().onCommand(kAddId, [this] { addReservation(); });
    messageMap().onCommand(kDeleteId, [this] { deleteSelected(); });
    messageMap().onCommand(kModifyId, [this] { modifySelected(); });
    messageMap().onCommand(kChangeId, [this] { changeTurnOff(); });
    // Exit asks for the close after the click has been handled; closing destroys the dialog.
    messageMap().onCommand(kExitId, [this] {
        QMetaObject::invokeMethod(this, [this] {
            platform::WindowMessage close;
            close.window = windowHandle();
            close.message = platform::WM_CLOSE;
            wiring().dispatch(close);
        },
                                  Qt::QueuedConnection);
    });
    setAttribute(Qt::WA_DeleteOnClose);
    refresh();
}

framework::CReportListCtrl* CReservationListDlg::list() const { return control<framework::CReportListCtrl>(kListId); }

void CReservationListDlg::refresh() {
    fillRows();
    showTurnOff();
}

void CReservationListDlg::fillRows() {
    auto* rows = list();
    if (!rows) return;
    filling_ = true;
    rows->DeleteAllItems();
    for (int index = 0; index < table_.count(); ++index) {
        const ReservationRecord record = table_.record(index);
        const auto texts = reservationRowTexts(index, record, lookup);
        const int row = rows->SetRowText(index, 0, qtext(texts[0]));
        for (int column = 1; column < kReservationListColumns; ++column)
            rows->SetRowText(row, column, qtext(texts[std::size_t(column)]));
        QTreeWidgetItem* item = rows->topLevelItem(row);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        const Qt::CheckState check = record.isActive() ? Qt::Checked : Qt::Unchecked;
        item->setCheckState(0, check);
        item->setData(0, kShownCheckRole, int(check));
        // The comment column grows to one and a half times the widest comment seen so far.
        const int wanted = rows->fontMetrics().horizontalAdvance(qtext(record.comment)) * 3 / 2;
        if (wanted > commentWidth_) {
            commentWidth_ = wanted;
            rows->SetColumnWidth(kReservationCommentColumn, commentWidth_);
        }
    }
    filling_ = false;
}

void CReservationListDlg::showTurnOff() {
    const TurnOffSummary summary = turnOffSummary(table_.turnOff(), lookup);
    if (auto* apply = control<QLabel>(kTurnOffApplyId)) apply->setText(qtext(summary.apply));
    if (auto* time = control<QLabel>(kTurnOffTimeId)) time->setText(qtext(summary.time));
    if (auto* option = control<QLabel>(kTurnOffOptionId)) option->setText(qtext(summary.option));
}

void CReservationListDlg::onRowChanged(int row) {
    if (filling_ || row < 0) return;
    QTreeWidgetItem* item = list()->topLevelItem(row);
    const Qt::CheckState check = item->checkState(0);
    // Only a change of the box counts; a text change of the row leaves the flag alone.
    if (item->data(0, kShownCheckRole).toInt() == int(check)) return;
    item->setData(0, kShownCheckRole, int(check));
    table_.setApply(row, check == Qt::Checked ? 1 : 0);
}

int CReservationListDlg::actionRow() const {
    const auto* rows = list();
    return rows ? rows->selectedAndFocusedRow(ReservationTable::kSlots) : -1;
}

void CReservationListDlg::addReservation() {
    if (table_.full()) return;  // refused silently
    CReservationAddDlg dialog(table_, bounds_, this);
    if (dialog.exec() == QDialog::Accepted) refresh();
}

void CReservationListDlg::deleteSelected() {
    const int row = actionRow();
    if (row < 0 || table_.count() == 0) return;
    if (table_.deleteRecord(row)) refresh();
}

void CReservationListDlg::modifySelected() {
    const int row = actionRow();
    if (row < 0 || row >= table_.count()) return;
    CReservationModifyDlg dialog(table_, row, bounds_, this);
    if (dialog.exec() == QDialog::Accepted) refresh();
}

void CReservationListDlg::changeTurnOff() {
    CTurnOffDlg dialog(table_, this);
    if (dialog.exec() == QDialog::Accepted) showTurnOff();
}

bool CReservationListDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == list() && event->type() == QEvent::KeyPress) {
        switch (static_cast<QKeyEvent*>(event)->key()) {
            case Qt::Key_Delete: deleteSelected(); return true;
            case Qt::Key_Return:
            case Qt::Key_Enter: modifySelected(); return true;
            default: break;
        }
    }
    return Dialog::eventFilter(watched, event);
}

}  // namespace kelto
