#include "platform/sound/PcmOutput.h"

#include <algorithm>

namespace kelto::platform::sound {

bool InMemoryPcmOutput::open(const PcmFormat& format) {
    if (refuseOpen_ || format.channels == 0 || format.rateHz == 0) return false;
    open_ = true;
    format_ = format;
    queued_ = 0;
    ++opens_;
    return true;
}

void InMemoryPcmOutput::close() {
    open_ = false;
    queued_ = 0;
}

std::size_t InMemoryPcmOutput::write(std::span<const std::int16_t> samples) {
    if (!open_) return 0;
    std::size_t frames = samples.size() / format_.channels;
    if (capacity_ != 0) frames = std::min(frames, capacity_ - std::min(capacity_, queued_));
    samples_.insert(samples_.end(), samples.begin(), samples.begin() + std::ptrdiff_t(frames * format_.channels));
    queued_ += frames;
    return frames;
}

}  // namespace kelto::platform::sound
