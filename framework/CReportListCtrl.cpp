#include "framework/CReportListCtrl.h"

#include "framework/ReportRowPainter.h"

#include <QHeaderView>
#include <QPainter>

#include <algorithm>
#include <vector>

namespace kelto::framework {

namespace {

constexpr int kSubItemRole = Qt::UserRole + 1;
constexpr int kFormatRole = Qt::UserRole + 2;
constexpr int kImageRole = Qt::UserRole + 3;

}  // namespace

CReportListCtrl::CReportListCtrl(QWidget* parent)
    : QTreeWidget(parent), rowPainter_(std::make_unique<ReportRowPainter>()) {
    setColumnCount(0);
    setHeaderLabels({});
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setIndentation(0);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    header()->setStretchLastSection(false);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (!batching_) reportChanges();
    });
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, [this] {
        if (!batching_) reportChanges();
    });
}

CReportListCtrl::~CReportListCtrl() = default;

int CReportListCtrl::InsertColumn(int column, const QString& heading, int subItem, int mask, int format) {
    if (column < 0) return -1;
    const int count = columnCount();
    column = std::min(column, count);
    QTreeWidgetItem* head = headerItem();
    // Qt's tree has no column insertion: grow by one and move the later cells one to the right.
    setColumnCount(count + 1);
    auto shift = [&](QTreeWidgetItem& item) {
        for (int c = count; c > column; --c)
            for (int role : {int(Qt::DisplayRole), int(Qt::TextAlignmentRole), kSubItemRole, kFormatRole})
                item.setData(c, role, item.data(c - 1, role));
        for (int role : {int(Qt::DisplayRole), int(Qt::TextAlignmentRole), kSubItemRole, kFormatRole})
            item.setData(column, role, QVariant());
    };
    shift(*head);
    for (int row = 0; row < topLevelItemCount(); ++row) shift(*topLevelItem(row));
    for (int c = count; c > column; --c) header()->resizeSection(c, header()->sectionSize(c - 1));

    if (!(mask & LVCF_FMT)) format = LVCFMT_LEFT;
    head->setData(column, kFormatRole, format & 3);
    head->setData(column, kSubItemRole, (mask & LVCF_SUBITEM) && subItem != -1 ? subItem : column);
    head->setTextAlignment(column, alignmentForFormat(format));
    if (mask & LVCF_TEXT) head->setText(column, heading);
    for (int row = 0; row < topLevelItemCount(); ++row) applyColumnAlignment(*topLevelItem(row));
    header()->resizeSection(column, columnWidthForHeading(fontMetrics().horizontalAdvance(heading)));
    return column;
}

int CReportListCtrl::SetRowText(int row, int column, const QString& text, int image) {
    if (row < 0 || column < 0) return -1;
    if (column != 0) return SetItemText(row, column, text) ? row : -1;
    row = std::min(row, topLevelItemCount());
    auto* item = new QTreeWidgetItem;
    item->setText(0, text);
    applyColumnAlignment(*item);
    if (image != -1) {
        item->setData(0, kImageRole, image);
        if (image >= 0 && image < smallImages_.size()) item->setIcon(0, QIcon(smallImages_[image]));
    }
    insertTopLevelItem(row, item);
    return row;
}

bool CReportListCtrl::SetItemText(int row, int column, const QString& text) {
    QTreeWidgetItem* item = topLevelItem(row);
    if (!item || column < 0 || column >= columnCount()) return false;
    item->setText(column, text);
    return true;
}

void CReportListCtrl::SetColumnWidth(int column, int width) {
    headingHotTracking_ = true;
    header()->setAttribute(Qt::WA_Hover, true);
    header()->setHighlightSections(true);
    if (column >= 0 && column < columnCount()) header()->resizeSection(column, width);
}

void CReportListCtrl::DeleteAllItems() {
    ++batching_;
    clear();
    --batching_;
    forgetStates();
}

void CReportListCtrl::DeleteAllColumns() {
    DeleteAllItems();
    setColumnCount(0);
    setHeaderLabels({});
}

bool CReportListCtrl::DeleteItem(int row) {
    QTreeWidgetItem* item = topLevelItem(row);
    if (!item) return false;
    // Removing a row changes no other row's state; Qt's view would hand the removed row's focus
    // and selection to a neighbour, so the states of the remaining rows are put back.
    const States before = currentStates();
    ++batching_;
    delete takeTopLevelItem(row);
    QItemSelectionModel* selection = selectionModel();
    selection->clearSelection();
    selection->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    for (const auto& [kept, state] : before) {
        const int keptRow = indexOfTopLevelItem(const_cast<QTreeWidgetItem*>(kept));
        if (keptRow < 0) continue;
        const QModelIndex index = model()->index(keptRow, 0);
        if (state & LVIS_SELECTED) selection->select(index, QItemSelectionModel::Select | QItemSelectionModel::Rows);
        if (state & LVIS_FOCUSED) selection->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    }
    --batching_;
    forgetStates();
    return true;
}

QString CReportListCtrl::itemText(int row, int column) const {
    const QTreeWidgetItem* item = topLevelItem(row);
    return item ? item->text(column) : QString();
}

int CReportListCtrl::columnSubItem(int column) const {
    if (column < 0 || column >= columnCount()) return -1;
    const QVariant subItem = headerItem()->data(column, kSubItemRole);
    return subItem.isValid() ? subItem.toInt() : column;  // a template's column shows its own
}

int CReportListCtrl::columnFormat(int column) const {
    if (column < 0 || column >= columnCount()) return LVCFMT_LEFT;
    return headerItem()->data(column, kFormatRole).toInt();
}

void CReportListCtrl::setSmallImages(const QList<QPixmap>& images) {
    smallImages_ = images;
    if (!images.isEmpty()) setIconSize(images.front().size());
    for (int row = 0; row < topLevelItemCount(); ++row) {
        QTreeWidgetItem* item = topLevelItem(row);
        const QVariant image = item->data(0, kImageRole);
        if (!image.isValid()) continue;
        const int index = image.toInt();
        item->setIcon(0, index >= 0 && index < images.size() ? QIcon(images[index]) : QIcon());
    }
}

int CReportListCtrl::rowImage(int row) const {
    const QTreeWidgetItem* item = topLevelItem(row);
    const QVariant image = item ? item->data(0, kImageRole) : QVariant();
    return image.isValid() ? image.toInt() : -1;
}

void CReportListCtrl::applyColumnAlignment(QTreeWidgetItem& item) const {
    for (int c = 0; c < columnCount(); ++c) item.setTextAlignment(c, alignmentForFormat(columnFormat(c)));
}

bool CReportListCtrl::isRowSelected(int row) const {
    const QModelIndex index = model()->index(row, 0);
    return index.isValid() && selectionModel()->isSelected(index);
}

bool CReportListCtrl::isRowFocused(int row) const {
    const QModelIndex current = selectionModel()->currentIndex();
    return current.isValid() && current.row() == row;
}

int CReportListCtrl::rowState(int row) const {
    return (isRowSelected(row) ? LVIS_SELECTED : 0) | (isRowFocused(row) ? LVIS_FOCUSED : 0);
}

void CReportListCtrl::setRowState(int row, bool selected, bool focused) {
    const QModelIndex index = model()->index(row, 0);
    if (!index.isValid()) return;
    asOneChange([&] {
        QItemSelectionModel* selection = selectionModel();
        // A single-selection list keeps one selected row: selecting one clears the others.
        const auto select = selected ? (selectionMode() == QAbstractItemView::SingleSelection ? QItemSelectionModel::ClearAndSelect
                                                                                               : QItemSelectionModel::Select)
                                     : QItemSelectionModel::Deselect;
        selection->select(index, select | QItemSelectionModel::Rows);
        if (focused) selection->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
        else if (isRowFocused(row)) selection->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    });
}

int CReportListCtrl::selectedAndFocusedRow(int limit) const {
    const int rows = limit < 0 ? topLevelItemCount() : std::min(limit, topLevelItemCount());
    for (int row = 0; row < rows; ++row)
        if (isRowSelected(row) && isRowFocused(row)) return row;
    return -1;
}

CReportListCtrl::States CReportListCtrl::currentStates() const {
    States states;
    for (const QModelIndex& index : selectionModel()->selectedIndexes())
        if (const QTreeWidgetItem* item = itemFromIndex(index)) states[item] |= LVIS_SELECTED;
    if (const QTreeWidgetItem* item = itemFromIndex(selectionModel()->currentIndex())) states[item] |= LVIS_FOCUSED;
    return states;
}

template <typename Change>
void CReportListCtrl::asOneChange(Change&& change) {
    ++batching_;
    change();
    --batching_;
    if (!batching_) reportChanges();
}

void CReportListCtrl::reportChanges() {
    const States before = reported_;
    reported_ = currentStates();
    struct Notice {
        int row, newState, oldState;
    };
    std::vector<Notice> losses, gains;
    auto stateIn = [](const States& states, const QTreeWidgetItem* item) {
        const auto it = states.find(item);
        return it == states.end() ? 0 : it->second;
    };
    auto consider = [&](const QTreeWidgetItem* item) {
        const int oldState = stateIn(before, item), newState = stateIn(reported_, item);
        if (oldState == newState) return;
        // Only compares the pointer: a row removed since the last notice is not found.
        const int row = indexOfTopLevelItem(const_cast<QTreeWidgetItem*>(item));
        if (row < 0) return;
        ((newState & ~oldState) == 0 ? losses : gains).push_back({row, newState, oldState});
    };
    for (const auto& [item, state] : before) consider(item);
    for (const auto& [item, state] : reported_)
        if (!before.count(item)) consider(item);
    // Rows that lose their state are reported before rows that gain one, as a click reads.
    for (const Notice& n : losses) emit rowStateChanged(n.row, n.newState, n.oldState);
    for (const Notice& n : gains) emit rowStateChanged(n.row, n.newState, n.oldState);
}

void CReportListCtrl::mousePressEvent(QMouseEvent* event) {
    asOneChange([&] { QTreeWidget::mousePressEvent(event); });
}
void CReportListCtrl::mouseMoveEvent(QMouseEvent* event) {
    asOneChange([&] { QTreeWidget::mouseMoveEvent(event); });
}
void CReportListCtrl::mouseReleaseEvent(QMouseEvent* event) {
    asOneChange([&] { QTreeWidget::mouseReleaseEvent(event); });
}
void CReportListCtrl::keyPressEvent(QKeyEvent* event) {
    asOneChange([&] { QTreeWidget::keyPressEvent(event); });
}

void CReportListCtrl::setOwnerDraw(bool on) {
    ownerDraw_ = on;
    viewport()->update();
}

void CReportListCtrl::setHighlightMode(HighlightMode mode) {
    highlightMode_ = mode;
    viewport()->update();
}

void CReportListCtrl::setShowSelectionAlways(bool on) {
    showSelectionAlways_ = on;
    viewport()->update();
}

void CReportListCtrl::setDropHighlightedRow(int row) {
    dropRow_ = row;
    viewport()->update();
}

void CReportListCtrl::drawRow(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    if (!ownerDraw_) {
        QTreeWidget::drawRow(painter, option, index);
        return;
    }
    const int row = index.row();
    const QModelIndex first = index.sibling(row, 0);
    const QHeaderView* head = header();
    const int top = option.rect.top(), height = option.rect.height();
    const int firstLeft = head->sectionViewportPosition(0);
    const int firstRight = firstLeft + head->sectionSize(0);
    int columnsRight = firstLeft;
    for (int c = 0; c < columnCount(); ++c)
        if (!head->isSectionHidden(c)) columnsRight = std::max(columnsRight, head->sectionViewportPosition(c) + head->sectionSize(c));
    const int clientRight = viewport()->width();

    QStyleOptionViewItem firstCell = option;
    firstCell.rect = QRect(firstLeft, top, head->sectionSize(0), height);
    const int labelLeft = firstLeft + rowPainter_->labelOffset(firstCell, first);
    const Span span = highlightSpan(highlightMode_, firstLeft, labelLeft, firstRight, columnsRight, clientRight);
    const bool highlighted = rowShowsHighlight(row == dropRow_, isRowSelected(row), hasFocus(), showSelectionAlways_);

    const QPalette& colours = palette();
    painter->fillRect(QRect(std::min(0, firstLeft), top, std::max(columnsRight, clientRight) - std::min(0, firstLeft), height),
                      colours.color(QPalette::Active, QPalette::Base));
    const QRect spanRect(span.left, top, span.right - span.left, height);
    if (highlighted) painter->fillRect(spanRect, colours.color(QPalette::Active, QPalette::Highlight));

    for (int c = 0; c < columnCount(); ++c) {
        if (head->isSectionHidden(c)) continue;
        QStyleOptionViewItem cell = option;
        cell.rect = QRect(head->sectionViewportPosition(c), top, head->sectionSize(c), height);
        cell.state &= ~(QStyle::State_Selected | QStyle::State_HasFocus);
        if (highlighted && (highlightMode_ != HighlightMode::FirstLabel || c == 0)) cell.state |= QStyle::State_Selected;
        rowPainter_->paint(painter, cell, first.sibling(row, c));
    }

    if (isRowFocused(row) && hasFocus()) {
        // A dotted rectangle just inside the highlight area, drawn here rather than by the style,
        // which may hide focus rectangles until the keyboard is used.
        painter->save();
        QPen dots(colours.color(QPalette::Active, highlighted ? QPalette::HighlightedText : QPalette::Text), 1, Qt::DotLine);
        painter->setPen(dots);
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(spanRect.adjusted(0, 0, -1, -1));
        painter->restore();
    }
}

}  // namespace kelto::framework
