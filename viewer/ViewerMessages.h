#pragma once
// Private messages the viewer window answers besides the remote controller's buttons
// (viewer/RemoteButtons.h) and the mixer's notices.
#include <cstdint>

namespace kelto {

constexpr std::uint32_t kMsgViewerClose = 0x5C8;      // post a close request to itself
constexpr std::uint32_t kMsgViewerPlacement = 0x5C9;  // 1: full screen; 0: lParam points to x, y, width, height
constexpr std::uint32_t kMsgViewerAbout = 0x5CA;      // open the about box
constexpr std::uint32_t kMsgDebugTexts = 0x466;       // wParam n, lParam points to n text pointers
constexpr std::uint32_t kMsgSiblingNotice = 0xBD1;    // accepted by the viewer, no action

}  // namespace kelto
