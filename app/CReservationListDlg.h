#pragma once
// "Setting Reservation" (dialog 371): the tray agent's reservations, one row each with its apply
// flag as the row's check box, and the timed turn-off. Add (below 30 reservations), Delete (or
// the Delete key), Modify (or Enter, or a double click) act on the row that is both selected and
// focused; Change.. edits the turn-off. Modeless; the agent keeps at most one and the scheduler
// refreshes it when it changes the table.
#include "framework/Dialog.h"
#include "settings/ChannelTypes.h"

namespace kelto {

namespace framework {
class CReportListCtrl;
}
class ReservationTable;

class CReservationListDlg : public framework::Dialog {
    Q_OBJECT
public:
    static constexpr int kResourceId = 371;
    static constexpr int kListId = 1348;
    static constexpr int kAddId = 1349;
    static constexpr int kDeleteId = 1350;
    static constexpr int kModifyId = 1351;
    static constexpr int kTurnOffApplyId = 1372;
    static constexpr int kTurnOffTimeId = 1373;
    static constexpr int kTurnOffOptionId = 1374;
    static constexpr int kChangeId = 1375;
    static constexpr int kExitId = 1376;
    // The list's colours: cyan text on black.
    static constexpr unsigned kTextColour = 0x00FFFF;  // as red, green, blue
    static constexpr unsigned kBackColour = 0x000000;

    // `bounds`: the band limits the add and modify dialogs offer.
    CReservationListDlg(ReservationTable& table, const ChannelBounds& bounds, QWidget* parent = nullptr);

    framework::CReportListCtrl* list() const;
    // Shows the table and the turn-off as they are now.
    void refresh();
    // The widest comment column so far (it only grows).
    int commentColumnWidth() const { return commentWidth_; }

    // The actions of the buttons and keys.
    void addReservation();
    void deleteSelected();
    void modifySelected();
    void changeTurnOff();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fillRows();
    void showTurnOff();
    // The row the edit actions take: selected and focused, among the first 30; -1 when none.
    int actionRow() const;
    void onRowChanged(int row);

    ReservationTable& table_;
    ChannelBounds bounds_;
    int commentWidth_ = 36;
    bool filling_ = false;
};

}  // namespace kelto
