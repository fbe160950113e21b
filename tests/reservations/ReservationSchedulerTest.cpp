// The scheduler in virtual time: timer 30 finds the entry one minute ahead, timer 31 fires it at
// second 55; day modes; date records switching themselves off; the turn-off.
#include "reservations/ReservationRequest.h"
#include "reservations/ReservationTiming.h"
#include "tests/reservations/ReservationTestSupport.h"

#include <gtest/gtest.h>

namespace kelto {
namespace {

using test::at;
using test::reservationAt;
using test::today;

class SchedulerTest : public test::EngineFixture {
protected:
    int pending() { return engine->scheduler().pending(); }
    int findDue(std::uint32_t when) { return engine->scheduler().findDue(when); }
};

TEST_F(SchedulerTest, TwentyOneHundredIsFoundAfter2059AndFiresAt205955) {
    viewer.opened = true;
    startAgent(today(20, 58, 3));  // timer 30 ticks at second 3, 13, 23, ...
    ASSERT_TRUE(table().addRecord(reservationAt(today(21, 0))));

    agent.runUntil(today(20, 59, 2));
    EXPECT_EQ(pending(), -1);
    agent.runUntil(today(20, 59, 4));
    EXPECT_EQ(pending(), 0);
    ASSERT_EQ(agent.timers.count(31), 1u);
    EXPECT_EQ(agent.timers[31].periodMs, 52000u);

    agent.runUntil(today(20, 59, 54));
    EXPECT_TRUE(ui.reservationQuestions.empty());
    agent.runUntil(today(21, 2));
    ASSERT_EQ(ui.questionTimes.size(), 1u);
    EXPECT_EQ(ui.questionTimes[0], today(20, 59, 55));
    EXPECT_EQ(viewer.calls, std::vector<std::string>{"tune 12"});
    EXPECT_EQ(pending(), -1);
    EXPECT_EQ(agent.timers.count(31), 0u);
    EXPECT_EQ(table().apply(0), 1u);  // a daily reservation stays active
}

TEST_F(SchedulerTest, MidnightIsNeverDue) {
    EXPECT_EQ(minutesAhead(today(0, 0), toLocalTime(today(23, 59))), -1439);
    viewer.opened = true;
    startAgent(today(23, 57, 1));
    ASSERT_TRUE(table().addRecord(reservationAt(today(0, 0))));
    agent.run(5 * 60 * 1000);
    EXPECT_TRUE(ui.questionTimes.empty());
    EXPECT_TRUE(viewer.calls.empty());
}

TEST_F(SchedulerTest, WeekdayModeMatchesItsWeekdayOnly) {
    startAgent(today(12, 0));
    ReservationRecord wednesday = reservationAt(today(21, 0));
    wednesday.dayMode = DayMode::Wednesday;
    ASSERT_TRUE(table().addRecord(wednesday));
    EXPECT_EQ(findDue(at(2024, 7, 16, 20, 59, 5)), -1);  // Tuesday
    EXPECT_EQ(findDue(at(2024, 7, 17, 20, 59, 5)), 0);   // Wednesday
    EXPECT_EQ(findDue(at(2024, 7, 18, 20, 59, 5)), -1);  // Thursday
    EXPECT_EQ(findDue(at(2024, 7, 24, 20, 59, 5)), 0);   // the next Wednesday
    EXPECT_EQ(findDue(at(2024, 7, 17, 20, 58, 5)), -1);  // two minutes ahead
    EXPECT_EQ(findDue(at(2024, 7, 17, 21, 0, 5)), -1);   // the start minute itself

    // An inactive record is never due; a day mode out of range never matches.
    table().setApply(0, 0);
    EXPECT_EQ(findDue(at(2024, 7, 17, 20, 59, 5)), -1);
    ReservationRecord odd = reservationAt(today(21, 0));
    odd.dayMode = static_cast<DayMode>(9);
    table().setRecord(0, odd);
    EXPECT_EQ(findDue(at(2024, 7, 17, 20, 59, 5)), -1);
}

TEST_F(SchedulerTest, AClosedViewerIsOpenedWithoutAQuestion) {
    startAgent(today(20, 58, 30));
    ReservationRecord cable = reservationAt(today(21, 0));
    cable.videoMode = 1;
    cable.channel = 40;
    ASSERT_TRUE(table().addRecord(cable));
    agent.runUntil(today(21, 1));
    EXPECT_EQ(viewer.openCount, 1);
    EXPECT_TRUE(ui.questionTimes.empty());
    EXPECT_EQ(viewer.calls, (std::vector<std::string>{"mode 1", "tune 40"}));
}

TEST_F(SchedulerTest, DateModeFiresOnItsDateOnceAndThenSwitchesOff) {
    viewer.opened = true;
    ui.answer = false;  // declining counts as handled too
    startAgent(today(20, 58, 30));
    ReservationRecord once = reservationAt(today(21, 0));
    once.dayMode = DayMode::Date;
    ASSERT_TRUE(table().addRecord(once));
    EXPECT_EQ(findDue(at(2024, 7, 18, 20, 59, 5)), -1);  // not on another date

    agent.runUntil(today(21, 1));
    EXPECT_EQ(ui.reservationQuestions.size(), 1u);
    EXPECT_TRUE(viewer.calls.empty());
    EXPECT_EQ(table().apply(0), 0u);
    EXPECT_GE(ui.listRefreshes, 1);
    EXPECT_EQ(findDue(at(2024, 7, 17, 20, 59, 5)), -1);
}

TEST_F(SchedulerTest, AnEntryIsNotFiredTwiceForTheSameMinute) {
    viewer.opened = true;
    ui.answer = false;
    startAgent(today(20, 58, 7));  // ticks at 20:59:07 (found) and 20:59:57 (after the question)
    ASSERT_TRUE(table().addRecord(reservationAt(today(21, 0))));
    agent.runUntil(today(21, 0, 30));
    EXPECT_EQ(ui.questionTimes, std::vector<std::int64_t>{today(20, 59, 55)});
    // The next day it fires again.
    agent.runUntil(at(2024, 7, 18, 21, 0, 30));
    EXPECT_EQ(ui.questionTimes.size(), 2u);
}

TEST_F(SchedulerTest, AnEntryFoundAfterSecond55FiresAtOnce) {
    viewer.opened = true;
    startAgent(today(20, 59, 47));  // the first tick is at 20:59:57
    ASSERT_TRUE(table().addRecord(reservationAt(today(21, 0))));
    agent.runUntil(today(20, 59, 58));
    EXPECT_EQ(ui.questionTimes, std::vector<std::int64_t>{today(20, 59, 57)});
    EXPECT_EQ(pending(), -1);
    EXPECT_EQ(ReservationScheduler::delayToFireMs(toLocalTime(today(20, 59, 0))), 55000u);
    EXPECT_EQ(ReservationScheduler::delayToFireMs(toLocalTime(today(20, 59, 59))), 0u);
}

TEST_F(SchedulerTest, ARecordDeletedOrSwitchedOffAfterItWasFoundDoesNotStart) {
    viewer.opened = true;
    startAgent(today(20, 58, 3));
    ASSERT_TRUE(table().addRecord(reservationAt(today(21, 0))));
    agent.runUntil(today(20, 59, 30));
    ASSERT_EQ(pending(), 0);
    table().setApply(0, 0);
    agent.runUntil(today(21, 0, 30));
    EXPECT_TRUE(ui.questionTimes.empty());
    EXPECT_EQ(pending(), -1);

    // The scheduler goes on: the next entry is found and fired.
    ASSERT_TRUE(table().addRecord(reservationAt(today(21, 5))));
    agent.runUntil(today(21, 5, 30));
    EXPECT_EQ(ui.questionTimes, std::vector<std::int64_t>{today(21, 4, 55)});
}

TEST_F(SchedulerTest, RecordsComeBeforeTheTurnOffAndTheFirstDueRecordWins) {
    startAgent(today(12, 0));
    table().setTurnOff({1, today(21, 0), TurnOffOption::ExitProgram});
    for (int minute : {3, 4, 5}) ASSERT_TRUE(table().addRecord(reservationAt(today(21, minute))));
    // Two records on the turn-off's minute, written without the time check as the modify dialog does.
    table().setRecord(1, reservationAt(today(21, 0)));
    table().setRecord(2, reservationAt(today(21, 0)));
    EXPECT_EQ(findDue(today(20, 59, 10)), 1);
    table().setApply(1, 0);
    EXPECT_EQ(findDue(today(20, 59, 10)), 2);
    table().setApply(2, 0);
    EXPECT_EQ(findDue(today(20, 59, 10)), 100);
}

class TurnOffTest : public test::EngineFixture {
protected:
    void turnOffAt2300(TurnOffOption option, std::uint32_t apply = 1) {
        startAgent(today(22, 58, 30));
        table().setTurnOff({apply, today(23, 0), option});
        agent.runUntil(today(23, 1));
    }
};

TEST_F(TurnOffTest, ExitOptionClosesTheOpenViewer) {
    viewer.opened = true;
    turnOffAt2300(TurnOffOption::ExitProgram);
    EXPECT_EQ(ui.turnOffQuestions.size(), 1u);
    EXPECT_EQ(ui.questionTimes[0], today(22, 59, 55));
    EXPECT_EQ(viewer.closeRequests, 1);
    EXPECT_EQ(platform::recordingPowerControl().requestCount(), 0u);
    EXPECT_EQ(agent.exitCount, 0);
}

TEST_F(TurnOffTest, PowerOffOptionSwitchesOffExactlyOnceAfterTheExit) {
    viewer.opened = true;
    turnOffAt2300(TurnOffOption::PowerOff);
    EXPECT_EQ(agent.powerOffMessages, std::vector<std::uint32_t>{1});
    EXPECT_EQ(agent.exitCount, 1);
    EXPECT_TRUE(engine->endingWithoutQuestion());
    EXPECT_EQ(platform::recordingPowerControl().requests(),
              std::vector<platform::ShutdownKind>{platform::ShutdownKind::ShutDown});
    // The exit saved the table.
    ReservationTable saved;
    EXPECT_EQ(ReserveFile::load(ReserveFile::defaultPath(), saved, 0), ReserveFile::LoadResult::Loaded);
    EXPECT_EQ(saved.turnOff(), table().turnOff());
}

TEST_F(TurnOffTest, WithoutAViewerTheTurnOffIsStillAsked) {
    turnOffAt2300(TurnOffOption::PowerOff);
    EXPECT_EQ(ui.turnOffQuestions.size(), 1u);
    EXPECT_EQ(platform::recordingPowerControl().requestCount(), 1u);
    EXPECT_EQ(viewer.openCount, 0);
}

TEST_F(TurnOffTest, WithoutAViewerTheExitOptionHasNothingToClose) {
    turnOffAt2300(TurnOffOption::ExitProgram);
    EXPECT_EQ(ui.turnOffQuestions.size(), 1u);
    EXPECT_EQ(viewer.closeRequests, 0);
    EXPECT_EQ(viewer.openCount, 0);
}

TEST_F(TurnOffTest, CancelledPowerOffDoesNothing) {
    viewer.opened = true;
    ui.answer = false;
    turnOffAt2300(TurnOffOption::PowerOff);
    EXPECT_EQ(ui.turnOffQuestions.size(), 1u);
    EXPECT_TRUE(agent.powerOffMessages.empty());
    EXPECT_EQ(platform::recordingPowerControl().requestCount(), 0u);
    EXPECT_TRUE(viewer.opened);
}

TEST_F(TurnOffTest, InactiveTurnOffIsNeverAskedAndItsMinuteStaysTaken) {
    viewer.opened = true;
    turnOffAt2300(TurnOffOption::PowerOff, 0);
    EXPECT_TRUE(ui.turnOffQuestions.empty());
    EXPECT_FALSE(table().addRecord(reservationAt(at(2024, 8, 1, 23, 0))));
}

// While a recording runs, its event loop still delivers the agent's timers: the scheduler must
// neither switch the channel in the middle of the file nor start a second recording. The
// recordings here start as a request from another program for a programme on air.
class SchedulerDuringRecordingTest : public SchedulerTest {
protected:
    void SetUp() override {
        SchedulerTest::SetUp();
        viewer.opened = true;
        viewer.whileRecording = [this](std::uint64_t lengthMs) { agent.run(lengthMs); };
    }
    // The agent runs from 19:50 (its turn-off time holds that minute) to 20:00:10.
    void startAtEight() {
        startAgent(today(19, 50));
        agent.runUntil(today(20, 0, 10));
    }
    void requestOnAir(std::uint32_t start, std::uint32_t end) {
        ReservationRequest request;
        request.channel = 7;
        request.startTime = start;
        request.endTime = end;
        request.title = "on air";
        ASSERT_TRUE(engine->handleReservationRequest(request.encode()));
    }
    ReservationRecord recordingAt(std::uint32_t start, std::uint32_t end) {
        ReservationRecord record = reservationAt(start, end);
        record.recording = 1;
        return record;
    }
    ReservationRecord switchAt(std::uint32_t start, int channel) {
        ReservationRecord record = reservationAt(start);
        record.channel = std::uint32_t(channel);
        return record;
    }
};

TEST_F(SchedulerDuringRecordingTest, AnEntryDueDuringARecordingDoesNotInterruptIt) {
    startAtEight();
    ASSERT_TRUE(table().addRecord(switchAt(today(20, 5), 9)));
    ASSERT_TRUE(table().addRecord(recordingAt(today(20, 7), today(20, 30))));
    requestOnAir(today(20, 0), today(20, 10));
    agent.runUntil(today(20, 20));
    // One recording, on its own channel to its end; the entries that fell due meanwhile had
    // passed when it ended, so nothing else was started or asked.
    EXPECT_EQ(viewer.recordingSeconds, std::vector<int>{600});
    EXPECT_EQ(viewer.calls, std::vector<std::string>{"tune 7"});
    EXPECT_TRUE(ui.reservationQuestions.empty());
    EXPECT_EQ(pending(), -1);
}

TEST_F(SchedulerDuringRecordingTest, AnEntryKeptWaitingStartsWhenTheRecordingEndsInItsMinute) {
    startAtEight();
    ASSERT_TRUE(table().addRecord(switchAt(today(20, 5), 9)));
    requestOnAir(today(20, 0), today(20, 5));  // records until 20:05:10
    agent.runUntil(today(20, 7));
    EXPECT_EQ(viewer.recordingSeconds, std::vector<int>{300});
    EXPECT_EQ(viewer.calls, (std::vector<std::string>{"tune 7", "tune 9"}));
    EXPECT_EQ(ui.questionTimes, std::vector<std::int64_t>{today(20, 5, 10)});
}

TEST_F(SchedulerDuringRecordingTest, AnEntryDueRightAfterTheRecordingIsFoundWhenItEnds) {
    startAtEight();
    ASSERT_TRUE(table().addRecord(switchAt(today(20, 6), 9)));
    // The user ends the recording at 20:04:58; the next timer-30 look would come too late.
    viewer.whileRecording = [this](std::uint64_t) { agent.runUntil(today(20, 4, 58)); };
    requestOnAir(today(20, 0), today(20, 30));
    agent.runUntil(today(20, 7));
    EXPECT_EQ(viewer.calls, (std::vector<std::string>{"tune 7", "tune 9"}));
    EXPECT_EQ(ui.questionTimes, std::vector<std::int64_t>{today(20, 5, 55)});
}

TEST_F(SchedulerDuringRecordingTest, TheTurnOffWaitsForTheRecording) {
    startAtEight();
    table().setTurnOff({1, today(20, 5), TurnOffOption::ExitProgram});
    viewer.whileRecording = [this](std::uint64_t) { agent.runUntil(today(20, 4, 58)); };
    requestOnAir(today(20, 0), today(20, 30));
    agent.runUntil(today(20, 6));
    EXPECT_EQ(viewer.recordings.size(), 1u);
    EXPECT_EQ(ui.questionTimes, std::vector<std::int64_t>{today(20, 4, 58)});
    EXPECT_EQ(viewer.closeRequests, 1);
}

TEST_F(SchedulerDuringRecordingTest, ARequestOnAirDuringARecordingStartsAfterIt) {
    startAtEight();
    int recordingNumber = 0;
    viewer.whileRecording = [&](std::uint64_t lengthMs) {
        if (++recordingNumber > 1) return clock.advanceMs(lengthMs);
        agent.runUntil(today(20, 1));
        requestOnAir(today(20, 1), today(20, 3));  // another programme, on air now
        agent.runUntil(today(20, 2));              // the first recording is ended by the user
    };
    requestOnAir(today(20, 0), today(20, 30));
    agent.runUntil(today(20, 2, 30));
    // The second starts when the first has ended, not inside it.
    EXPECT_EQ(viewer.recordings.size(), 2u);
    EXPECT_EQ(viewer.calls, (std::vector<std::string>{"tune 7"}));  // both on channel 7
    EXPECT_EQ(std::count_if(viewer.calls.begin(), viewer.calls.end(),
                            [](const std::string& c) { return c.starts_with("while recording"); }), 0);
}

}  // namespace
}  // namespace kelto
