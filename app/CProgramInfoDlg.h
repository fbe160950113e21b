#pragma once
// "Programming Info" (dialog 374): a due reservation or turn-off, described line by line, with a
// countdown that applies it on the seventh second; OK applies at once, Cancel declines.
#include "framework/Dialog.h"
#include "reservations/ReservationConfirmation.h"

class QLabel;

namespace kelto {

class CProgramInfoDlg : public framework::Dialog {
    Q_OBJECT
public:
    static constexpr int kResourceId = 374;
    static constexpr int kDescriptionId = 1368;
    static constexpr int kCountdownId = 1369;
    static constexpr int kCountdownTimerId = 1;

    CProgramInfoDlg(const ReservationRecord& record, QWidget* parent = nullptr);
    CProgramInfoDlg(const TurnOffSetting& setting, QWidget* parent = nullptr);

    // The description as shown (line ends as the label breaks them).
    static QString shownText(const std::string& description);

private:
    void start(const std::string& description);
    void tick();

    ConfirmationCountdown countdown_;
};

// Runs the confirmation modally; true applies. Tests that answer message boxes answer it too.
bool confirmReservationDue(QWidget* parent, const ReservationRecord& record);
bool confirmTurnOffDue(QWidget* parent, const TurnOffSetting& setting);

}  // namespace kelto
