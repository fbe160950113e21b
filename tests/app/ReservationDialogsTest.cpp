// The reservation dialogs on screen (off-screen platform, virtual time): the "Programming Info"
// confirmation with its countdown, and the turn-off dialog with its refusal rule.
#include "app/AgentReservationLinks.h"
#include "app/CProgramInfoDlg.h"
#include "app/CTurnOffDlg.h"
#include "framework/ControlIds.h"
#include "framework/MessageBoxes.h"
#include "framework/VirtualTimerScheduler.h"
#include "platform/Clock.h"
#include "reservations/ReservationTable.h"
#include "resources/StringTable.h"
#include "tests/reservations/ReservationTestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateTimeEdit>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
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

}  // namespace
}  // namespace kelto
