#pragma once
// The remote controller's buttons, as the messages the remote-controller program (or keltoctl)
// sends to the "KELTOTV" receiving windows. The viewer gives the first six their meaning; with no
// viewer open, they and the five buttons below them become key characters for PowerVCR.
#include <cstdint>

namespace kelto::remote {

constexpr std::uint32_t kFullScreen = 0x43E;  // full screen on or off
constexpr std::uint32_t kMute = 0x440;        // sound on or off
constexpr std::uint32_t kSource = 0x441;      // next video source
constexpr std::uint32_t kPrevious = 0x442;    // back to the previous channel
constexpr std::uint32_t kAdjust = 0x443;      // picture adjustment on or off
constexpr std::uint32_t kCapture = 0x444;     // still picture

// Buttons only PowerVCR uses, named by the key they become there.
constexpr std::uint32_t kKeyS = 0x44A;
constexpr std::uint32_t kKeySpace = 0x44B;
constexpr std::uint32_t kKeyB = 0x44E;
constexpr std::uint32_t kKeyEnter = 0x44F;
constexpr std::uint32_t kKeyTab = 0x450;

// The close button arrives as a command (low word of the first parameter) rather than a message.
constexpr int kCloseCommand = 101;

// The buttons the viewer itself handles.
constexpr bool isViewerButton(std::uint32_t message) {
    return message == kFullScreen || (message >= kMute && message <= kCapture);
}

}  // namespace kelto::remote
