// The reservation dialogs on screen (off-screen platform, virtual time): the "Programming Info"
// confirmation with its countdown, and the turn-off dialog with its refusal rule.
#include "app/AgentReservationLinks.h"
#include "app/CProgramInfoDlg.h"
#include "app/CReservationEditDlg.h"
#include "app/CTurnOffDlg.h"
#include "app/CReservationListDlg.h"
#include "framework/CReportListCtrl.h"
#include "framework/ControlIds.h"
#include "framework/MessageBoxes.h"
#include "framework/VirtualTimerScheduler.h"
#include "platform/Clock.h"
#include "reservations/ReservationTable.h"
#include "resources/StringTable.h"
#include "tests/reservations/ReservationTestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QDateTimeEdit>
#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace kelto {
namespace {

using test::today;

class ReservationDialogsTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::setTimeZone("UTC");
        setUiLanguage(UiLanguage::EnglishUS);
        platform::setClock(&clock);
        framework::setTimerScheduler(&scheduler);
    }
    void TearDown() override {
        framework::setMessageBoxAnswerer(nullptr);
        framework::setTimerScheduler(nullptr);
        platform::setClock(nullptr);
        setUiLanguage(std::nullopt);
    }
    void answerBoxes() {
        framework::setMessageBoxAnswerer([this](const framework::MessageBoxRequest& r) {
            boxes.push_back(r);
            return framework::IDOK;
        });
    }
    // The open confirmation, or null.
    static QWidget* confirmation() {
        QWidget* window = framework::findResourceWindow(CProgramInfoDlg::kResourceId);
        return window && window->isVisible() ? window : nullptr;
    }
    static QString shown(int controlId) {
        QWidget* window = confirmation();
        auto* label = window ? qobject_cast<QLabel*>(framework::findControl(window, controlId)) : nullptr;
        return label ? label->text() : QString("(closed)");
    }
    static void click(QWidget* window, int controlId) {
        auto* button = qobject_cast<QAbstractButton*>(framework::findControl(window, controlId));
        ASSERT_NE(button, nullptr) << controlId;
        button->click();
    }
    // Runs `step` once the modal loop of the dialog runs.
    static void whileOpen(std::function<void()> step) { QMetaObject::invokeMethod(qApp, std::move(step), Qt::QueuedConnection); }

    static ReservationRecord recording() {
        ReservationRecord record = test::reservationAt(today(21, 0), today(22, 30));
        record.recording = 1;
        record.option = AfterRecording::ExitProgram;
        return record;
    }

    platform::VirtualClock clock{std::chrono::system_clock::time_point(std::chrono::seconds(today(20, 59, 55)))};
    framework::VirtualTimerScheduler scheduler{clock};
    QWidget owner;
    std::vector<framework::MessageBoxRequest> boxes;
};

// The seconds field is empty at first, shows 5 after the first second and 0 after the sixth;
// the seventh applies the reservation.
TEST_F(ReservationDialogsTest, TheCountdownShowsFiveOnlyAfterTheFirstSecondAndAppliesOnTheSeventh) {
    AgentReservationUi ui(&owner);
    std::vector<QString> seen;
    QString description;
    whileOpen([&] {
        description = shown(CProgramInfoDlg::kDescriptionId);
        seen.push_back(shown(CProgramInfoDlg::kCountdownId));
        scheduler.advanceMs(999);
        seen.push_back(shown(CProgramInfoDlg::kCountdownId));
        scheduler.advanceMs(1);
        seen.push_back(shown(CProgramInfoDlg::kCountdownId));
        scheduler.advanceMs(5000);
        seen.push_back(shown(CProgramInfoDlg::kCountdownId));
        scheduler.advanceMs(999);
        seen.push_back(shown(CProgramInfoDlg::kCountdownId));
        scheduler.advanceMs(1);  // the seventh second
    });
    EXPECT_TRUE(ui.confirmReservation(recording()));
    EXPECT_EQ(seen, (std::vector<QString>{"", "", "5", "0", "0"}));
    EXPECT_EQ(description, "Video Mode: TV\nChannel: 12\nStart Time: 21:00\nEnd Time: 22:30\nRecording: Yes\n"
                           "Option After Recording: Exit TV Program\nComment: news");
    EXPECT_EQ(scheduler.pending(), 0u);  // the closed dialog left no timer behind
}

TEST_F(ReservationDialogsTest, CancelDeclinesAndOkAppliesAtOnce) {
    AgentReservationUi ui(&owner);
    whileOpen([&] {
        scheduler.advanceMs(3000);
        click(confirmation(), framework::IDCANCEL);
    });
    EXPECT_FALSE(ui.confirmTurnOff(TurnOffSetting{1, today(23, 0), TurnOffOption::PowerOff}));
    EXPECT_EQ(scheduler.pending(), 0u);

    whileOpen([&] {
        // Cancel in the last second still declines.
        scheduler.advanceMs(6999);
        click(confirmation(), framework::IDCANCEL);
    });
    EXPECT_FALSE(ui.confirmReservation(recording()));

    QString description;
    whileOpen([&] {
        description = shown(CProgramInfoDlg::kDescriptionId);
        click(confirmation(), framework::IDOK);
    });
    const std::uint32_t before = clock.tickCountMs();
    EXPECT_TRUE(ui.confirmTurnOff(TurnOffSetting{1, today(23, 0), TurnOffOption::PowerOff}));
    EXPECT_EQ(clock.tickCountMs(), before);  // no second had to pass
    EXPECT_EQ(description, "Start Time: 23:00\nSystem Power Off");
    EXPECT_EQ(scheduler.pending(), 0u);
}

TEST_F(ReservationDialogsTest, TheConfirmationSpeaksTheUsersLanguage) {
    setUiLanguage(UiLanguage::Japanese);
    CProgramInfoDlg dialog(recording(), &owner);
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("予約情報"));
    auto* label = qobject_cast<QLabel*>(dialog.control(CProgramInfoDlg::kDescriptionId));
    ASSERT_NE(label, nullptr);
    EXPECT_TRUE(label->text().startsWith(QString::fromUtf8("ビデオ モード: TV\n"))) << label->text().toStdString();
}

class TurnOffDialogTest : public ReservationDialogsTest {
protected:
    void SetUp() override {
        ReservationDialogsTest::SetUp();
        answerBoxes();
        table.setTurnOff(stored);
    }
    const TurnOffSetting stored{1, today(23, 30, 12), TurnOffOption::ExitProgram};
    ReservationTable table;
};

TEST_F(TurnOffDialogTest, OkWithoutChangesWhileActiveShowsTheConflictAndStaysOpen) {
    CTurnOffDlg dialog(table, &owner);
    dialog.show();
    EXPECT_TRUE(dialog.control<QCheckBox>(CTurnOffDlg::kApplyId)->isChecked());
    EXPECT_TRUE(dialog.control<QRadioButton>(CTurnOffDlg::kExitId)->isChecked());
    EXPECT_EQ(dialog.control<QDateTimeEdit>(CTurnOffDlg::kTimeId)->time(), QTime(23, 30));
    EXPECT_EQ(dialog.control<QDateTimeEdit>(CTurnOffDlg::kTimeId)->displayFormat(), "HH:mm");

    click(&dialog, framework::IDOK);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, LoadMessage(32876));
    EXPECT_EQ(boxes[0].icon, framework::MessageIcon::Information);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(table.turnOff(), stored);
}

TEST_F(TurnOffDialogTest, AChangedOptionStoresTheSameTime) {
    CTurnOffDlg dialog(table, &owner);
    dialog.show();
    click(&dialog, CTurnOffDlg::kPowerOffId);
    click(&dialog, framework::IDOK);
    EXPECT_TRUE(boxes.empty());
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(table.turnOff(), (TurnOffSetting{1, stored.time, TurnOffOption::PowerOff}));
}

TEST_F(TurnOffDialogTest, ANewTimeAndTheApplyBoxAreStored) {
    CTurnOffDlg dialog(table, &owner);
    dialog.show();
    dialog.control<QDateTimeEdit>(CTurnOffDlg::kTimeId)->setTime(QTime(1, 15));
    click(&dialog, CTurnOffDlg::kApplyId);  // off
    click(&dialog, framework::IDOK);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(table.turnOff(), (TurnOffSetting{0, test::at(2024, 7, 17, 1, 15, 12), TurnOffOption::ExitProgram}));
}

class EditDialogTest : public ReservationDialogsTest {
protected:
    void SetUp() override {
        ReservationDialogsTest::SetUp();
        answerBoxes();
    }
    static QStringList entries(const QComboBox* list) {
        QStringList out;
        for (int i = 0; i < list->count(); ++i) out << list->itemText(i);
        return out;
    }
    const ChannelBounds bounds{2, 69, 1, 125};
    ReservationTable table;
};

TEST_F(EditDialogTest, AddStartsOnTheBroadcastBandDailyWithoutRecording) {
    CReservationAddDlg dialog(table, bounds, &owner);
    using Ids = CReservationAddDlg;
    auto* channels = dialog.control<QComboBox>(Ids::kIds.channel);
    ASSERT_NE(channels, nullptr);
    EXPECT_TRUE(dialog.control<QRadioButton>(Ids::kIds.tv)->isChecked());
    EXPECT_EQ(channels->count(), 68);
    EXPECT_EQ(channels->itemText(0), "CH 2");
    EXPECT_EQ(channels->currentIndex(), 0);
    EXPECT_EQ(entries(dialog.control<QComboBox>(Ids::kIds.option)), (QStringList{"No", "Exit TV Program", "System Power Off"}));
    EXPECT_EQ(dialog.control<QComboBox>(Ids::kIds.option)->currentIndex(), 0);
    EXPECT_EQ(entries(dialog.control<QComboBox>(Ids::kIds.dayMode)),
              (QStringList{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Daily", "Date"}));
    EXPECT_EQ(dialog.control<QComboBox>(Ids::kIds.dayMode)->currentIndex(), 7);
    EXPECT_EQ(dialog.control<QDateTimeEdit>(Ids::kIds.start)->displayFormat(), "HH:mm");
    EXPECT_EQ(dialog.control<QDateTimeEdit>(Ids::kIds.end)->displayFormat(), "HH:mm");
    EXPECT_FALSE(dialog.control(Ids::kIds.option)->isEnabled());
    EXPECT_FALSE(dialog.control(Ids::kIds.end)->isEnabled());
    EXPECT_FALSE(dialog.control(Ids::kIds.date)->isEnabled());

    // Recording enables the option and the end; "Date" the date.
    click(&dialog, Ids::kIds.recording);
    EXPECT_TRUE(dialog.control(Ids::kIds.option)->isEnabled());
    EXPECT_TRUE(dialog.control(Ids::kIds.end)->isEnabled());
    dialog.control<QComboBox>(Ids::kIds.dayMode)->setCurrentIndex(8);
    EXPECT_TRUE(dialog.control(Ids::kIds.date)->isEnabled());

    // CATV refills the list with the cable band, first entry chosen; choosing CATV again keeps
    // the entry the user picked.
    click(&dialog, Ids::kIds.catv);
    EXPECT_EQ(channels->count(), 125);
    EXPECT_EQ(channels->itemText(0), "CH 1");
    channels->setCurrentIndex(40);
    click(&dialog, Ids::kIds.catv);
    EXPECT_EQ(channels->currentIndex(), 40);
    EXPECT_EQ(dialog.chosenRecord(1).channel, 41u);
    EXPECT_EQ(dialog.chosenRecord(1).videoMode, 1u);
}

TEST_F(EditDialogTest, AddStoresTheChosenReservationAndRefusesATakenMinute) {
    CReservationAddDlg dialog(table, bounds, &owner);
    using Ids = CReservationAddDlg;
    dialog.show();
    dialog.control<QComboBox>(Ids::kIds.channel)->setCurrentIndex(4);  // CH 6
    dialog.control<QLineEdit>(Ids::kIds.comment)->setText("News");
    click(&dialog, Ids::kIds.recording);
    dialog.control<QComboBox>(Ids::kIds.option)->setCurrentIndex(1);
    dialog.control<QComboBox>(Ids::kIds.dayMode)->setCurrentIndex(8);
    dialog.control<QDateEdit>(Ids::kIds.date)->setDate(QDate(2024, 7, 20));
    dialog.control<QDateTimeEdit>(Ids::kIds.start)->setTime(QTime(21, 0));
    dialog.control<QDateTimeEdit>(Ids::kIds.end)->setTime(QTime(21, 30));
    click(&dialog, framework::IDOK);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    ASSERT_EQ(table.count(), 1);
    const ReservationRecord added = table.record(0);
    EXPECT_EQ(added.apply, 1u);
    EXPECT_EQ(added.channel, 6u);
    EXPECT_EQ(added.startTime, test::at(2024, 7, 20, 21, 0));
    EXPECT_EQ(added.endTime, today(21, 30));
    EXPECT_EQ(added.dayMode, DayMode::Date);
    EXPECT_EQ(added.comment, "News");
    EXPECT_EQ(added.option, AfterRecording::ExitProgram);

    // The same minute on another day is taken: the message, and the dialog stays with its values.
    CReservationAddDlg again(table, bounds, &owner);
    again.show();
    again.control<QDateTimeEdit>(Ids::kIds.start)->setTime(QTime(21, 0));
    again.control<QLineEdit>(Ids::kIds.comment)->setText("Other");
    click(&again, framework::IDOK);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, LoadMessage(32876));
    EXPECT_EQ(boxes[0].icon, framework::MessageIcon::Information);
    EXPECT_TRUE(again.isVisible());
    EXPECT_EQ(again.control<QLineEdit>(Ids::kIds.comment)->text(), "Other");
    EXPECT_EQ(table.count(), 1);
}

TEST_F(EditDialogTest, TheThirtyFirstAddIsRefused) {
    for (int i = 0; i < 30; ++i) ASSERT_TRUE(table.addRecord(test::reservationAt(today(10, i))));
    CReservationAddDlg dialog(table, bounds, &owner);
    dialog.show();
    dialog.control<QDateTimeEdit>(CReservationAddDlg::kIds.start)->setTime(QTime(18, 0));  // a free minute
    click(&dialog, framework::IDOK);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, LoadMessage(32876));
    EXPECT_EQ(table.count(), 30);
    EXPECT_TRUE(dialog.isVisible());
}

TEST_F(EditDialogTest, ModifyShowsTheRecordAndStoresItWithoutATimeCheck) {
    ReservationRecord first = test::reservationAt(today(20, 0));
    ReservationRecord second = test::reservationAt(today(21, 0), today(22, 15));
    second.apply = 0;
    second.videoMode = 1;
    second.channel = 30;
    second.recording = 1;
    second.option = AfterRecording::PowerOff;
    second.dayMode = DayMode::Friday;
    second.recordedFile = "/capture/AVI1.AVI";
    ASSERT_TRUE(table.addRecord(first));
    ASSERT_TRUE(table.addRecord(second));

    CReservationModifyDlg dialog(table, 1, bounds, &owner);
    using Ids = CReservationModifyDlg;
    dialog.show();
    EXPECT_TRUE(dialog.control<QRadioButton>(Ids::kIds.catv)->isChecked());
    EXPECT_EQ(dialog.control<QComboBox>(Ids::kIds.channel)->currentText(), "CH 30");
    EXPECT_TRUE(dialog.control<QCheckBox>(Ids::kIds.recording)->isChecked());
    EXPECT_EQ(dialog.control<QComboBox>(Ids::kIds.option)->currentIndex(), 2);
    EXPECT_EQ(dialog.control<QComboBox>(Ids::kIds.dayMode)->currentIndex(), 5);
    EXPECT_EQ(dialog.control<QDateTimeEdit>(Ids::kIds.start)->time(), QTime(21, 0));
    EXPECT_EQ(dialog.control<QDateTimeEdit>(Ids::kIds.end)->time(), QTime(22, 15));
    EXPECT_TRUE(dialog.control(Ids::kIds.end)->isEnabled());
    EXPECT_FALSE(dialog.control(Ids::kIds.date)->isEnabled());

    dialog.control<QDateTimeEdit>(Ids::kIds.start)->setTime(QTime(20, 0));  // the first record's minute
    click(&dialog, framework::IDOK);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    const ReservationRecord stored = table.record(1);
    EXPECT_EQ(stored.startTime, today(20, 0));
    EXPECT_EQ(stored.apply, 0u);  // kept
    EXPECT_EQ(stored.channel, 30u);
    EXPECT_EQ(stored.option, AfterRecording::PowerOff);
    EXPECT_EQ(stored.recordedFile, "/capture/AVI1.AVI");
    EXPECT_EQ(table.record(0), first);
}

// The reservation list: one row per record with the texts of its columns, the apply flag as the
// row's check box, cyan on black, and the turn-off summary.
class ListDialogTest : public EditDialogTest {
protected:
    static ReservationRecord dated() {
        ReservationRecord record = test::reservationAt(test::at(2004, 7, 15, 19, 5), test::at(2004, 7, 15, 20, 45));
        record.dayMode = DayMode::Date;
        record.recording = 1;
        record.option = AfterRecording::PowerOff;
        record.comment = "Cup final";
        record.recordedFile = "/capture/AVI3.AVI";
        return record;
    }
    static ReservationRecord switchOnly() {
        // Holds an end time and an option, which mean nothing without recording.
        ReservationRecord record = test::reservationAt(today(7, 30), today(8, 0));
        record.videoMode = 1;
        record.channel = 27;
        record.option = AfterRecording::ExitProgram;
        record.apply = 0;
        return record;
    }
    QStringList row(const CReservationListDlg& dialog, int index) const {
        QStringList texts;
        for (int column = 0; column < 10; ++column) texts << dialog.list()->itemText(index, column);
        return texts;
    }
    static QString label(const CReservationListDlg& dialog, int id) { return dialog.control<QLabel>(id)->text(); }
    // Closes any edit dialog that opens and counts them.
    void countDialogs() {
        whileOpen([this] {
            for (int id : {CReservationAddDlg::kResourceId, CReservationModifyDlg::kResourceId})
                if (QWidget* dialog = framework::findResourceWindow(id); dialog && dialog->isVisible()) {
                    ++dialogsSeen;
                    click(dialog, framework::IDCANCEL);
                }
        });
    }
    int dialogsSeen = 0;
};

TEST_F(ListDialogTest, RowsShowEachRecordInTheTenColumns) {
    ASSERT_TRUE(table.addRecord(dated()));
    ASSERT_TRUE(table.addRecord(switchOnly()));
    ReservationRecord daily = recording();  // 21:00 to 22:30 daily, exit afterwards
    ASSERT_TRUE(table.addRecord(daily));
    TurnOffSetting turnOff;
    turnOff.apply = 1;
    turnOff.time = today(23, 40);
    turnOff.option = TurnOffOption::PowerOff;
    table.setTurnOff(turnOff);

    CReservationListDlg dialog(table, bounds);
    framework::CReportListCtrl* list = dialog.list();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(dialog.windowTitle(), "Setting Reservation");
    QStringList headings;
    for (int column = 0; column < list->columnCount(); ++column) headings << list->headerItem()->text(column);
    EXPECT_EQ(headings, (QStringList{"Apply", "Video Mode", "Channel", "Start Time", "End Time", "Day Mode", "Comment",
                                     "Recording", "Option After Recording", "Recent File Path  After Recording"}));
    EXPECT_EQ(list->header()->sectionSize(1), list->fontMetrics().horizontalAdvance("Video Mode") + 15);
    ASSERT_EQ(list->rowCount(), 3);
    EXPECT_EQ(row(dialog, 0), (QStringList{" 1", "TV", "12", "19: 05", "20: 45", "2004-07-15", "Cup final", "Yes",
                                           "System Power Off", "/capture/AVI3.AVI"}));
    EXPECT_EQ(row(dialog, 1), (QStringList{" 2", "CATV", "27", "07: 30", "", "Daily", "news", "No", "", ""}));
    EXPECT_EQ(row(dialog, 2), (QStringList{" 3", "TV", "12", "21: 00", "22: 30", "Daily", "news", "Yes", "Exit TV Program", ""}));
    EXPECT_EQ(list->topLevelItem(0)->checkState(0), Qt::Checked);
    EXPECT_EQ(list->topLevelItem(1)->checkState(0), Qt::Unchecked);
    EXPECT_EQ(list->palette().color(QPalette::Base), QColor(Qt::black));
    EXPECT_EQ(list->palette().color(QPalette::Text), QColor(Qt::cyan));
    EXPECT_EQ(label(dialog, CReservationListDlg::kTurnOffApplyId), "Yes");
    EXPECT_EQ(label(dialog, CReservationListDlg::kTurnOffTimeId), "23:40");
    EXPECT_EQ(label(dialog, CReservationListDlg::kTurnOffOptionId), "System Power Off");
}

// The comment column takes one and a half times the widest comment seen, and never narrows.
TEST_F(ListDialogTest, TheCommentColumnWidensForLongCommentsOnly) {
    ReservationRecord record = test::reservationAt(today(9, 0));
    record.comment = "ab";
    ASSERT_TRUE(table.addRecord(record));
    CReservationListDlg dialog(table, bounds);
    const QFontMetrics metrics = dialog.list()->fontMetrics();
    ASSERT_LT(metrics.horizontalAdvance("ab") * 3 / 2, 36);
    EXPECT_EQ(dialog.commentColumnWidth(), 36);
    EXPECT_EQ(dialog.list()->header()->sectionSize(6), metrics.horizontalAdvance("Comment") + 15);

    record.comment = "The late evening film, part two";
    table.setRecord(0, record);
    dialog.refresh();
    const int wide = metrics.horizontalAdvance(QString::fromStdString(record.comment)) * 3 / 2;
    EXPECT_EQ(dialog.commentColumnWidth(), wide);
    EXPECT_EQ(dialog.list()->header()->sectionSize(6), wide);
    record.comment = "Short";
    table.setRecord(0, record);
    dialog.refresh();
    EXPECT_EQ(dialog.list()->header()->sectionSize(6), wide);
}

TEST_F(ListDialogTest, TheCheckBoxSetsTheApplyFlagOfItsRecord) {
    ASSERT_TRUE(table.addRecord(test::reservationAt(today(9, 0))));
    ASSERT_TRUE(table.addRecord(test::reservationAt(today(10, 0))));
    CReservationListDlg dialog(table, bounds);
    dialog.list()->topLevelItem(1)->setCheckState(0, Qt::Unchecked);
    EXPECT_EQ(table.apply(1), 0u);
    EXPECT_EQ(table.apply(0), 1u);
    dialog.list()->topLevelItem(1)->setCheckState(0, Qt::Checked);
    EXPECT_EQ(table.apply(1), 1u);
    // A text change of the row is no box change.
    table.setApply(0, 0);
    dialog.list()->topLevelItem(0)->setText(6, "edited");
    EXPECT_EQ(table.apply(0), 0u);
}

// Delete and Modify take the row that is both selected and focused; a selected row without the
// focus is not taken, by the buttons or by the keys.
TEST_F(ListDialogTest, DeleteAndModifyTakeOnlyTheSelectedAndFocusedRow) {
    for (int i = 0; i < 4; ++i) ASSERT_TRUE(table.addRecord(test::reservationAt(today(10, i))));
    CReservationListDlg dialog(table, bounds);
    dialog.show();
    framework::CReportListCtrl* list = dialog.list();
    countDialogs();  // a safety net: nothing should open
    dialog.modifySelected();
    dialog.deleteSelected();
    list->setRowState(1, false, true);
    list->setRowState(2, true, false);
    ASSERT_TRUE(list->isRowSelected(2));
    ASSERT_TRUE(list->isRowFocused(1));
    click(&dialog, CReservationListDlg::kDeleteId);
    click(&dialog, CReservationListDlg::kModifyId);
    QTest::keyClick(list, Qt::Key_Delete);
    QTest::keyClick(list, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(dialogsSeen, 0);
    EXPECT_EQ(table.count(), 4);

    list->setRowState(2, true, true);
    QTest::keyClick(list, Qt::Key_Delete);
    ASSERT_EQ(table.count(), 3);
    EXPECT_EQ(table.record(2).startTime, today(10, 3));
    ASSERT_EQ(list->rowCount(), 3);
    EXPECT_EQ(list->itemText(2, 3), "10: 03");
    EXPECT_EQ(list->itemText(2, 0), " 3");

    list->setRowState(0, true, true);
    click(&dialog, CReservationListDlg::kDeleteId);
    EXPECT_EQ(table.count(), 2);
    EXPECT_EQ(table.record(0).startTime, today(10, 1));
}

TEST_F(ListDialogTest, EnterDoubleClickAndModifyEditTheRowAndShowTheChange) {
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(table.addRecord(test::reservationAt(today(10, i))));
    CReservationListDlg dialog(table, bounds);
    dialog.show();
    framework::CReportListCtrl* list = dialog.list();
    QStringList shown;
    int nextHour = 17;
    auto editStart = [&] {
        whileOpen([&] {
            QWidget* modify = framework::findResourceWindow(CReservationModifyDlg::kResourceId);
            ASSERT_NE(modify, nullptr);
            auto* start = qobject_cast<QDateTimeEdit*>(framework::findControl(modify, CReservationModifyDlg::kIds.start));
            shown << start->time().toString("HH:mm");
            start->setTime(QTime(nextHour++, 0));
            click(modify, framework::IDOK);
        });
    };
    list->setRowState(1, true, true);
    editStart();
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(list->itemText(1, 3), "17: 00");

    list->setRowState(2, true, true);
    editStart();
    click(&dialog, CReservationListDlg::kModifyId);
    EXPECT_EQ(list->itemText(2, 3), "18: 00");

    const QRect rect = list->visualItemRect(list->topLevelItem(0));
    editStart();
    const QPoint cell(rect.left() + 60, rect.center().y());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, cell);
    EXPECT_EQ(shown, (QStringList{"10:01", "10:02", "10:00"}));
    EXPECT_EQ(table.record(0).startTime, today(19, 0));
    EXPECT_EQ(list->itemText(0, 3), "19: 00");
}

// Add runs its dialog below 30 records and shows the new row; at 30 the button does nothing.
TEST_F(ListDialogTest, AddRunsItsDialogOnlyBelowThirtyRecords) {
    for (int i = 0; i < 29; ++i) ASSERT_TRUE(table.addRecord(test::reservationAt(today(10, i))));
    CReservationListDlg dialog(table, bounds);
    whileOpen([&] {
        QWidget* add = framework::findResourceWindow(CReservationAddDlg::kResourceId);
        ASSERT_NE(add, nullptr);
        qobject_cast<QDateTimeEdit*>(framework::findControl(add, CReservationAddDlg::kIds.start))->setTime(QTime(22, 5));
        click(add, framework::IDOK);
    });
    click(&dialog, CReservationListDlg::kAddId);
    ASSERT_EQ(table.count(), 30);
    ASSERT_EQ(dialog.list()->rowCount(), 30);
    EXPECT_EQ(dialog.list()->itemText(29, 3), "22: 05");
    countDialogs();
    click(&dialog, CReservationListDlg::kAddId);
    QApplication::processEvents();
    EXPECT_EQ(dialogsSeen, 0);
    EXPECT_TRUE(boxes.empty());  // refused silently
}

// The agent's side: the scheduler's refresh and a request's open show the table as it is now;
// the menu's open leaves an open list alone.
TEST_F(ListDialogTest, TheAgentKeepsOneListAndRefreshesItWhenTheTableChanges) {
    AgentReservationUi ui(&owner);
    ui.setTable(table);
    ui.refreshReservationList();  // nothing open: nothing happens
    EXPECT_FALSE(ui.listOpen());
    ASSERT_TRUE(table.addRecord(dated()));
    ui.showReservationList();
    CReservationListDlg* list = ui.list();
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->list()->rowCount(), 1);

    table.setApply(0, 0);  // as the scheduler does once a dated reservation is handled
    ASSERT_TRUE(table.addRecord(recording()));
    ui.showReservationList();
    EXPECT_EQ(ui.list(), list);
    EXPECT_EQ(list->list()->rowCount(), 1);
    ui.refreshReservationList();
    ASSERT_EQ(list->list()->rowCount(), 2);
    EXPECT_EQ(list->list()->topLevelItem(0)->checkState(0), Qt::Unchecked);

    ASSERT_TRUE(table.addRecord(switchOnly()));
    ui.openReservationList();  // a request's way
    EXPECT_EQ(ui.list(), list);
    EXPECT_EQ(list->list()->rowCount(), 3);
    ui.closeReservationList();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(ui.listOpen());
}

TEST_F(ListDialogTest, ChangeEditsTheTurnOffAndExitDestroysTheList) {
    QPointer<CReservationListDlg> dialog = new CReservationListDlg(table, bounds);
    dialog->show();
    EXPECT_EQ(label(*dialog, CReservationListDlg::kTurnOffApplyId), "No");
    EXPECT_EQ(label(*dialog, CReservationListDlg::kTurnOffOptionId), "Exit TV Program");
    whileOpen([&] {
        QWidget* turnOff = framework::findResourceWindow(CTurnOffDlg::kResourceId);
        ASSERT_NE(turnOff, nullptr);
        click(turnOff, CTurnOffDlg::kApplyId);
        click(turnOff, CTurnOffDlg::kPowerOffId);
        qobject_cast<QDateTimeEdit*>(framework::findControl(turnOff, CTurnOffDlg::kTimeId))->setTime(QTime(1, 15));
        click(turnOff, framework::IDOK);
    });
    click(dialog, CReservationListDlg::kChangeId);
    EXPECT_EQ(label(*dialog, CReservationListDlg::kTurnOffApplyId), "Yes");
    EXPECT_EQ(label(*dialog, CReservationListDlg::kTurnOffTimeId), "01:15");
    EXPECT_EQ(label(*dialog, CReservationListDlg::kTurnOffOptionId), "System Power Off");

    click(dialog, CReservationListDlg::kExitId);
    EXPECT_FALSE(dialog.isNull());  // the close is posted
    for (int i = 0; i < 5 && dialog; ++i) {
        QApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    EXPECT_TRUE(dialog.isNull());
}

}  // namespace
}  // namespace kelto
