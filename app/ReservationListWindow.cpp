#include "app/ReservationListWindow.h"

#include "app/CReservationEditDlg.h"
#include "app/CTurnOffDlg.h"

#include "settings/VideoMode.h"
#include "reservations/ReservationTable.h"
#include "resources/StringTable.h"

#include <QDateTime>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace kelto {

namespace {

QString text(int id) { return QString::fromStdString(LoadMessage(id)); }

QString dayName(DayMode mode) {
    const auto value = static_cast<std::uint32_t>(mode);
    if (value <= 6) return text(32862 + int(value));
    if (mode == DayMode::Daily) return text(32869);
    if (mode == DayMode::Date) return text(32872);
    return QString::number(value);
}

QString localTime(std::uint32_t seconds, bool withDate) {
    const QDateTime time = QDateTime::fromSecsSinceEpoch(qint64(seconds));
    return time.toString(withDate ? "yyyy-MM-dd HH:mm" : "HH:mm");
}

}  // namespace

ReservationListWindow::ReservationListWindow(ReservationTable& table, QWidget* parent)
    : QDialog(parent), table_(table), list_(new QTreeWidget(this)) {
    setWindowTitle(text(157));
    list_->setRootIsDecorated(false);
    list_->setHeaderLabels({text(32854), text(32859), text(32857), text(32858), text(32855), text(32856), text(32860),
                            text(32873), text(32861), text(32877)});
    list_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    auto* buttons = new QDialogButtonBox(this);
    auto addButton = [&](const char* name, const QString& label, void (ReservationListWindow::*action)()) {
        QPushButton* button = buttons->addButton(label, QDialogButtonBox::ActionRole);
        button->setObjectName(name);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, action);
    };
    addButton("addButton", tr("&Add"), &ReservationListWindow::addReservation);
    addButton("modifyButton", tr("&Modify"), &ReservationListWindow::modifySelected);
    addButton("turnOffButton", tr("&Change.."), &ReservationListWindow::changeTurnOff);
    layout->addWidget(buttons);
    resize(980, 320);
    refresh();
}

void ReservationListWindow::refresh() {
    list_->clear();
    for (int i = 0; i < table_.count(); ++i) {
        const ReservationRecord r = table_.record(i);
        const QString after = !r.records()                               ? QString()
                              : r.option == AfterRecording::ExitProgram ? text(32874)
                              : r.option == AfterRecording::PowerOff    ? text(32875)
                                                                        : QString("-");
        auto* row = new QTreeWidgetItem(
            list_, {r.isActive() ? text(32870) : text(32871), dayName(r.dayMode),
                    localTime(r.startTime, r.dayMode == DayMode::Date), localTime(r.endTime, false),
                    videoModeLabel(videoModeFromInt(int(r.videoMode))), QString::number(r.channel),
                    r.records() ? text(32870) : text(32871), after, QString::fromStdString(r.comment),
                    QString::fromStdString(r.recordedFile)});
        row->setData(0, Qt::UserRole, i);
    }
}

void ReservationListWindow::addReservation() {
    if (table_.full()) return;
    CReservationAddDlg dialog(table_, reservationBandLimits(), this);
    if (dialog.exec() == QDialog::Accepted) refresh();
}

void ReservationListWindow::modifySelected() {
    const QList<QTreeWidgetItem*> selected = list_->selectedItems();
    if (selected.isEmpty()) return;
    const int index = selected.front()->data(0, Qt::UserRole).toInt();
    if (index < 0 || index >= table_.count()) return;
    CReservationModifyDlg dialog(table_, index, reservationBandLimits(), this);
    if (dialog.exec() == QDialog::Accepted) refresh();
}

void ReservationListWindow::changeTurnOff() {
    CTurnOffDlg dialog(table_, this);
    dialog.exec();  // the list shows no turn-off; nothing to refresh
}

}  // namespace kelto
