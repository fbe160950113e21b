#pragma once
// The viewer's windows that are not built yet: each command that opens one calls its entry
// point here, which notes the request in the trace log and shows nothing. Tests count the calls.
#include "viewer/core/ViewerPorts.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kelto::viewer {

enum class LaterWindow {
    Keypad,
    ConfigurationSheet,
    MultiScreenPage,
    CaptureSheet,
    FrequencyTable,
    MultiScreen,
    MultiScreenPress,
};

// Entry point of a window still to come; `what` says what was asked.
void openLaterWindow(LaterWindow window, const std::string& what);
// A left press on the picture while the multi-screen view is open belongs to that view (at `x`,
// `y` in the picture).
void pressOnMultiScreen(int x, int y);
// The requests so far (for tests), and forgetting them.
const std::vector<LaterWindow>& laterWindowRequests();
void clearLaterWindowRequests();

// The keypad's side of the viewer until the keypad exists: the messages and characters the viewer
// hands on while the keypad is open are noted in the trace log, and the last of them kept.
class KeypadEntryPoint final : public KeypadSink {
public:
    struct PassedOn {
        std::uint32_t message;
        std::uint64_t wParam;
        bool operator==(const PassedOn&) const = default;
    };
    static constexpr std::size_t kKept = 64;

    void showChannelNumber(int) override {}
    void refresh() override {}
    void passOn(std::uint32_t message, std::uint64_t wParam) override;
    // Oldest first.
    const std::vector<PassedOn>& passedOn() const { return passed_; }

private:
    std::vector<PassedOn> passed_;
};

}  // namespace kelto::viewer
