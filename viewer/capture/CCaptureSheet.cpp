#include "viewer/capture/CCaptureSheet.h"

#include "platform/Trace.h"
#include "resources/ArtResource.h"
#include "resources/StringTable.h"
#include "viewer/capture/CCapturePage1.h"
#include "viewer/capture/CCapturePage2.h"

#include <QTabBar>

namespace kelto::viewer::capturesheet {

namespace {
// Image `index` of the tab image strip (15-pixel images side by side, white see-through).
QIcon tabImage(const QPixmap& strip, int index) {
    constexpr int size = CCaptureSheet::kTabImageSize;
    if (strip.isNull() || (index + 1) * size > strip.width()) return {};
    QPixmap image = strip.copy(index * size, 0, size, size);
    image.setMask(image.createMaskFromColor(Qt::white));
    return QIcon(image);
}
}  // namespace

CCaptureSheet::CCaptureSheet(CaptureSheetViewer& viewer, QWidget* owner)
    : ModelessSheet(QString::fromStdString(LoadMessage(kCaptionString)), owner, Stacking::Normal), viewer_(viewer) {
    // The pages' "Exit" buttons close it.
    stillPage_ = new CCapturePage1(viewer);
    motionPage_ = new CCapturePage2(viewer);
    addPage(stillPage_);
    addPage(motionPage_);
    stillPage_->setCloseSheet([this] { requestClose(); });
    motionPage_->setCloseSheet([this] { requestClose(); });
    motionPage_->setStillPageBusy([this] { return stillPage_ && stillPage_->serialRunning(); });
    setTabImages();
}

CCaptureSheet::~CCaptureSheet() = default;

void CCaptureSheet::setTabImages() {
    const QPixmap strip = bitmapResource(kTabImages);
    tabBar()->setIconSize(QSize(kTabImageSize, kTabImageSize));
    for (int tab = 0; tab < pageCount(); ++tab) tabBar()->setTabIcon(tab, tabImage(strip, tab));
}

QPoint CCaptureSheet::placement(const QRect& desktop, const QSize& size) {
    return {desktop.x() + desktop.width() - size.width() - kRightMargin,
            desktop.y() + desktop.height() - size.height() - kBottomMargin};
}

void CCaptureSheet::placeAndShow(const QRect& desktop) {
    resize(sizeHint());
    show();
    // The frame (with the window manager's border, known once shown) is what is placed.
    move(placement(desktop, frameGeometry().size()));
    raise();
}

bool CCaptureSheet::busy() const { return (stillPage_ && stillPage_->serialRunning()) || viewer_.recording(); }

bool CCaptureSheet::mayClose() const {
    if (!busy()) return true;
    platform::tracef("Capture sheet: close refused while a capture runs");
    return false;
}

void CCaptureSheet::stillTypeChanged() {
    if (stillPage_) stillPage_->adoptFileType();
}
void CCaptureSheet::recordingTypeChanged() {
    if (motionPage_) motionPage_->adoptRecordingType();
}
void CCaptureSheet::stillCaptured() {
    if (stillPage_) stillPage_->refreshLocation();
}

}  // namespace kelto::viewer::capturesheet
