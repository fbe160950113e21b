// The start of a reservation: confirmation, switching (band channels in every country), the
// recording's length and set-up, the recorded file and the option after recording.
#include "reservations/ReservationForm.h"
#include "reservations/ReservationStarter.h"
#include "reservations/ReservationTiming.h"
#include "tests/reservations/ReservationTestSupport.h"

#include <gtest/gtest.h>

namespace kelto {
namespace {

using test::reservationAt;
using test::today;

TEST(RecordingDuration, FollowsHoursAndMinutesWithTheMidnightRule) {
    test::setTimeZone("UTC");
    EXPECT_EQ(recordingDurationSeconds(today(23, 30), today(0, 30)), 3600);
    EXPECT_EQ(recordingDurationSeconds(today(20, 0), today(20, 0)), 60);
    EXPECT_EQ(recordingDurationSeconds(today(20, 0, 59), test::at(2020, 1, 1, 20, 0)), 60);
    EXPECT_EQ(recordingDurationSeconds(today(20, 0), today(21, 15, 40)), 4500);
    EXPECT_EQ(recordingDurationSeconds(today(0, 1), today(0, 0)), 86340);
}

class StarterTest : public test::EngineFixture {
protected:
    void SetUp() override {
        EngineFixture::SetUp();
        clock.setNow(std::chrono::system_clock::from_time_t(today(20, 59, 55)));
        platform::setClock(&clock);
        viewer.clock = &clock;
        agent.engine = nullptr;
    }
    ReservationRecord recording(std::uint32_t start, std::uint32_t end, AfterRecording option = AfterRecording::None) {
        ReservationRecord record = reservationAt(start, end);
        record.recording = 1;
        record.option = option;
        return record;
    }
    ReservationStarter::Outcome startFirst(const ReservationRecord& record, bool confirm = true) {
        table = ReservationTable(0);
        table.addRecord(record);
        return starter.start(0, confirm);
    }

    ReservationTable table;
    ReservationStarter starter{table, viewer, ui, agent};
};

TEST_F(StarterTest, RecordingRunsForTheReservationAndRestoresAnOpenLimit) {
    viewer.setup = {25, 0, 90, 1};
    ReservationRecord record = recording(today(21, 0), today(22, 30));
    record.videoMode = 1;
    record.channel = 33;
    EXPECT_EQ(startFirst(record), ReservationStarter::Outcome::Recorded);

    EXPECT_EQ(viewer.openCount, 1);                   // opened, without a question
    EXPECT_TRUE(ui.reservationQuestions.empty());
    EXPECT_EQ(viewer.calls, (std::vector<std::string>{"mode 1", "tune 33"}));
    EXPECT_EQ(viewer.recordingSeconds, std::vector<int>{5400});
    EXPECT_EQ(viewer.setupWrites, (std::vector<RecordingSetup>{{25, 1, 5400, 1}, {25, 0, 5400, 1}}));
    EXPECT_EQ(table.record(0).recordedFile, "/capture/AVI1.AVI");
    EXPECT_EQ(ui.listRefreshes, 1);
    EXPECT_EQ(nowSeconds(), today(22, 29, 55));  // the recording blocked for its length
    EXPECT_EQ(viewer.closeRequests, 0);
}

TEST_F(StarterTest, ALimitThatWasOnIsLeftAtTheReservationsLength) {
    viewer.setup = {15, 1, 30, 0};
    EXPECT_EQ(startFirst(recording(today(20, 0), today(20, 0))), ReservationStarter::Outcome::Recorded);
    EXPECT_EQ(viewer.setupWrites, (std::vector<RecordingSetup>{{15, 1, 60, 0}}));
}

TEST_F(StarterTest, AnOpenViewerAsksFirstAndADeclineDoesNothing) {
    viewer.opened = true;
    ui.answer = false;
    EXPECT_EQ(startFirst(recording(today(21, 0), today(22, 0))), ReservationStarter::Outcome::Declined);
    EXPECT_EQ(ui.reservationQuestions.size(), 1u);
    EXPECT_TRUE(viewer.calls.empty());
    EXPECT_TRUE(viewer.recordings.empty());
    EXPECT_TRUE(viewer.setupWrites.empty());

    // Without a wanted confirmation (a request from another program) nothing is asked.
    EXPECT_EQ(startFirst(recording(today(21, 0), today(22, 0)), false), ReservationStarter::Outcome::Recorded);
    EXPECT_EQ(ui.reservationQuestions.size(), 1u);
}

TEST_F(StarterTest, AFailedRecordingStillCarriesOutTheOption) {
    viewer.recordSucceeds = false;
    EXPECT_EQ(startFirst(recording(today(21, 0), today(21, 30), AfterRecording::ExitProgram)),
              ReservationStarter::Outcome::RecordingFailed);
    EXPECT_EQ(table.record(0).recordedFile, "");
    EXPECT_EQ(viewer.closeRequests, 1);
}

TEST_F(StarterTest, AViewerThatCannotOpenStopsTheStart) {
    viewer.openSucceeds = false;
    EXPECT_EQ(startFirst(recording(today(21, 0), today(21, 30), AfterRecording::PowerOff)),
              ReservationStarter::Outcome::ViewerUnavailable);
    EXPECT_TRUE(viewer.recordings.empty());
    EXPECT_TRUE(agent.posted.empty());
    EXPECT_EQ(starter.start(5, true), ReservationStarter::Outcome::NoRecord);
}

TEST_F(StarterTest, SwitchingTouchesOnlyWhatDiffers) {
    viewer.opened = true;
    viewer.channel = 12;
    EXPECT_EQ(startFirst(reservationAt(today(21, 0))), ReservationStarter::Outcome::Switched);
    EXPECT_TRUE(viewer.calls.empty());

    // A channel no band has is not tuned (tuning would clamp it to another channel).
    ReservationRecord bad = reservationAt(today(21, 0));
    bad.channel = 0xFFFFFFFF;
    startFirst(bad);
    EXPECT_TRUE(viewer.calls.empty());
}

// Country code 86 numbers the viewer's channels by their place in the registered list, but a
// reservation holds the band channel the dialog offered ("CH 9"): that channel is tuned, whatever
// the registered list holds, in either band.
TEST_F(StarterTest, CountryCode86TunesTheBandChannelTheDialogStored) {
    viewer.opened = true;
    viewer.country = 86;
    viewer.tvList.channels[0] = 6;
    viewer.tvList.channels[1] = 12;
    viewer.tvList.count = 2;
    viewer.catvList.channels[0] = 100;
    viewer.catvList.count = 1;
    const ChannelBounds bounds{2, 69, 1, 125};

    ReservationFormValues picked;
    picked.channelEntry = 7;  // "CH 9", not registered
    picked.start = picked.end = today(21, 0);
    const ReservationRecord tv = buildReservation(picked, bounds, 1);
    ASSERT_EQ(tv.channel, 9u);
    startFirst(tv);
    EXPECT_EQ(viewer.calls, std::vector<std::string>{"tune 9"});

    viewer.calls.clear();
    picked.videoMode = 1;
    picked.channelEntry = 0;  // "CH 1" of the cable band
    startFirst(buildReservation(picked, bounds, 1));
    EXPECT_EQ(viewer.calls, (std::vector<std::string>{"mode 1", "tune 1"}));
}

}  // namespace
}  // namespace kelto
