#include "viewer/config/CEnvironmentPage3.h"

namespace kelto::viewer::config {

CEnvironmentPage3::CEnvironmentPage3(SheetViewer& viewer, QWidget* parent) : PropertyPage(kResourceId, parent), viewer_(viewer) {}

CEnvironmentPage3::~CEnvironmentPage3() = default;

}  // namespace kelto::viewer::config
