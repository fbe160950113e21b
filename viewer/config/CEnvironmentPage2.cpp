#include "viewer/config/CEnvironmentPage2.h"

namespace kelto::viewer::config {

CEnvironmentPage2::CEnvironmentPage2(SheetViewer& viewer, QWidget* parent) : PropertyPage(kResourceId, parent), viewer_(viewer) {}

CEnvironmentPage2::~CEnvironmentPage2() = default;

}  // namespace kelto::viewer::config
