#include "app/CTurnOffDlg.h"

#include "framework/MessageBoxes.h"
#include "reservations/LocalTime.h"
#include "reservations/ReservationTable.h"
#include "reservations/TurnOffEdit.h"
#include "resources/StringTable.h"

#include <QCheckBox>
#include <QDateTimeEdit>
#include <QRadioButton>

namespace kelto {

CTurnOffDlg::CTurnOffDlg(ReservationTable& table, QWidget* parent) : Dialog(kResourceId, parent), table_(table) {
    const TurnOffSetting& stored = table_.turnOff();
    if (auto* apply = control<QCheckBox>(kApplyId)) apply->setChecked(stored.isActive());
    if (auto* radio = control<QRadioButton>(stored.powersOff() ? kPowerOffId : kExitId)) radio->setChecked(true);
    if (auto* time = control<QDateTimeEdit>(kTimeId)) {
        const LocalTime local = toLocalTime(stored.time);
        time->setDisplayFormat("HH:mm");
        time->setTime(QTime(local.hour, local.minute));
    }
    messageMap().onCommand(IDOK, [this] { onOk(); });
}

void CTurnOffDlg::onOk() {
    const auto* apply = control<QCheckBox>(kApplyId);
    const auto* powerOff = control<QRadioButton>(kPowerOffId);
    const auto* time = control<QDateTimeEdit>(kTimeId);
    const QTime chosen = time ? time->time() : QTime(0, 0);
    const TurnOffSetting edited =
        editedTurnOff(table_.turnOff(), apply && apply->isChecked(), chosen.hour(), chosen.minute(),
                      powerOff && powerOff->isChecked() ? TurnOffOption::PowerOff : TurnOffOption::ExitProgram);
    if (turnOffRefused(table_, edited)) {
        framework::messageBox(this, LoadMessage(32876), framework::MessageButtons::Ok, framework::MessageIcon::Information);
        return;  // the dialog stays open with what was entered
    }
    table_.setTurnOff(edited);
    accept();
}

}  // namespace kelto
