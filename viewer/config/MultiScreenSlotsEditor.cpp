#include "viewer/config/MultiScreenSlotsEditor.h"

#include <algorithm>

namespace kelto::viewer::config {

MultiScreenSlotsEditor::MultiScreenSlotsEditor(int cells, const MultiScreenSlots& broadcast, const MultiScreenSlots& cable)
    : cells_(validCells(cells)), broadcast_(broadcast), cable_(cable) {
    // Index 0 is no slot; keep it 0 so whoever reads the arrays by slot number sees nothing there.
    broadcast_[0] = 0;
    cable_[0] = 0;
}

int MultiScreenSlotsEditor::validCells(int cells) {
    return std::find(std::begin(kLayouts), std::end(kLayouts), cells) != std::end(kLayouts) ? cells : kLayouts[0];
}

int MultiScreenSlotsEditor::slot(ChannelBand band, int n) const {
    return n >= 1 && n <= kMultiScreenSlots ? bandSlots(band)[std::size_t(n)] : 0;
}

bool MultiScreenSlotsEditor::contains(ChannelBand band, int value) const {
    for (int n = 1; n <= kMultiScreenSlots; ++n)
        if (slot(band, n) == value) return true;
    return false;
}

int MultiScreenSlotsEditor::add(ChannelBand band, int value) {
    if (value <= 0 || contains(band, value)) return 0;
    // The first slot the list shows empty: a slot read from the store may be empty between
    // filled ones, and that gap is taken first.
    for (int n = 1; n <= kMultiScreenSlots; ++n)
        if (slotText(slot(band, n)).empty()) {
            mutableSlots(band)[std::size_t(n)] = value;
            return n;
        }
    return 0;
}

bool MultiScreenSlotsEditor::remove(ChannelBand band, int n) {
    if (n < 1 || n > kMultiScreenSlots || slot(band, n) == 0) return false;
    MultiScreenSlots& s = mutableSlots(band);
    for (int k = n; k < kMultiScreenSlots; ++k) s[std::size_t(k)] = s[std::size_t(k + 1)];
    s[kMultiScreenSlots] = 0;
    return true;
}

std::string MultiScreenSlotsEditor::slotText(int value) { return value == 0 ? std::string() : std::to_string(value); }

}  // namespace kelto::viewer::config
