#include "framework/QtMenus.h"

#include <QAction>
#include <QMenu>

namespace kelto::framework {

QMenu* buildMenu(const MenuItem& popup, QWidget* parent, const std::function<void(int)>& onCommand) {
    auto* menu = new QMenu(QString::fromStdString(popup.text), parent);
    for (const auto& item : popup.children) {
        switch (item.kind) {
        case MenuItem::Kind::Separator: menu->addSeparator(); break;
        case MenuItem::Kind::Popup: {
            QMenu* sub = buildMenu(item, menu, onCommand);
            sub->setEnabled(item.enabled);
            menu->addMenu(sub);
            break;
        }
        case MenuItem::Kind::Item: {
            // The text after a tab is the shortcut shown at the right.
            const QString text = QString::fromStdString(item.text);
            const int tab = text.indexOf('\t');
            QAction* action = menu->addAction(tab < 0 ? text : text.left(tab));
            if (tab >= 0) action->setShortcut(QKeySequence(text.mid(tab + 1)));
            action->setData(item.command);
            action->setEnabled(item.enabled);
            action->setCheckable(item.checked);
            action->setChecked(item.checked);
            if (item.isDefault) menu->setDefaultAction(action);
            const int command = item.command;
            QObject::connect(action, &QAction::triggered, menu, [onCommand, command] { onCommand(command); });
            break;
        }
        }
    }
    return menu;
}

int commandOf(const QAction* action) { return action && !action->isSeparator() ? action->data().toInt() : 0; }

}  // namespace kelto::framework
