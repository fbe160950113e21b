#pragma once
// A window that lists the reservations with the headings of the reservation list: what is
// planned, when, on which channel, and what happens after a recording.
#include <QDialog>

class QTreeWidget;

namespace kelto {

class ReservationTable;

class ReservationListWindow : public QDialog {
    Q_OBJECT
public:
    ReservationListWindow(const ReservationTable& table, QWidget* parent = nullptr);
    // Shows the table as it is now.
    void refresh();
    QTreeWidget* list() const { return list_; }

private:
    const ReservationTable& table_;
    QTreeWidget* list_;
};

}  // namespace kelto
