#include "framework/ReportListRules.h"

#include <algorithm>

namespace kelto::framework {

int columnWidthForHeading(int headingTextWidth) { return headingTextWidth + kHeadingMargin; }

Qt::Alignment alignmentForFormat(int format) {
    switch (format & 3) {
    case LVCFMT_RIGHT: return Qt::AlignRight | Qt::AlignVCenter;
    case LVCFMT_CENTER: return Qt::AlignHCenter | Qt::AlignVCenter;
    default: return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

bool rowShowsHighlight(bool dropHighlighted, bool selected, bool listHasFocus, bool showSelectionAlways) {
    return dropHighlighted || (selected && (listHasFocus || showSelectionAlways));
}

Span highlightSpan(HighlightMode mode, int rowLeft, int labelLeft, int firstRight, int columnsRight, int clientRight) {
    switch (mode) {
    case HighlightMode::FirstLabel: return {labelLeft, firstRight};
    case HighlightMode::AllColumns: return {rowLeft, columnsRight};
    case HighlightMode::WholeRow: break;
    }
    return {rowLeft, std::max(columnsRight, clientRight)};
}

}  // namespace kelto::framework
