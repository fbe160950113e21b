#pragma once
// When the live picture takes its next frame. The card's frames begin at whole frame periods
// counted from the clock's epoch; taking each one just after it begins, rather than a fixed period
// after the last one was taken, takes every frame once even when a wake-up comes late (by less
// than a frame), where a fixed period loses a frame to any delay at the wrong moment.
#include <chrono>

namespace kelto::capture {

// A frame is taken this long after it begins, so a timer that wakes a little early still finds it.
inline constexpr std::chrono::milliseconds kFrameStartMargin{2};

// The wait from `now` until the margin after the next frame begins: between 1 ms and one frame
// period plus the margin. A rate of 0 or less gives one second.
std::chrono::milliseconds delayToNextFrame(std::chrono::system_clock::time_point now, double framesPerSecond);

}  // namespace kelto::capture
