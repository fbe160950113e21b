#pragma once
// Paints one cell of an owner-drawn report-list row over the background the list has already
// filled: the row's check box (its state image), its small image (blended with the highlight
// when the cell is highlighted), and its text on one line, cut with an ellipsis, in the column's
// alignment and vertically centred, in the highlight text colour when highlighted.
#include <QStyledItemDelegate>

namespace kelto::framework {

class ReportRowPainter : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // `option.state` has State_Selected when the cell lies in the highlight.
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    // Where the cell's text starts, from the cell's left edge (after check box and image).
    int labelOffset(const QStyleOptionViewItem& option, const QModelIndex& index) const;

    static constexpr int kTextMargin = 2;
};

}  // namespace kelto::framework
