#include "app/CProgramInfoDlg.h"

#include "framework/MessageBoxes.h"
#include "platform/WindowMessageIds.h"
#include "resources/StringTable.h"

#include <QLabel>

namespace kelto {

CProgramInfoDlg::CProgramInfoDlg(const ReservationRecord& record, QWidget* parent) : Dialog(kResourceId, parent) {
    start(describeReservation(record, LoadMessage));
}

CProgramInfoDlg::CProgramInfoDlg(const TurnOffSetting& setting, QWidget* parent) : Dialog(kResourceId, parent) {
    start(describeTurnOff(setting, LoadMessage));
}

QString CProgramInfoDlg::shownText(const std::string& description) {
    return QString::fromStdString(framework::displayText(description));
}

void CProgramInfoDlg::start(const std::string& description) {
    if (auto* label = control<QLabel>(kDescriptionId)) label->setText(shownText(description));
    messageMap().onMessage(platform::WM_TIMER, [this](const platform::WindowMessage& m) {
        if (int(m.wParam) == kCountdownTimerId) tick();
        return std::int64_t(0);
    });
    // The seconds field stays empty until the first tick shows 5.
    timers().set(kCountdownTimerId, ConfirmationCountdown::kTickMs);
}

void CProgramInfoDlg::tick() {
    const auto left = countdown_.tick();
    if (!left) {
        timers().kill(kCountdownTimerId);
        wiring().sendCommand(IDOK);
        return;
    }
    if (auto* label = control<QLabel>(kCountdownId)) label->setText(QString::number(*left));
}

namespace {

// Tests that answer every box answer the confirmation as a question with the description.
bool answeredAsQuestion(QWidget* parent, const std::string& description) {
    const framework::MessageBoxRequest request{description, LoadMessage(157), framework::MessageButtons::OkCancel,
                                               framework::MessageIcon::Question};
    return framework::messageBox(parent, request) == framework::IDOK;
}

}  // namespace

bool confirmReservationDue(QWidget* parent, const ReservationRecord& record) {
    if (framework::messageBoxAnswererInstalled())
        return answeredAsQuestion(parent, describeReservation(record, LoadMessage));
    CProgramInfoDlg dialog(record, parent);
    return dialog.exec() == QDialog::Accepted;
}

bool confirmTurnOffDue(QWidget* parent, const TurnOffSetting& setting) {
    if (framework::messageBoxAnswererInstalled()) return answeredAsQuestion(parent, describeTurnOff(setting, LoadMessage));
    CProgramInfoDlg dialog(setting, parent);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace kelto
