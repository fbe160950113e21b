#include "viewer/capture/CCapturePage1.h"

namespace kelto::viewer::capturesheet {

CCapturePage1::CCapturePage1(CaptureSheetViewer& viewer, QWidget* parent)
    : PropertyPage(kResourceId, parent), viewer_(viewer) {}

CCapturePage1::~CCapturePage1() = default;

void CCapturePage1::adoptFileType() {}
void CCapturePage1::refreshLocation() {}

}  // namespace kelto::viewer::capturesheet
