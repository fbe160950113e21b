#pragma once
// "Turn Off" (dialog 375): the timed turn-off of the tray agent — time, apply, exit the viewer
// or power the computer off. OK stores it in the table, or refuses a time already taken.
#include "framework/Dialog.h"

namespace kelto {

class ReservationTable;

class CTurnOffDlg : public framework::Dialog {
    Q_OBJECT
public:
    static constexpr int kResourceId = 375;
    static constexpr int kTimeId = 1370;
    static constexpr int kApplyId = 1371;
    static constexpr int kExitId = 1231;
    static constexpr int kPowerOffId = 1232;

    explicit CTurnOffDlg(ReservationTable& table, QWidget* parent = nullptr);

private:
    void onOk();

    ReservationTable& table_;
};

}  // namespace kelto
