#include "viewer/multiscreen/MultiScreenLayout.h"

namespace kelto::viewer::multiscreen {

namespace {
constexpr int kMargin = 10;
constexpr int kButtonLeft = 25;
constexpr int kButtonWidth = 48;
constexpr int kButtonHeight = 20;
}  // namespace

int validCellCount(int cells) { return cells == 9 || cells == 16 ? cells : 4; }

int cellsPerRow(int cells) {
    switch (validCellCount(cells)) {
    case 9: return 3;
    case 16: return 4;
    default: return 2;
    }
}

// 340 x 320, 500 x 440, 660 x 560: the grid, 10 pixels round it, and 70 pixels below it for the
// buttons.
QSize windowSize(int cells) {
    const int perRow = cellsPerRow(cells);
    return {2 * kMargin + perRow * kCellWidth, kMargin + perRow * kCellHeight + 70};
}

QRect cellRect(int cells, int k) {
    const int perRow = cellsPerRow(cells);
    const int row = k / perRow;
    const int column = k % perRow;
    return {kMargin + kCellWidth * column, kMargin + kCellHeight * row, kCellWidth, kCellHeight};
}

int cellAt(int cells, QPoint at) {
    const int count = validCellCount(cells);
    for (int k = 0; k < count; ++k)
        if (cellRect(cells, k).contains(at)) return k;
    return -1;
}

QRect exitButtonRect(int cells) {
    return {kButtonLeft, windowSize(cells).height() - 50, kButtonWidth, kButtonHeight};
}

QRect minimiseButtonRect(int cells) {
    return {kButtonLeft, windowSize(cells).height() - 28, kButtonWidth, kButtonHeight};
}

std::optional<int> cellSlot(VideoMode mode, const Slots& broadcast, const Slots& cable, int k) {
    if (k < 0 || k >= kMaxCells) return std::nullopt;
    const Slots* band = mode == VideoMode::TV ? &broadcast : mode == VideoMode::CATV ? &cable : nullptr;
    if (!band) return std::nullopt;
    const int value = (*band)[std::size_t(k + 1)];
    if (value == 0) return std::nullopt;
    return value;
}

std::optional<int> cellChannel(VideoMode mode, const Slots& broadcast, const Slots& cable, int k, bool listNumbering,
                               const RegisteredList& registered) {
    const auto slot = cellSlot(mode, broadcast, cable, k);
    if (!slot || !listNumbering) return slot;
    const int position = *slot - 1;
    if (position < 0 || position >= registered.count || position >= kMaxChannel) return std::nullopt;
    return registered.channels[std::size_t(position)];
}

}  // namespace kelto::viewer::multiscreen
