#include "viewer/capture/CCapturePage2.h"

namespace kelto::viewer::capturesheet {

CCapturePage2::CCapturePage2(CaptureSheetViewer& viewer, QWidget* parent)
    : PropertyPage(kResourceId, parent), viewer_(viewer) {}

CCapturePage2::~CCapturePage2() = default;

void CCapturePage2::adoptRecordingType() {}

bool CCapturePage2::onSetActive() { return !(stillPageBusy_ && stillPageBusy_()); }

}  // namespace kelto::viewer::capturesheet
