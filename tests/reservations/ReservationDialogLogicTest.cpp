// What the reservation dialogs decide without widgets: the confirmation's description and
// countdown, and the turn-off dialog's refusal rule.
#include "reservations/ReservationConfirmation.h"
#include "reservations/ReservationTable.h"
#include "reservations/TurnOffEdit.h"
#include "tests/reservations/ReservationTestSupport.h"

#include <gtest/gtest.h>

namespace kelto {
namespace {

using test::today;

// The string table's English texts the descriptions use.
std::string english(int id) {
    switch (id) {
        case 32855: return "Video Mode";
        case 32856: return "Channel";
        case 32857: return "Start Time";
        case 32858: return "End Time";
        case 32860: return "Recording";
        case 32861: return "Comment";
        case 32870: return "Yes";
        case 32871: return "No";
        case 32873: return "Option After Recording";
        case 32874: return "Exit TV Program";
        case 32875: return "System Power Off";
    }
    return "?" + std::to_string(id);
}

class ReservationDialogLogicTest : public ::testing::Test {
protected:
    void SetUp() override { test::setTimeZone("UTC"); }
};

TEST_F(ReservationDialogLogicTest, ARecordingIsDescribedLineByLine) {
    ReservationRecord record;
    record.videoMode = 1;
    record.channel = 27;
    record.startTime = today(21, 5, 40);
    record.endTime = today(22, 45);
    record.recording = 1;
    record.option = AfterRecording::PowerOff;
    record.comment = "News";
    EXPECT_EQ(describeReservation(record, english),
              "Video Mode: CATV\n\rChannel: 27\n\rStart Time: 21:05\n\rEnd Time: 22:45\n\rRecording: Yes\n\r"
              "Option After Recording: System Power Off\n\rComment: News");
}

TEST_F(ReservationDialogLogicTest, AChannelSwitchLeavesEndAndOptionEmpty) {
    ReservationRecord record;
    record.channel = 6;
    record.startTime = today(7, 0);
    record.endTime = today(8, 30);            // held, but not shown
    record.option = AfterRecording::ExitProgram;  // held, but not shown
    EXPECT_EQ(describeReservation(record, english),
              "Video Mode: TV\n\rChannel: 6\n\rStart Time: 07:00\n\rEnd Time: \n\rRecording: No\n\r"
              "Option After Recording: \n\rComment: ");
}

TEST_F(ReservationDialogLogicTest, ATurnOffShowsItsTimeAndWhatItDoes) {
    TurnOffSetting setting{1, today(23, 30), TurnOffOption::ExitProgram};
    EXPECT_EQ(describeTurnOff(setting, english), "Start Time: 23:30\n\rExit TV Program");
    setting.option = TurnOffOption::PowerOff;
    EXPECT_EQ(describeTurnOff(setting, english), "Start Time: 23:30\n\rSystem Power Off");
}

TEST_F(ReservationDialogLogicTest, TheCountdownShowsFiveToZeroThenAccepts) {
    ConfirmationCountdown countdown;
    for (int expected = 5; expected >= 0; --expected) EXPECT_EQ(countdown.tick(), expected);
    EXPECT_EQ(countdown.tick(), std::nullopt);  // the seventh second applies
}

TEST_F(ReservationDialogLogicTest, TurnOffOkWithoutChangesWhileActiveIsRefused) {
    ReservationTable table;
    table.setTurnOff(TurnOffSetting{1, today(23, 30, 12), TurnOffOption::ExitProgram});
    const TurnOffSetting unchanged = editedTurnOff(table.turnOff(), true, 23, 30, TurnOffOption::ExitProgram);
    EXPECT_EQ(unchanged, table.turnOff());
    EXPECT_TRUE(turnOffRefused(table, unchanged));
}

TEST_F(ReservationDialogLogicTest, ChangingOnlyTheOptionStoresTheSameTime) {
    ReservationTable table;
    const TurnOffSetting stored{1, today(23, 30, 12), TurnOffOption::ExitProgram};
    table.setTurnOff(stored);
    const TurnOffSetting edited = editedTurnOff(stored, true, 23, 30, TurnOffOption::PowerOff);
    EXPECT_FALSE(turnOffRefused(table, edited));
    EXPECT_EQ(edited.time, stored.time);  // seconds and date too
    EXPECT_EQ(edited.option, TurnOffOption::PowerOff);
}

TEST_F(ReservationDialogLogicTest, TurnOffRuleOnlyRefusesAnActiveStoredTurnOffWithTheSameOption) {
    ReservationTable table;
    table.setTurnOff(TurnOffSetting{0, today(23, 30), TurnOffOption::ExitProgram});
    ReservationRecord record = test::reservationAt(today(22, 0));
    ASSERT_TRUE(table.addRecord(record));

    // The stored turn-off is inactive: a time taken by a reservation is still accepted.
    EXPECT_FALSE(turnOffRefused(table, editedTurnOff(table.turnOff(), true, 22, 0, TurnOffOption::ExitProgram)));
    // Switching it off is never refused.
    table.setTurnOff(TurnOffSetting{1, today(23, 30), TurnOffOption::ExitProgram});
    EXPECT_FALSE(turnOffRefused(table, editedTurnOff(table.turnOff(), false, 23, 30, TurnOffOption::ExitProgram)));
    // Active, same option, moved onto a reservation's minute: refused; onto a free minute: stored.
    EXPECT_TRUE(turnOffRefused(table, editedTurnOff(table.turnOff(), true, 22, 0, TurnOffOption::ExitProgram)));
    const TurnOffSetting moved = editedTurnOff(table.turnOff(), true, 22, 1, TurnOffOption::ExitProgram);
    EXPECT_FALSE(turnOffRefused(table, moved));
    EXPECT_EQ(moved.time, today(22, 1));
}

}  // namespace
}  // namespace kelto
