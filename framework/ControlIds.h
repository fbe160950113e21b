#pragma once
// Resource and control identifiers on widgets. A window made from a resource carries its number
// as the property "resourceId", each control its identifier as "controlId", so code and tests
// find control 1008 of dialog 104 the way the program's tables name them.
class QObject;
class QWidget;

namespace kelto::framework {

inline constexpr const char* kControlIdProperty = "controlId";
inline constexpr const char* kResourceIdProperty = "resourceId";

void stampControlId(QWidget* control, int controlId);
void stampResourceId(QWidget* window, int resourceId);
// 0 when the object carries none.
int controlIdOf(const QObject* object);
int resourceIdOf(const QObject* object);
// The first widget below `root` (depth first, root excluded) with the identifier, or null.
QWidget* findControl(const QWidget* root, int controlId);
// The open window (or sheet page) made from resource `resourceId`: visible ones first, then
// hidden ones; null when none exists. Tests find a dialog the program opened this way.
QWidget* findResourceWindow(int resourceId);

}  // namespace kelto::framework
