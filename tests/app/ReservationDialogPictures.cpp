// Pictures of the reservation dialogs (docs/screenshots); not a test.
//   xvfb-run reservation_dialog_pictures docs/screenshots
// Writes reservation-add.png (the add dialog, recording on, CATV),
// reservation-countdown.png (the confirmation of a due recording, 3 seconds left) and
// reservation-list.png (the list with a dated recording, daily ones, one switching only).
#include "app/CProgramInfoDlg.h"
#include "app/CReservationEditDlg.h"
#include "app/CReservationListDlg.h"
#include "framework/CReportListCtrl.h"
#include "framework/VirtualTimerScheduler.h"
#include "platform/Clock.h"
#include "reservations/ReservationTable.h"
#include "resources/StringTable.h"
#include "tests/support/WindowPicture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QLineEdit>

#include <cstdio>

namespace {

bool save(QWidget& window, const QString& file) { return kelto::test::saveWindowPicture(window, file); }

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
    {
        kelto::ReservationTable table;
        auto at = [](int month, int day, int hour, int minute) {
            return std::uint32_t(QDateTime(QDate(2024, month, day), QTime(hour, minute)).toSecsSinceEpoch());
        };
        kelto::ReservationRecord dated;
        dated.apply = 1;
        dated.channel = 12;
        dated.startTime = at(7, 15, 19, 5);
        dated.endTime = at(7, 15, 20, 45);
        dated.dayMode = kelto::DayMode::Date;
        dated.recording = 1;
        dated.option = kelto::AfterRecording::PowerOff;
        dated.comment = "Cup final";
        dated.recordedFile = "/home/user/Videos/AVI3.AVI";
        table.addRecord(dated);
        kelto::ReservationRecord news;
        news.apply = 1;
        news.videoMode = 1;
        news.channel = 27;
        news.startTime = at(7, 17, 21, 0);
        news.endTime = at(7, 17, 21, 45);
        news.dayMode = kelto::DayMode::Daily;
        news.recording = 1;
        news.option = kelto::AfterRecording::ExitProgram;
        news.comment = "Evening news";
        table.addRecord(news);
        kelto::ReservationRecord morning;
        morning.apply = 0;
        morning.channel = 6;
        morning.startTime = morning.endTime = at(7, 17, 7, 30);
        morning.dayMode = kelto::DayMode::Daily;
        morning.comment = "Morning show";
        table.addRecord(morning);
        kelto::ReservationRecord weekly;
        weekly.apply = 1;
        weekly.channel = 9;
        weekly.startTime = at(7, 17, 22, 0);
        weekly.endTime = at(7, 17, 23, 30);
        weekly.dayMode = kelto::DayMode(3);
        weekly.recording = 1;
        weekly.comment = "Late film";
        table.addRecord(weekly);
        kelto::TurnOffSetting turnOff;
        turnOff.apply = 1;
        turnOff.time = at(7, 17, 23, 50);
        turnOff.option = kelto::TurnOffOption::PowerOff;
        table.setTurnOff(turnOff);
        kelto::CReservationListDlg list(table, kelto::ChannelBounds{2, 69, 1, 125});
        list.resize(960, 300);
        list.list()->setRowState(1, true, true);
        ok = save(list, folder + "/reservation-list.png") && ok;
    }
    kelto::framework::setTimerScheduler(nullptr);
    kelto::platform::setClock(nullptr);
    return ok ? 0 : 1;
}
