#include "capture/LiveFrameTiming.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace kelto::capture {

std::chrono::milliseconds delayToNextFrame(std::chrono::system_clock::time_point now, double framesPerSecond) {
    using std::chrono::milliseconds;
    if (framesPerSecond <= 0) return milliseconds(1000);
    // Frame n covers the milliseconds m with floor(m x rate / 1000) = n.
    const std::int64_t nowMs = std::chrono::duration_cast<milliseconds>(now.time_since_epoch()).count();
    const double frame = std::floor(double(nowMs) * framesPerSecond / 1000.0);
    const auto nextFrameMs = std::int64_t(std::ceil((frame + 1.0) * 1000.0 / framesPerSecond));
    const auto periodMs = std::int64_t(std::ceil(1000.0 / framesPerSecond));
    const std::int64_t margin = kFrameStartMargin.count();
    return milliseconds(std::clamp<std::int64_t>(nextFrameMs - nowMs + margin, 1, periodMs + margin));
}

}  // namespace kelto::capture
