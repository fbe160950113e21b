// Reservation requests from other programs (the copy-data block) and the power-off message.
#include "reservations/ReservationRequest.h"
#include "tests/reservations/ReservationTestSupport.h"

#include "platform/SystemInfo.h"
#include "platform/Trace.h"
#include "tests/support/TestRoot.h"

#include <gtest/gtest.h>

namespace kelto {
namespace {

using test::at;
using test::today;

ReservationRequest request(std::int16_t channel, std::uint32_t start, std::uint32_t end,
                           AfterRecording option = AfterRecording::None, std::string title = "Film") {
    ReservationRequest r;
    r.channel = channel;
    r.startTime = start;
    r.endTime = end;
    r.title = std::move(title);
    r.option = option;
    return r;
}

TEST(ReservationRequestBlock, DecodesTheFixedLayout) {
    std::string block(144, '\0');
    block[0] = char(0xF6);  // channel -10
    block[1] = char(0xFF);
    block[2] = 'x';  // reserved bytes are ignored
    block[3] = 'y';
    block.replace(4, 4, std::string("\x10\x20\x30\x40", 4));
    block.replace(8, 4, std::string("\x11\x21\x31\x41", 4));
    block.replace(12, 5, "Title");
    block[140] = 2;
    block += "trailing bytes are ignored";

    const auto decoded = ReservationRequest::decode(block);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->channel, -10);
    EXPECT_EQ(decoded->startTime, 0x40302010u);
    EXPECT_EQ(decoded->endTime, 0x41312111u);
    EXPECT_EQ(decoded->title, "Title");
    EXPECT_EQ(decoded->option, AfterRecording::PowerOff);

    const ReservationRecord record = decoded->toRecord();
    EXPECT_EQ(record.apply, 1u);
    EXPECT_EQ(record.videoMode, 0u);
    EXPECT_EQ(record.channel, 0xFFFFFFF6u);
    EXPECT_EQ(record.dayMode, DayMode::Date);
    EXPECT_EQ(record.comment, "Title");
    EXPECT_EQ(record.recording, 1u);
    EXPECT_EQ(record.recordedFile, "");

    EXPECT_EQ(ReservationRequest::decode(decoded->encode().substr(0, 144))->title, "Title");
}

TEST(ReservationRequestBlock, RefusesShortBlocksAndUnknownOptionsAndCleansTheTitle) {
    std::string why;
    EXPECT_FALSE(ReservationRequest::decode(std::string(143, '\0'), &why));
    EXPECT_NE(why.find("143"), std::string::npos);

    std::string block = request(5, 1, 2).encode();
    block[140] = 3;
    EXPECT_FALSE(ReservationRequest::decode(block, &why));

    // A title without its terminator is taken to the end of its 128 bytes; bytes that are not
    // UTF-8 become U+FFFD.
    block = request(5, 1, 2).encode();
    block.replace(12, 128, std::string(128, 'T'));
    EXPECT_EQ(ReservationRequest::decode(block)->title, std::string(128, 'T'));
    block.replace(12, 3, std::string("\xE9t\0", 3));
    EXPECT_EQ(ReservationRequest::decode(block)->title, "\xEF\xBF\xBDt");

    // Encoding cuts a long title without splitting a character.
    const std::string longTitle = std::string(126, 'a') + "\xC3\xBC";
    EXPECT_EQ(ReservationRequest::decode(request(1, 1, 1, AfterRecording::None, longTitle).encode())->title,
              std::string(126, 'a'));
}

class RequestTest : public test::EngineFixture {
protected:
    void TearDown() override {
        platform::setOsVersionAnswer(std::nullopt);
        EngineFixture::TearDown();
    }
    // Sends the request as another program does: the answer comes before any box or recording;
    // then the event loop runs what the request left for it.
    bool send(const ReservationRequest& r) {
        const auto recordingsBefore = viewer.recordings.size();
        const int boxesBefore = ui.alreadyReserved;
        const bool answer = engine->handleReservationRequest(r.encode());
        EXPECT_EQ(viewer.recordings.size(), recordingsBefore) << "the sender waited for the recording";
        EXPECT_EQ(ui.alreadyReserved, boxesBefore) << "the sender waited for the box";
        agent.runLaterActions();
        return answer;
    }
};

TEST_F(RequestTest, AProgrammeOnAirIsRecordedAtOnceWithoutAQuestion) {
    viewer.opened = true;
    startAgent(today(20, 30, 10));
    EXPECT_TRUE(send(request(7, today(20, 0), today(21, 0))));
    EXPECT_EQ(ui.listOpens, 1);
    EXPECT_TRUE(ui.reservationQuestions.empty());
    EXPECT_EQ(viewer.calls, std::vector<std::string>{"tune 7"});
    EXPECT_EQ(viewer.recordingSeconds, std::vector<int>{3600});
    ASSERT_EQ(table().count(), 1);
    EXPECT_EQ(table().record(0).recordedFile, "/capture/AVI1.AVI");
}

TEST_F(RequestTest, AProgrammeAcrossMidnightIsOnAirOnBothSides) {
    startAgent(at(2024, 7, 18, 0, 10));
    EXPECT_TRUE(send(request(7, today(23, 30), today(0, 30))));
    EXPECT_EQ(viewer.recordingSeconds, std::vector<int>{3600});

    viewer.recordings.clear();
    viewer.recordingSeconds.clear();
    clock.setNow(std::chrono::system_clock::from_time_t(at(2024, 7, 18, 23, 45)));
    EXPECT_TRUE(send(request(8, at(2024, 7, 18, 23, 40), at(2024, 7, 18, 0, 30))));
    EXPECT_EQ(viewer.recordingSeconds, std::vector<int>{3000});
}

TEST_F(RequestTest, ProgrammesNotOnAirWaitForTheScheduler) {
    viewer.opened = true;
    startAgent(today(20, 30, 10));
    // Later today, tomorrow at the same hour, and earlier today: none starts now.
    EXPECT_TRUE(send(request(7, today(21, 0), today(22, 0))));
    EXPECT_TRUE(send(request(8, at(2024, 7, 18, 20, 1), at(2024, 7, 18, 21, 0))));
    EXPECT_TRUE(send(request(9, today(19, 0), today(20, 30))));
    EXPECT_TRUE(viewer.recordings.empty());
    EXPECT_EQ(ui.listOpens, 3);

    // The first fires through the scheduler with its question, then switches itself off.
    agent.runUntil(today(21, 0, 5));
    EXPECT_EQ(ui.questionTimes, std::vector<std::int64_t>{today(20, 59, 55)});
    EXPECT_EQ(viewer.recordingSeconds, std::vector<int>{3600});
    EXPECT_EQ(table().apply(0), 0u);
}

TEST_F(RequestTest, TheStartMinuteItselfCountsAsOnAir) {
    startAgent(today(19, 0));  // (the initial turn-off takes the start minute of the agent)
    clock.setNow(std::chrono::system_clock::from_time_t(today(20, 0, 30)));
    EXPECT_TRUE(send(request(7, today(20, 0), today(20, 45))));
    EXPECT_EQ(viewer.recordingSeconds, std::vector<int>{2700});
}

TEST_F(RequestTest, ATakenMinuteIsRefusedWithTheMessage) {
    startAgent(today(12, 0));
    EXPECT_TRUE(send(request(7, today(21, 0), today(22, 0))));
    EXPECT_FALSE(send(request(9, at(2024, 9, 1, 21, 0), at(2024, 9, 1, 22, 0))));
    EXPECT_EQ(ui.alreadyReserved, 1);
    EXPECT_EQ(ui.listOpens, 1);
    EXPECT_EQ(table().count(), 1);

    EXPECT_FALSE(engine->handleReservationRequest("too short"));
    EXPECT_EQ(ui.alreadyReserved, 1);
    EXPECT_NE(test::readFile(platform::traceLogPath()).find("reservation request refused"), std::string::npos);
}

TEST_F(RequestTest, PowerOffAfterARecordingReachesTheBackendExactlyOnce) {
    viewer.opened = true;
    startAgent(today(20, 30, 10));
    EXPECT_TRUE(send(request(7, today(20, 0), today(21, 0), AfterRecording::PowerOff)));
    EXPECT_EQ(platform::recordingPowerControl().requestCount(), 0u);  // posted, not yet handled
    agent.run(1000);
    EXPECT_EQ(agent.exitCount, 1);
    EXPECT_EQ(platform::recordingPowerControl().requests(),
              std::vector<platform::ShutdownKind>{platform::ShutdownKind::ShutDown});
    // The exit saved the table with the recorded file.
    ReservationTable saved;
    ASSERT_EQ(ReserveFile::load(ReserveFile::defaultPath(), saved, 0), ReserveFile::LoadResult::Loaded);
    EXPECT_EQ(saved.record(0).recordedFile, "/capture/AVI1.AVI");
    agent.run(120000);
    EXPECT_EQ(platform::recordingPowerControl().requestCount(), 1u);
}

TEST_F(RequestTest, TheNtFamilyAsksForPowerOffAfterThePrivilege) {
    startAgent(today(12, 0));
    platform::setOsVersionAnswer(platform::OsVersionAnswer::NtFamily);
    engine->handlePowerOffMessage(1);
    EXPECT_EQ(platform::recordingPowerControl().requests(),
              std::vector<platform::ShutdownKind>{platform::ShutdownKind::PowerOff});

    platform::recordingPowerControl().clear();
    platform::recordingPowerControl().setPrivilegeAnswer(false);
    engine->handlePowerOffMessage(1);
    EXPECT_EQ(platform::recordingPowerControl().requestCount(), 0u);
    EXPECT_EQ(agent.exitCount, 2);  // the agent has exited all the same
}

TEST_F(RequestTest, PowerOffMessageZeroOnlyClosesTheViewer) {
    startAgent(today(12, 0));
    engine->handlePowerOffMessage(0);
    EXPECT_EQ(viewer.closeRequests, 0);
    viewer.opened = true;
    engine->handlePowerOffMessage(0);
    EXPECT_EQ(viewer.closeRequests, 1);
    EXPECT_EQ(agent.exitCount, 0);
    EXPECT_FALSE(engine->endingWithoutQuestion());
    EXPECT_EQ(platform::recordingPowerControl().requestCount(), 0u);
}

TEST(PowerBackend, TheDefaultOnlyRecords) {
    EXPECT_EQ(&platform::powerControl(), &platform::recordingPowerControl());
}

TEST_F(RequestTest, TheAgentLoadsAndKeepsItsFileAcrossStarts) {
    startAgent(today(12, 0));
    ASSERT_TRUE(send(request(7, today(21, 0), today(22, 0))));
    table().setTurnOff({1, today(23, 30), TurnOffOption::PowerOff});
    ASSERT_TRUE(engine->save());

    test::FakeViewer otherViewer;
    test::FakeUi otherUi;
    test::FakeAgent otherAgent(clock);
    ReservationEngine restarted(otherViewer, otherUi, otherAgent);
    restarted.start();
    EXPECT_EQ(restarted.table(), table());
    EXPECT_EQ(otherAgent.timers.count(30), 1u);
    EXPECT_EQ(otherAgent.timers[30].periodMs, 10000u);
}

}  // namespace
}  // namespace kelto
