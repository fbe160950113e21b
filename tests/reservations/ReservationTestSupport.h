#pragma once
// In-memory stand-ins for what the tray agent gives the reservation engine: a viewer, the
// dialogs, and the agent window with its timers running on a VirtualClock.
#include "reservations/LocalTime.h"
#include "reservations/ReservationAgentHost.h"
#include "reservations/ReservationEngine.h"
#include "reservations/ReservationUi.h"
#include "reservations/ReservationViewer.h"

#include "platform/Clock.h"
#include "platform/Power.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace kelto::test {

inline void setTimeZone(const char* zone) {
    ::setenv("TZ", zone, 1);
    ::tzset();
}

// Seconds since 1970 of a local time.
inline std::uint32_t at(int year, int month, int day, int hour, int minute, int second = 0) {
    return static_cast<std::uint32_t>(fromLocalTime(year, month, day, hour, minute, second));
}

// 2024-07-17 is a Wednesday.
inline std::uint32_t today(int hour, int minute, int second = 0) { return at(2024, 7, 17, hour, minute, second); }

struct FakeViewer : ReservationViewer {
    platform::VirtualClock* clock = nullptr;  // recordings advance it by their limit
    bool opened = false;
    bool openSucceeds = true;
    int openCount = 0;
    int closeRequests = 0;
    VideoMode mode = VideoMode::TV;
    int channel = 5;
    int country = 1;
    RegisteredList tvList;
    RegisteredList catvList;
    ChannelBounds bounds{2, 69, 1, 125};
    RecordingSetup setup{15, 0, 0, 1};
    std::vector<RecordingSetup> setupWrites;
    bool recordSucceeds = true;
    std::vector<std::string> recordings;  // files recorded
    std::vector<int> recordingSeconds;    // the limit each recording ran with
    std::vector<std::string> calls;       // "mode 1", "tune 12"
    int fileNumber = 0;
    // A recording keeps the event loop running: whileRecording (when set) runs it for the
    // recording's length instead of the clock simply moving on. afterRecording is what the viewer
    // tells the agent when a recording has ended.
    std::function<void(std::uint64_t lengthMs)> whileRecording;
    std::function<void()> afterRecording;
    bool recordingNow = false;
    int endRecordingRequests = 0;

    bool isOpen() const override { return opened; }
    bool open() override {
        ++openCount;
        if (openSucceeds) opened = true;
        return opened;
    }
    void requestClose() override {
        ++closeRequests;
        opened = false;
    }
    VideoMode videoMode() const override { return mode; }
    void setVideoMode(VideoMode newMode) override {
        mode = newMode;
        calls.push_back(std::string(recordingNow ? "while recording: " : "") + "mode " + std::to_string(int(newMode)));
    }
    int currentChannel() const override { return channel; }
    void tuneChannel(int newChannel) override {
        channel = newChannel;
        calls.push_back(std::string(recordingNow ? "while recording: " : "") + "tune " + std::to_string(newChannel));
    }
    int countryCode() const override { return country; }
    RegisteredList registeredList(VideoMode which) const override { return which == VideoMode::CATV ? catvList : tvList; }
    ChannelBounds channelBounds() const override { return bounds; }
    RecordingSetup recordingSetup() override { return setup; }
    void setRecordingSetup(const RecordingSetup& newSetup) override {
        setup = newSetup;
        setupWrites.push_back(newSetup);
    }
    std::string nextRecordingFileName() override { return "/capture/AVI" + std::to_string(++fileNumber) + ".AVI"; }
    bool recordStream(const std::string& file) override {
        recordings.push_back(file);
        recordingSeconds.push_back(setup.limitOn ? setup.limitSeconds : 0);
        const std::uint64_t lengthMs = setup.limitOn ? std::uint64_t(setup.limitSeconds) * 1000 : 0;
        recordingNow = true;
        if (whileRecording) whileRecording(lengthMs);
        else if (clock) clock->advanceMs(lengthMs);
        recordingNow = false;
        if (afterRecording) afterRecording();
        return recordSucceeds;
    }
    bool recording() const override { return recordingNow; }
    void endRecording() override { ++endRecordingRequests; }
};

struct FakeUi : ReservationUi {
    bool answer = true;
    std::vector<ReservationRecord> reservationQuestions;
    std::vector<TurnOffSetting> turnOffQuestions;
    std::vector<std::int64_t> questionTimes;  // when each question was asked
    int listOpens = 0;
    int listRefreshes = 0;
    int alreadyReserved = 0;

    bool confirmReservation(const ReservationRecord& record) override {
        reservationQuestions.push_back(record);
        questionTimes.push_back(nowSeconds());
        return answer;
    }
    bool confirmTurnOff(const TurnOffSetting& setting) override {
        turnOffQuestions.push_back(setting);
        questionTimes.push_back(nowSeconds());
        return answer;
    }
    void openReservationList() override { ++listOpens; }
    void refreshReservationList() override { ++listRefreshes; }
    void showAlreadyReserved() override { ++alreadyReserved; }
};

// The agent window: repeating timers on the virtual clock, posted messages delivered after the
// handler that posted them, and an exit that saves the file.
struct FakeAgent : ReservationAgentHost {
    struct Timer {
        std::uint32_t periodMs = 0;
        std::uint64_t dueMs = 0;
    };
    platform::VirtualClock& clock;
    ReservationEngine* engine = nullptr;
    std::map<int, Timer> timers;
    std::deque<std::uint32_t> posted;
    std::deque<std::function<void()>> later;
    std::vector<std::uint32_t> powerOffMessages;
    int exitCount = 0;

    explicit FakeAgent(platform::VirtualClock& virtualClock) : clock(virtualClock) {}

    std::uint64_t nowMs() { return clock.tickCountMs(); }
    void setTimer(int timerId, std::uint32_t periodMs) override { timers[timerId] = {periodMs, nowMs() + periodMs}; }
    void killTimer(int timerId) override { timers.erase(timerId); }
    void postPowerOffMessage(std::uint32_t firstParameter) override { posted.push_back(firstParameter); }
    void runLater(std::function<void()> action) override { later.push_back(std::move(action)); }
    // Runs only the actions left for later (not the posted messages).
    void runLaterActions() {
        while (!later.empty()) {
            auto action = std::move(later.front());
            later.pop_front();
            action();
        }
    }
    // Runs what waits in the event loop (posted messages, actions run later), as the loop would
    // right after the current handler.
    void runPending() {
        while (!posted.empty() || !later.empty()) {
            if (!later.empty()) {
                auto action = std::move(later.front());
                later.pop_front();
                action();
                continue;
            }
            const std::uint32_t parameter = posted.front();
            posted.pop_front();
            powerOffMessages.push_back(parameter);
            if (engine) engine->handlePowerOffMessage(parameter);
        }
    }
    void runExitSequence() override {
        ++exitCount;
        if (engine) engine->save();
    }

    // Runs the event loop for periodMs of virtual time.
    void run(std::uint64_t periodMs) {
        const std::uint64_t endMs = nowMs() + periodMs;
        for (;;) {
            runPending();
            auto next = timers.end();
            for (auto it = timers.begin(); it != timers.end(); ++it)
                if (next == timers.end() || it->second.dueMs < next->second.dueMs) next = it;
            if (next == timers.end() || next->second.dueMs > endMs) break;
            if (next->second.dueMs > nowMs()) clock.advanceMs(next->second.dueMs - nowMs());
            const int timerId = next->first;
            next->second.dueMs = nowMs() + std::max<std::uint32_t>(next->second.periodMs, 1);
            if (engine) engine->onTimer(timerId);
        }
        if (endMs > nowMs()) clock.advanceMs(endMs - nowMs());
    }
    // Runs until the wall clock reads the given time.
    void runUntil(std::uint32_t wallSeconds) {
        const std::int64_t now = nowSeconds();
        if (wallSeconds > now) run(std::uint64_t(wallSeconds - now) * 1000);
    }
};

// A viewer, dialogs, agent and engine on a virtual clock that starts at the given time, in UTC.
class EngineFixture : public ::testing::Test {
protected:
    void SetUp() override {
        setTimeZone("UTC");
        platform::recordingPowerControl().clear();
        platform::setPowerControl(nullptr);
    }
    void TearDown() override { platform::setClock(nullptr); }

    // Starts the agent at startTime: the engine loads its file and starts timer 30.
    void startAgent(std::uint32_t startTime) {
        clock.setNow(std::chrono::system_clock::from_time_t(startTime));
        platform::setClock(&clock);
        viewer.clock = &clock;
        engine = std::make_unique<ReservationEngine>(viewer, ui, agent);
        agent.engine = engine.get();
        viewer.afterRecording = [this] { agent.runLater([this] { engine->recordingEnded(); }); };
        engine->start();
    }
    ReservationTable& table() { return engine->table(); }

    platform::VirtualClock clock;
    FakeViewer viewer;
    FakeUi ui;
    FakeAgent agent{clock};
    std::unique_ptr<ReservationEngine> engine;
};

// A record for the tests: active, TV, channel 12, daily, only switching.
inline ReservationRecord reservationAt(std::uint32_t start, std::uint32_t end = 0) {
    ReservationRecord record;
    record.apply = 1;
    record.channel = 12;
    record.startTime = start;
    record.endTime = end ? end : start;
    record.dayMode = DayMode::Daily;
    record.comment = "news";
    return record;
}

}  // namespace kelto::test
