#include "viewer/freq/InPlaceEditing.h"

#include "framework/CReportListCtrl.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace kelto::viewer::freq {

InPlaceEditing::InPlaceEditing(framework::CReportListCtrl& list) : QObject(&list), list_(list), viewport_(list.viewport()) {
    list_.setEditTriggers(QAbstractItemView::NoEditTriggers);  // only the two ways below
    list_.installEventFilter(this);
    viewport_->installEventFilter(this);
}

void InPlaceEditing::rowsFilled() {
    for (int row = 0; row < list_.rowCount(); ++row) {
        QTreeWidgetItem* item = list_.topLevelItem(row);
        item->setFlags(item->flags() | Qt::ItemIsEditable);
    }
}

void InPlaceEditing::editRow(int row) {
    if (QTreeWidgetItem* item = list_.topLevelItem(row)) list_.editItem(item, 0);
}

bool InPlaceEditing::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &list_ && event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F2) {
        const int row = list_.selectedAndFocusedRow();
        if (row >= 0) editRow(row);
        return true;  // F2 with no such row does nothing
    }
    if (watched != viewport_) return false;
    if (event->type() == QEvent::MouseButtonPress) {
        auto* press = static_cast<QMouseEvent*>(event);
        QTreeWidgetItem* item = list_.itemAt(press->position().toPoint());
        const int row = item ? list_.indexOfTopLevelItem(item) : -1;
        pressedSelectedRow_ = (press->button() == Qt::LeftButton && row >= 0 && list_.isRowSelected(row)) ? row : -1;
    } else if (event->type() == QEvent::MouseButtonRelease) {
        auto* release = static_cast<QMouseEvent*>(event);
        QTreeWidgetItem* item = list_.itemAt(release->position().toPoint());
        const int row = item ? list_.indexOfTopLevelItem(item) : -1;
        if (row >= 0 && row == pressedSelectedRow_) editRow(row);
        pressedSelectedRow_ = -1;
    } else if (event->type() == QEvent::MouseButtonDblClick) {
        pressedSelectedRow_ = -1;
    }
    return false;
}

}  // namespace kelto::viewer::freq
