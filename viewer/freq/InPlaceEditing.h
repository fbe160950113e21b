#pragma once
// In-place editing of a report list's first column: a second click on the row that was already
// the one selected, or F2 on the row that is selected and focused, opens an editor over the
// row's first cell; what the editor holds when it closes becomes the cell's text (no check: the
// text is converted when the table is written). A cancelled edit keeps the old text.
#include <QObject>
#include <QWidget>

namespace kelto::framework {
class CReportListCtrl;
}

namespace kelto::viewer::freq {

class InPlaceEditing : public QObject {
public:
    // Watches `list` (and becomes its child).
    explicit InPlaceEditing(framework::CReportListCtrl& list);
    // Makes the list's rows editable; call after every refill.
    void rowsFilled();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void editRow(int row);

    framework::CReportListCtrl& list_;
    // Kept from the start: while the list is being destroyed its events still come here, and the
    // list can no longer be asked for its viewport then.
    QWidget* viewport_ = nullptr;
    int pressedSelectedRow_ = -1;
};

}  // namespace kelto::viewer::freq
