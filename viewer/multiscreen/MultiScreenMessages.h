#pragma once
// The worker's reports to the multi-screen view, as messages through the view's own table.
#include <cstdint>

namespace kelto::viewer::multiscreen {

// The worker stopped for a pause request: the view shows the cell it asked for live.
constexpr std::uint32_t kMsgMultiScreenPaused = 0x4C8;
// The worker ended: the view gives the viewer back its picture and goes.
constexpr std::uint32_t kMsgMultiScreenEnded = 0x4C9;

}  // namespace kelto::viewer::multiscreen
