#include "framework/ReportRowPainter.h"

#include <QApplication>
#include <QPainter>

namespace kelto::framework {

namespace {

QStyle* styleOf(const QStyleOptionViewItem& option) {
    return option.widget ? option.widget->style() : QApplication::style();
}

int checkWidth(const QStyleOptionViewItem& option) {
    return styleOf(option)->pixelMetric(QStyle::PM_IndicatorWidth, &option, option.widget);
}

}  // namespace

int ReportRowPainter::labelOffset(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QStyleOptionViewItem cell = option;
    initStyleOption(&cell, index);
    int offset = 0;
    if (cell.features & QStyleOptionViewItem::HasCheckIndicator) offset += checkWidth(cell) + kTextMargin;
    if (!cell.icon.isNull()) offset += cell.decorationSize.width() + kTextMargin;
    return offset;
}

void ReportRowPainter::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QStyleOptionViewItem cell = option;
    initStyleOption(&cell, index);
    const bool highlighted = cell.state & QStyle::State_Selected;
    painter->save();
    painter->setClipRect(cell.rect);
    QRect free = cell.rect;

    if (cell.features & QStyleOptionViewItem::HasCheckIndicator) {
        QStyleOptionViewItem box = cell;
        const int width = checkWidth(cell);
        box.rect = QRect(free.left(), free.top() + (free.height() - width) / 2, width, width);
        box.state &= ~(QStyle::State_On | QStyle::State_Off | QStyle::State_NoChange);
        box.state |= cell.checkState == Qt::Checked ? QStyle::State_On : QStyle::State_Off;
        styleOf(cell)->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &box, painter, cell.widget);
        free.setLeft(free.left() + width + kTextMargin);
    }
    if (!cell.icon.isNull()) {
        const QSize size = cell.decorationSize;
        const QPixmap image = cell.icon.pixmap(size, highlighted ? QIcon::Selected : QIcon::Normal);
        painter->drawPixmap(QPoint(free.left(), free.top() + (free.height() - size.height()) / 2), image);
        free.setLeft(free.left() + size.width() + kTextMargin);
    }

    free.adjust(kTextMargin, 0, -kTextMargin, 0);
    QString text = cell.text;
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    const QString shown = cell.fontMetrics.elidedText(text, Qt::ElideRight, free.width());
    const Qt::Alignment horizontal = cell.displayAlignment & Qt::AlignHorizontal_Mask;
    painter->setFont(cell.font);
    painter->setPen(cell.palette.color(QPalette::Active, highlighted ? QPalette::HighlightedText : QPalette::Text));
    painter->drawText(free, int(horizontal | Qt::AlignVCenter | Qt::TextSingleLine), shown);
    painter->restore();
}

}  // namespace kelto::framework
