#pragma once
// The recorder controller's three keys: where they lie in its 150 by 90 window, and which one the
// mouse holds. A key is held from a press inside it until the release, which acts only inside
// the same key; it shows pressed while the pointer is over it.
#include <array>
#include <optional>

namespace kelto {

enum class VcrKey { Next, Previous, Mode };

struct VcrRect {
    int left, top, right, bottom;  // right and bottom lie outside
    bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    int width() const { return right - left; }
    int height() const { return bottom - top; }
};

constexpr int kVcrWindowWidth = 150;
constexpr int kVcrWindowHeight = 90;

constexpr VcrRect vcrKeyRect(VcrKey key) {
    switch (key) {
    case VcrKey::Next: return {110, 5, 135, 30};
    case VcrKey::Previous: return {110, 35, 135, 60};
    case VcrKey::Mode: return {82, 41, 98, 57};
    }
    return {0, 0, 0, 0};
}
constexpr std::array<VcrKey, 3> kAllVcrKeys{VcrKey::Next, VcrKey::Previous, VcrKey::Mode};

class VcrKeyPress {
public:
    // A press: true when it is on a key (now held), false elsewhere (the window is dragged).
    bool press(int x, int y) {
        held_ = keyAt(x, y);
        over_ = held_.has_value();
        return over_;
    }
    // The pointer moved while the button is down; true when the pressed look changed.
    bool move(int x, int y) {
        if (!held_) return false;
        const bool over = vcrKeyRect(*held_).contains(x, y);
        const bool changed = over != over_;
        over_ = over;
        return changed;
    }
    // The release: the key to act on, when it is released over the key it was pressed on.
    std::optional<VcrKey> release(int x, int y) {
        const auto held = held_;
        held_.reset();
        over_ = false;
        if (held && vcrKeyRect(*held).contains(x, y)) return held;
        return std::nullopt;
    }
    bool holding() const { return held_.has_value(); }
    bool drawnPressed(VcrKey key) const { return held_ == key && over_; }

    static std::optional<VcrKey> keyAt(int x, int y) {
        for (VcrKey key : kAllVcrKeys)
            if (vcrKeyRect(key).contains(x, y)) return key;
        return std::nullopt;
    }

private:
    std::optional<VcrKey> held_;
    bool over_ = false;
};

}  // namespace kelto
