// What the reservation dialogs decide without widgets: the confirmation's description and
// countdown, and the turn-off dialog's refusal rule.
#include "reservations/ReservationConfirmation.h"
#include "reservations/ReservationForm.h"
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

TEST_F(ReservationDialogLogicTest, TheChannelListIsTheBandOfTheMode) {
    const ChannelBounds bounds{2, 69, 1, 125};
    const std::vector<int> tv = bandChannels(bounds, 0);
    ASSERT_EQ(tv.size(), 68u);
    EXPECT_EQ(tv.front(), 2);
    EXPECT_EQ(tv.back(), 69);
    EXPECT_EQ(bandChannels(bounds, 1).size(), 125u);
    EXPECT_TRUE(bandChannels(ChannelBounds{10, 5, 1, 1}, 0).empty());
    EXPECT_EQ(channelEntry(bounds, 0, 12), 10);
    EXPECT_EQ(channelEntry(bounds, 1, 12), 11);
    EXPECT_EQ(channelEntry(bounds, 0, 1), 0);    // outside the band: the first entry
    EXPECT_EQ(channelEntry(bounds, 0, 0xFFFFFFFFu), 0);
}

TEST_F(ReservationDialogLogicTest, TheRecordIsBuiltFromTheChosenEntries) {
    const ChannelBounds bounds{2, 69, 1, 125};
    ReservationFormValues values;
    values.videoMode = 1;
    values.channelEntry = 26;
    values.comment = "Film";
    values.recording = true;
    values.optionEntry = 2;
    values.dayModeEntry = 3;
    values.date = test::at(2024, 8, 1, 12, 0);
    values.start = today(21, 0, 30);
    values.end = today(22, 40);
    const ReservationRecord record = buildReservation(values, bounds, 1);
    EXPECT_EQ(record.apply, 1u);
    EXPECT_EQ(record.videoMode, 1u);
    EXPECT_EQ(record.channel, 27u);  // entry + lowest cable channel
    EXPECT_EQ(record.startTime, today(21, 0, 30));  // not a date reservation: the start picker as it is
    EXPECT_EQ(record.endTime, today(22, 40));
    EXPECT_EQ(record.dayMode, DayMode::Wednesday);
    EXPECT_EQ(record.comment, "Film");
    EXPECT_EQ(record.recording, 1u);
    EXPECT_EQ(record.option, AfterRecording::PowerOff);
    EXPECT_TRUE(record.recordedFile.empty());

    values.dayModeEntry = int(DayMode::Date);
    EXPECT_EQ(buildReservation(values, bounds, 0).startTime, test::at(2024, 8, 1, 21, 0, 30));
    EXPECT_EQ(buildReservation(values, bounds, 0).apply, 0u);
}

TEST_F(ReservationDialogLogicTest, ADateReservationTakesTheDateInLocalTime) {
    test::setTimeZone("JST-9");
    ReservationFormValues values;
    values.dayModeEntry = int(DayMode::Date);
    values.date = test::at(2024, 12, 31, 0, 30);  // 2024-12-30 in UTC
    values.start = test::at(2024, 7, 17, 23, 45);
    EXPECT_EQ(buildReservation(values, ChannelBounds{2, 69, 1, 125}, 1).startTime, test::at(2024, 12, 31, 23, 45));
}

}  // namespace
}  // namespace kelto
