#include "viewer/config/CEnvironmentPage4.h"

namespace kelto::viewer::config {

CEnvironmentPage4::CEnvironmentPage4(SheetViewer& viewer, QWidget* parent) : PropertyPage(kResourceId, parent), viewer_(viewer) {}

CEnvironmentPage4::~CEnvironmentPage4() = default;

}  // namespace kelto::viewer::config
