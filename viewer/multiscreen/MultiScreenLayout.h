#pragma once
// Where things are in the multi-screen view, and which channel each cell shows. No widgets.
//   - N cells (4, 9 or 16) in a square grid of 160 by 120 pixel cells, 10 pixels from the
//     window's top-left corner; the window's size and its two buttons (exit above minimise,
//     at the bottom left) follow from N.
//   - A cell shows the channel of its slot of the current band (TV: the broadcast slots, CATV: the
//     cable slots; an empty slot, or any other video mode, shows none). With country code 86 a slot
//     holds a position in the band's registered list, and the cell tunes the channel there.
#include "settings/ChannelTypes.h"
#include "settings/VideoMode.h"
#include "settings/ViewerSettings.h"

#include <QRect>
#include <QSize>

#include <array>
#include <optional>

namespace kelto::viewer::multiscreen {

inline constexpr int kCellWidth = 160;
inline constexpr int kCellHeight = 120;
inline constexpr int kMaxCells = 16;

using Slots = std::array<int, kMultiScreenSlots + 1>;  // slots 1..16, 0 = empty

// 4, 9 or 16; any other count is taken as 4.
int validCellCount(int cells);
// 2, 3 or 4 cells per row and column.
int cellsPerRow(int cells);
QSize windowSize(int cells);
// Cell k (0-based), in the window's client coordinates.
QRect cellRect(int cells, int k);
// The cell under `at`, or -1.
int cellAt(int cells, QPoint at);
QRect exitButtonRect(int cells);
QRect minimiseButtonRect(int cells);

// The slot value of cell k in the mode (nullopt: the cell has no channel).
std::optional<int> cellSlot(VideoMode mode, const Slots& broadcast, const Slots& cable, int k);
// The channel cell k tunes: the slot value, or with list-position numbering the registered
// channel at that 1-based position (nullopt when the position is not in the list).
std::optional<int> cellChannel(VideoMode mode, const Slots& broadcast, const Slots& cable, int k, bool listNumbering,
                               const RegisteredList& registered);

}  // namespace kelto::viewer::multiscreen
