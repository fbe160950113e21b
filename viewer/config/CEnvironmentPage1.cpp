#include "viewer/config/CEnvironmentPage1.h"

namespace kelto::viewer::config {

CEnvironmentPage1::CEnvironmentPage1(SheetViewer& viewer, QWidget* parent) : PropertyPage(kResourceId, parent), viewer_(viewer) {}

CEnvironmentPage1::~CEnvironmentPage1() = default;

}  // namespace kelto::viewer::config
