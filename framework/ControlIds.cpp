#include "framework/ControlIds.h"

#include <QApplication>
#include <QVariant>
#include <QWidget>

namespace kelto::framework {

void stampControlId(QWidget* control, int controlId) { control->setProperty(kControlIdProperty, controlId); }

void stampResourceId(QWidget* window, int resourceId) { window->setProperty(kResourceIdProperty, resourceId); }

int controlIdOf(const QObject* object) { return object ? object->property(kControlIdProperty).toInt() : 0; }

int resourceIdOf(const QObject* object) { return object ? object->property(kResourceIdProperty).toInt() : 0; }

QWidget* findControl(const QWidget* root, int controlId) {
    if (!root || controlId == 0) return nullptr;
    for (QWidget* child : root->findChildren<QWidget*>())
        if (controlIdOf(child) == controlId) return child;
    return nullptr;
}

QWidget* findResourceWindow(int resourceId) {
    if (resourceId == 0) return nullptr;
    QWidget* hidden = nullptr;
    auto consider = [&](QWidget* widget) -> QWidget* {
        if (resourceIdOf(widget) != resourceId) return nullptr;
        if (widget->isVisible()) return widget;
        if (!hidden) hidden = widget;
        return nullptr;
    };
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (QWidget* found = consider(top)) return found;
        for (QWidget* child : top->findChildren<QWidget*>())
            if (QWidget* found = consider(child)) return found;
    }
    return hidden;
}

}  // namespace kelto::framework
