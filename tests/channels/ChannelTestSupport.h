#pragma once
// Shared pieces of the channel tests: a message sink that collects, the recording stand-in of
// the hardware library, and a fixture with a virtual clock, a simulated card and a controller.
#include "cardsim/CardTestHook.h"
#include "channels/CTunerController.h"
#include "channels/HardwareMessageSink.h"
#include "platform/Clock.h"
#include "platform/DynamicLibrary.h"
#include "platform/Registry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kelto::test {

struct ShownMessage {
    int stringId;
    std::string text;
    std::string caption;
};

class CollectedMessages : public HardwareMessageSink {
public:
    void showHardwareMessage(int stringId, const std::string& text, const std::string& caption) override {
        shown.push_back({stringId, text, caption});
    }
    std::vector<int> ids() const {
        std::vector<int> result;
        for (const auto& m : shown) result.push_back(m.stringId);
        return result;
    }
    std::vector<ShownMessage> shown;
};

// What reached the stand-in library "FakeRurorizi.dll".
struct LibraryCall {
    enum Entry { SetTV, GetTV, SetRadio, GetRadio, SetAudio } entry;
    unsigned code;
    int value;
    bool operator==(const LibraryCall&) const = default;
};

inline constexpr const char* kFakeRurorizi = "FakeRurorizi.dll";

inline std::vector<LibraryCall> fakeRuroriziCalls() {
    auto* module = platform::loadLibrary(kFakeRurorizi);
    EXPECT_NE(module, nullptr);
    std::vector<LibraryCall> calls;
    if (!module) return calls;
    const auto count = platform::getProc<int (*)()>(module, "FakeRuroriziCallCount");
    const auto at = platform::getProc<void (*)(int, int*, unsigned*, int*)>(module, "FakeRuroriziCallAt");
    for (int i = 0; i < count(); ++i) {
        int entry = 0, value = 0;
        unsigned code = 0;
        at(i, &entry, &code, &value);
        calls.push_back({LibraryCall::Entry(entry), code, value});
    }
    platform::getProc<void (*)()>(module, "FakeRuroriziClear")();
    platform::freeLibrary(module);
    return calls;
}

class ControllerFixture : public ::testing::Test {
protected:
    void SetUp() override {
        platform::setClock(&clock);
        cardsim::test::buildCard({}, {cardsim::test::tvStation(55'250'000, "WKEL 2")});
    }
    void TearDown() override {
        controller.UnloadRurorizi();
        controller.UnloadBtVid();
        cardsim::test::clearFaults();
        platform::clearHiddenExports();
        platform::setClock(nullptr);
    }
    void loadBoth() {
        ASSERT_EQ(controller.LoadBtVid(), 1);
        ASSERT_EQ(controller.LoadRurorizi(), 1);
        fakeRuroriziCalls();  // start with an empty record
        cardsim::test::clearI2cLog();
    }

    platform::VirtualClock clock{std::chrono::system_clock::time_point(std::chrono::hours(24 * 365 * 30))};
    CollectedMessages messages;
    CTunerController controller{&messages, platform::Registry::instance(), kFakeRurorizi};
};

}  // namespace kelto::test
