// The 30-slot table: the add limit, the time-free rule, deletion and the apply flag.
#include "reservations/ReservationTable.h"
#include "tests/reservations/ReservationTestSupport.h"

#include <gtest/gtest.h>

namespace kelto {
namespace {

using test::reservationAt;
using test::today;

class ReservationTableTest : public ::testing::Test {
protected:
    void SetUp() override { test::setTimeZone("UTC"); }
};

TEST_F(ReservationTableTest, AddStopsAtThirtyRecords) {
    ReservationTable table(today(3, 0));
    for (int i = 0; i < 30; ++i) ASSERT_TRUE(table.addRecord(reservationAt(today(12, i)))) << i;
    EXPECT_TRUE(table.full());
    EXPECT_FALSE(table.addRecord(reservationAt(today(18, 0))));
    EXPECT_EQ(table.count(), 30);
    EXPECT_EQ(table.record(29).startTime, today(12, 29));
}

TEST_F(ReservationTableTest, StartMinuteTakenByAnyRecordOrTheTurnOffIsNotFree) {
    ReservationTable table(today(23, 0));  // the inactive turn-off sits at 23:00
    ReservationRecord inactive = reservationAt(today(21, 0));
    inactive.apply = 0;
    inactive.dayMode = DayMode::Monday;
    ASSERT_TRUE(table.addRecord(inactive));

    // Same hour and minute on another day, other seconds: still taken.
    EXPECT_FALSE(table.timeFree(test::at(2025, 1, 2, 21, 0, 42)));
    EXPECT_FALSE(table.addRecord(reservationAt(test::at(2024, 12, 24, 21, 0))));
    EXPECT_FALSE(table.addRecord(reservationAt(today(23, 0, 30))));
    EXPECT_TRUE(table.addRecord(reservationAt(today(21, 1))));
    EXPECT_EQ(table.count(), 2);
}

TEST_F(ReservationTableTest, TimeFreeComparesLocalMinutes) {
    test::setTimeZone("JST-9");
    ReservationTable table(0);
    ASSERT_TRUE(table.addRecord(reservationAt(test::at(2024, 7, 17, 21, 0))));
    const std::uint32_t tokyoNine = table.record(0).startTime;
    EXPECT_EQ(tokyoNine % 86400, 12u * 3600);  // 21:00 in Tokyo is 12:00 UTC
    EXPECT_FALSE(table.timeFree(tokyoNine + 86400 * 3));
    EXPECT_TRUE(table.timeFree(tokyoNine + 9 * 3600));  // 21:00 UTC is 06:00 in Tokyo
}

TEST_F(ReservationTableTest, DeleteMovesLaterRecordsDownAndBlanksTheLastSlot) {
    ReservationTable table;
    for (int i = 0; i < 3; ++i) table.addRecord(reservationAt(today(20, i)));
    EXPECT_FALSE(table.deleteRecord(3));
    EXPECT_FALSE(table.deleteRecord(-1));
    ASSERT_TRUE(table.deleteRecord(0));
    EXPECT_EQ(table.count(), 2);
    EXPECT_EQ(table.record(0).startTime, today(20, 1));
    EXPECT_EQ(table.record(1).startTime, today(20, 2));
    EXPECT_EQ(table.record(2), ReservationRecord::blank());
    EXPECT_EQ(ReservationRecord::blank().dayMode, DayMode::Daily);
    // The freed minute can be taken again.
    EXPECT_TRUE(table.addRecord(reservationAt(today(20, 0))));
}

TEST_F(ReservationTableTest, ApplyIsSetOnlyInsideTheTableAndReadsAreSafeOutsideTheSlots) {
    ReservationTable table;
    table.addRecord(reservationAt(today(7, 0)));
    EXPECT_TRUE(table.setApply(0, 0));
    EXPECT_EQ(table.apply(0), 0u);
    EXPECT_FALSE(table.setApply(1, 1));
    EXPECT_EQ(table.apply(1), 0u);
    EXPECT_EQ(table.record(30), ReservationRecord::blank());
    EXPECT_EQ(table.record(-5), ReservationRecord::blank());
    EXPECT_FALSE(table.setRecord(30, reservationAt(today(8, 0))));
    // Overwriting takes no time check.
    EXPECT_TRUE(table.setRecord(0, reservationAt(table.turnOff().time)));
}

}  // namespace
}  // namespace kelto
