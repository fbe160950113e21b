#pragma once
// The program's report list: a list view in report form (rows of texts under column headings)
// with the helpers every list of the program builds its columns and rows with, row states in
// the list's own terms (selected, focused) with one item-changed notice per change, and an
// owner-drawn row painting that highlights the whole row. A dialog template's list control
// (a QTreeWidget in the .ui file) is created as one of these by the template loader.
#include "framework/ReportListRules.h"

#include <QList>
#include <QPixmap>
#include <QTreeWidget>

#include <map>
#include <memory>

namespace kelto::framework {

class ReportRowPainter;

class CReportListCtrl : public QTreeWidget {
    Q_OBJECT
    // Settable from a dialog template as well (<property name="ownerDraw">...).
    Q_PROPERTY(bool ownerDraw READ ownerDraw WRITE setOwnerDraw)
    Q_PROPERTY(bool showSelectionAlways READ showSelectionAlways WRITE setShowSelectionAlways)
public:
    // Parts of a column that InsertColumn sets.
    static constexpr int LVCF_FMT = 0x1;
    static constexpr int LVCF_WIDTH = 0x2;
    static constexpr int LVCF_TEXT = 0x4;
    static constexpr int LVCF_SUBITEM = 0x8;
    static constexpr int kAllColumnParts = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    // Row state bits of the item-changed notice.
    static constexpr int LVIS_FOCUSED = 0x1;
    static constexpr int LVIS_SELECTED = 0x2;

    explicit CReportListCtrl(QWidget* parent = nullptr);
    ~CReportListCtrl() override;

    // Inserts a column at `column` (at the end when beyond it) and returns its index, -1 when
    // `column` is negative. Its width is the heading's text width in the list's font + 15.
    // `subItem` -1 means the column's own index.
    int InsertColumn(int column, const QString& heading, int subItem = -1, int mask = kAllColumnParts,
                     int format = LVCFMT_LEFT);
    // Column 0 inserts a new row at `row` (with small image `image` unless -1) and returns its
    // index; any other column sets that cell of an existing row (its row, or -1 when there is none).
    int SetRowText(int row, int column, const QString& text, int image = -1);
    // Replaces a cell's text; false when the row or column does not exist.
    bool SetItemText(int row, int column, const QString& text);
    // Turns on hot tracking of the heading, then sets the width.
    void SetColumnWidth(int column, int width);

    // Removing everything (the lists refill themselves this way).
    void DeleteAllItems();
    void DeleteAllColumns();
    bool DeleteItem(int row);

    int rowCount() const { return topLevelItemCount(); }
    QString itemText(int row, int column) const;
    int columnSubItem(int column) const;
    int columnFormat(int column) const;
    bool headingHotTracking() const { return headingHotTracking_; }

    // Small images by index (the rows' image numbers); images shown at their own size.
    void setSmallImages(const QList<QPixmap>& images);
    int rowImage(int row) const;

    // Row states. Focused is the list's current row (at most one); selected may be several.
    bool isRowSelected(int row) const;
    bool isRowFocused(int row) const;
    int rowState(int row) const;
    // Sets both states of one row as a single change (one notice per row whose state changes).
    void setRowState(int row, bool selected, bool focused);
    // The first row among the first `limit` rows (all when -1) that is selected and focused, or -1.
    int selectedAndFocusedRow(int limit = -1) const;

    // Owner-drawn rows (off by default: the list paints as Qt's item views do).
    bool ownerDraw() const { return ownerDraw_; }
    void setOwnerDraw(bool on);
    HighlightMode highlightMode() const { return highlightMode_; }
    void setHighlightMode(HighlightMode mode);
    bool showSelectionAlways() const { return showSelectionAlways_; }
    void setShowSelectionAlways(bool on);
    int dropHighlightedRow() const { return dropRow_; }
    void setDropHighlightedRow(int row);  // -1: none

signals:
    // A row's state changed, by the user or by the program; states are LVIS_* bits.
    void rowStateChanged(int row, int newState, int oldState);

protected:
    void drawRow(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // States by row item, so rows moving up or down after an insertion or removal keep theirs.
    using States = std::map<const QTreeWidgetItem*, int>;
    States currentStates() const;
    // Runs `change` and then reports each row whose state it changed, once.
    template <typename Change>
    void asOneChange(Change&& change);
    void reportChanges();
    void forgetStates() { reported_ = currentStates(); }
    void applyColumnAlignment(QTreeWidgetItem& item) const;

    HighlightMode highlightMode_ = HighlightMode::WholeRow;
    bool ownerDraw_ = false;
    bool showSelectionAlways_ = false;
    bool headingHotTracking_ = false;
    int dropRow_ = -1;
    int batching_ = 0;
    States reported_;
    QList<QPixmap> smallImages_;
    std::unique_ptr<ReportRowPainter> rowPainter_;
};

}  // namespace kelto::framework
