#include "platform/DisplayModes.h"

#include <atomic>

namespace kelto::platform {

InMemoryDisplay::InMemoryDisplay(std::vector<DisplayMode> modes, int currentIndex)
    : modes_(std::move(modes)), current_(currentIndex) {}

std::optional<DisplayMode> InMemoryDisplay::current() {
    if (current_ < 0 || current_ >= int(modes_.size())) return std::nullopt;
    return modes_[std::size_t(current_)];
}

ModeQuery InMemoryDisplay::mode(int index, DisplayMode& mode) {
    ++queries_;
    if (failingQueries_ > 0) {
        --failingQueries_;
        return ModeQuery::Failed;
    }
    if (index < 0 || index >= int(modes_.size())) return ModeQuery::End;
    mode = modes_[std::size_t(index)];
    return ModeQuery::Found;
}

bool InMemoryDisplay::apply(const DisplayMode& wanted, bool remember) {
    int chosen = -1;
    for (int i = 0; i < int(modes_.size()); ++i) {
        const DisplayMode& m = modes_[std::size_t(i)];
        if (m.width != wanted.width || m.height != wanted.height || m.bitsPerPixel != wanted.bitsPerPixel) continue;
        if (wanted.id != 0 && m.id == wanted.id) {
            chosen = i;
            break;
        }
        if (chosen < 0) chosen = i;
    }
    const bool applied = chosen >= 0 && !refuseSwitches_;
    switches_.push_back({wanted, remember, applied});
    if (applied) current_ = chosen;
    return applied;
}

InMemoryDisplay typicalDisplay(int width, int height, int bitsPerPixel) {
    std::vector<DisplayMode> modes;
    std::uint64_t id = 0;
    int currentIndex = -1;
    for (const auto& [w, h] : {std::pair{640, 480}, {800, 600}, {1024, 768}, {1280, 1024}}) {
        if (w == width && h == height) currentIndex = int(modes.size());
        modes.push_back({bitsPerPixel, w, h, 60, ++id});
    }
    if (currentIndex < 0) {
        currentIndex = int(modes.size());
        modes.push_back({bitsPerPixel, width, height, 60, ++id});
    }
    return InMemoryDisplay(std::move(modes), currentIndex);
}

namespace {
// The default: a display that offers no mode, so nothing is ever switched.
InMemoryDisplay& noDisplay() {
    static InMemoryDisplay none;
    return none;
}
std::atomic<DisplayModes*> installedDisplay{nullptr};
}  // namespace

DisplayModes& displayModes() {
    DisplayModes* installed = installedDisplay.load();
    return installed ? *installed : noDisplay();
}

void setDisplayModes(DisplayModes* backend) { installedDisplay.store(backend); }

}  // namespace kelto::platform
