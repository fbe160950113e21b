#pragma once
// The multi-screen registration as the multi-screen page edits it, without widgets: the layout's
// cell count and the 16 slots of each band, with the page's rules for adding a channel to a
// band's slots and removing one. A slot holds the value the multi-screen view reads (a channel
// number, or with list-position numbering a 1-based position in the band's registered list);
// 0 is an empty slot.
#include "settings/ChannelTypes.h"
#include "viewer/config/SheetViewer.h"

#include <string>

namespace kelto::viewer::config {

class MultiScreenSlotsEditor {
public:
    // The three layouts: 2*2, 3*3 and 4*4 cells.
    static constexpr int kLayouts[] = {4, 9, 16};

    MultiScreenSlotsEditor(int cells, const MultiScreenSlots& broadcast, const MultiScreenSlots& cable);

    // A cell count the view can lay out: 4, 9 or 16 as given, anything else the 2*2 default.
    static int validCells(int cells);
    int cells() const { return cells_; }
    void setCells(int cells) { cells_ = validCells(cells); }

    const MultiScreenSlots& bandSlots(ChannelBand band) const { return band == ChannelBand::Cable ? cable_ : broadcast_; }
    // Slot n (1..16) of a band; 0 outside 1..16.
    int slot(ChannelBand band, int n) const;
    bool contains(ChannelBand band, int value) const;

    // Puts `value` into the first empty slot of the band unless a slot holds it already, the
    // value is no channel (0 or below) or all 16 slots are used. The slot filled (1..16), or 0.
    int add(ChannelBand band, int value);
    // Removes the channel in slot n (1..16): the later slots move up one, slot 16 becomes empty.
    // False (nothing changes) when the slot is empty or n lies outside 1..16.
    bool remove(ChannelBand band, int n);

    // What the slot list shows for a slot value: "%d", or nothing for an empty slot.
    static std::string slotText(int value);

private:
    MultiScreenSlots& mutableSlots(ChannelBand band) { return band == ChannelBand::Cable ? cable_ : broadcast_; }

    int cells_;
    MultiScreenSlots broadcast_;
    MultiScreenSlots cable_;
};

}  // namespace kelto::viewer::config
