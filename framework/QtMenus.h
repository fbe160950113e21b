#pragma once
// Builds Qt menus from menu resources. Each action carries its command identifier as data;
// triggering it calls the given command handler.
#include "resources/MenuResource.h"

#include <functional>

class QAction;
class QMenu;
class QWidget;

namespace kelto::framework {

QMenu* buildMenu(const MenuItem& popup, QWidget* parent, const std::function<void(int command)>& onCommand);
// The command identifier of an action built by buildMenu (0 for separators and pop-ups).
int commandOf(const QAction* action);

}  // namespace kelto::framework
