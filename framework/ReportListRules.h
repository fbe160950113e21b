#pragma once
// The plain rules of the report list (CReportListCtrl): column widths, which rows are
// highlighted and how far the highlight reaches, and how a column's format aligns its text.
// No widgets here, so each rule is tested on its own.
#include <Qt>

namespace kelto::framework {

// Column formats as the list's callers pass them (low two bits; the rest is ignored).
inline constexpr int LVCFMT_LEFT = 0;
inline constexpr int LVCFMT_RIGHT = 1;
inline constexpr int LVCFMT_CENTER = 2;

// How far an owner-drawn row's highlight reaches.
enum class HighlightMode : int {
    FirstLabel = 0,  // the first column's label (the column without its image)
    AllColumns = 1,  // every column
    WholeRow = 2,    // the whole row, to the right edge of the client area
};

// A new column is as wide as its heading's text plus this margin.
inline constexpr int kHeadingMargin = 15;
int columnWidthForHeading(int headingTextWidth);

// Text alignment of a column with `format`: horizontal from the format, always vertically centred.
Qt::Alignment alignmentForFormat(int format);

// Whether an owner-drawn row shows the highlight colours: drop-highlighted, or selected while
// the list has the keyboard focus or always shows its selection.
bool rowShowsHighlight(bool dropHighlighted, bool selected, bool listHasFocus, bool showSelectionAlways);

// Horizontal extent [left, right) of the highlight in viewport coordinates. `labelLeft` is where
// the first column's label starts (after its image), `firstRight` the first column's right edge,
// `columnsRight` the right edge of the last column, `clientRight` the viewport's right edge.
struct Span {
    int left = 0;
    int right = 0;
    bool operator==(const Span&) const = default;
};
Span highlightSpan(HighlightMode mode, int rowLeft, int labelLeft, int firstRight, int columnsRight, int clientRight);

}  // namespace kelto::framework
