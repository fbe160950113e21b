#pragma once
// Fakes for the application-shell tests: a viewer whose window records what reaches it, and a
// window of another program that records its messages and answers as told.
#include "viewer/ViewerWindow.h"
#include "platform/WindowSystem.h"

#include <QCoreApplication>
#include <vector>

namespace kelto::test {

struct RecordingWindow {
    platform::WindowSystem& system;
    std::vector<platform::WindowMessage> received;
    std::int64_t answer = 0;
    platform::WindowHandle handle;

    RecordingWindow(platform::WindowSystem& s, std::string_view className, std::string_view title) : system(s) {
        handle = system.createWindow(className, title, [this](const platform::WindowMessage& m) {
            received.push_back(m);
            return answer;
        });
    }
    ~RecordingWindow() { system.destroyWindow(handle); }
    std::vector<std::uint32_t> messages() const {
        std::vector<std::uint32_t> numbers;
        for (const auto& m : received) numbers.push_back(m.message);
        return numbers;
    }
};

class FakeViewer : public ViewerWindow {
public:
    explicit FakeViewer(platform::WindowSystem& system) : window(system, "#32770", "Kelto TV") {}
    platform::WindowHandle windowHandle() const override { return window.handle; }
    void activate() override { ++activations; }
    bool closedByRemote() const override { return remoteClosed; }
    void setClosedByRemote() override { remoteClosed = true; }
    VideoMode videoMode() const override { return mode; }
    void setVideoMode(VideoMode m) override { mode = m; }
    int currentChannel() const override { return channel; }
    void tuneChannel(int c) override { channel = c; }
    int countryCode() const override { return 1; }
    RegisteredList registeredList(VideoMode) const override { return {}; }
    ChannelBounds channelBounds() const override { return {2, 69, 1, 125}; }
    RecordingSetup recordingSetup() override { return setup; }
    void setRecordingSetup(const RecordingSetup& s) override { setup = s; }
    std::string nextRecordingFileName() override { return "/tmp/Kelto1.avi"; }
    bool recordStream(const std::string& file) override {
        recorded.push_back(file);
        return true;
    }
    VideoMode mode = VideoMode::TV;
    int channel = 6;
    RecordingSetup setup;
    std::vector<std::string> recorded;

    RecordingWindow window;
    int activations = 0;
    bool remoteClosed = false;
};

// Delivers everything that waits for this process's windows.
inline void pump(platform::WindowSystem& system = platform::WindowSystem::instance()) {
    for (int i = 0; i < 5; ++i) {
        system.dispatchPending();
        QCoreApplication::processEvents();
    }
}

}  // namespace kelto::test
