#include "framework/ControlIds.h"

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

}  // namespace kelto::framework
