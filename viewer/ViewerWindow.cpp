#include "viewer/ViewerWindow.h"

namespace kelto {

namespace {
ViewerWindow* openViewer = nullptr;
}

ViewerWindow* currentViewer() { return openViewer; }
void setCurrentViewer(ViewerWindow* viewer) { openViewer = viewer; }

}  // namespace kelto
