#pragma once
// A window that lists the reservations with the headings of the reservation list: what is
// planned, when, on which channel, and what happens after a recording. Its buttons add a
// reservation, modify the selected one and change the turn-off through their dialogs.
#include <QDialog>

class QTreeWidget;

namespace kelto {

class ReservationTable;

class ReservationListWindow : public QDialog {
    Q_OBJECT
public:
    ReservationListWindow(ReservationTable& table, QWidget* parent = nullptr);
    // Shows the table as it is now.
    void refresh();
    QTreeWidget* list() const { return list_; }
    // The buttons' actions: each runs its dialog modally and shows the table again after OK.
    // Add does nothing when 30 reservations exist; Modify nothing without a selected row.
    void addReservation();
    void modifySelected();
    void changeTurnOff();

private:
    ReservationTable& table_;
    QTreeWidget* list_;
};

}  // namespace kelto
