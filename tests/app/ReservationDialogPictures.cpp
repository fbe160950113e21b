// Pictures of the reservation dialogs (docs/screenshots); not a test.
//   xvfb-run reservation_dialog_pictures docs/screenshots
// Writes reservation-add.png (the add dialog, recording on, CATV) and
// reservation-countdown.png (the confirmation of a due recording, 3 seconds left).
#include "app/CProgramInfoDlg.h"
#include "app/CReservationEditDlg.h"
#include "framework/VirtualTimerScheduler.h"
#include "platform/Clock.h"
#include "reservations/ReservationTable.h"
#include "resources/StringTable.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QLineEdit>

#include <cstdio>

namespace {

bool save(QWidget& window, const QString& file) {
    window.show();
    for (int i = 0; i < 20; ++i) QApplication::processEvents();
    const bool saved = window.grab().save(file);
    std::printf("%s %s\n", saved ? "wrote" : "could not write", file.toUtf8().constData());
    return saved;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString("docs/screenshots");
    kelto::setUiLanguage(kelto::UiLanguage::EnglishUS);
    kelto::platform::VirtualClock clock(std::chrono::system_clock::now());
    kelto::framework::VirtualTimerScheduler scheduler(clock);
    kelto::platform::setClock(&clock);
    kelto::framework::setTimerScheduler(&scheduler);
    bool ok = true;
    {
        kelto::ReservationTable table;
        kelto::CReservationAddDlg add(table, kelto::ChannelBounds{2, 69, 1, 125});
        using Ids = kelto::CReservationAddDlg;
        add.control<QAbstractButton>(Ids::kIds.catv)->click();
        add.control<QComboBox>(Ids::kIds.channel)->setCurrentIndex(26);
        add.control<QLineEdit>(Ids::kIds.comment)->setText("Evening news");
        add.control<QAbstractButton>(Ids::kIds.recording)->click();
        add.control<QComboBox>(Ids::kIds.option)->setCurrentIndex(1);
        add.control<QDateTimeEdit>(Ids::kIds.start)->setTime(QTime(21, 0));
        add.control<QDateTimeEdit>(Ids::kIds.end)->setTime(QTime(21, 45));
        ok = save(add, folder + "/reservation-add.png") && ok;
    }
    {
        kelto::ReservationRecord record;
        record.apply = 1;
        record.videoMode = 1;
        record.channel = 27;
        record.startTime = std::uint32_t(QDateTime(QDate(2024, 7, 17), QTime(21, 0)).toSecsSinceEpoch());
        record.endTime = record.startTime + 45 * 60;
        record.recording = 1;
        record.option = kelto::AfterRecording::ExitProgram;
        record.comment = "Evening news";
        kelto::CProgramInfoDlg info(record);
        info.show();
        scheduler.advanceMs(3000);  // 5, 4, 3
        ok = save(info, folder + "/reservation-countdown.png") && ok;
    }
    kelto::framework::setTimerScheduler(nullptr);
    kelto::platform::setClock(nullptr);
    return ok ? 0 : 1;
}
