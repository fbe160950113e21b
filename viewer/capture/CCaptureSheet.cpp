#include "viewer/capture/CCaptureSheet.h"

#include "platform/Trace.h"
#include "resources/ArtResource.h"
#include "resources/StringTable.h"
#include "viewer/capture/CCapturePage1.h"
#include "viewer/capture/CCapturePage2.h"

#include <QCloseEvent>
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
    : PropertySheet(QString::fromStdString(LoadMessage(kCaptionString)), owner, Buttons::None), viewer_(viewer) {
    // A window of its own, owned by the viewer, without a close box: the pages' "Exit" closes it.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setAttribute(Qt::WA_DeleteOnClose, false);
    stillPage_ = new CCapturePage1(viewer);
    motionPage_ = new CCapturePage2(viewer);
    addPage(stillPage_);
    addPage(motionPage_);
    stillPage_->setCloseSheet([this] { requestClose(); });
    motionPage_->setCloseSheet([this] { requestClose(); });
    motionPage_->setStillPageBusy([this] { return stillPage_ && stillPage_->serialRunning(); });
    setTabImages();
    // Escape asks to close; the sheet has nothing to cancel.
    messageMap().onCommand(IDCANCEL, [this] { requestClose(); });
    messageMap().onCommand(IDOK, [] {});
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

bool CCaptureSheet::requestClose() {
    if (busy()) {
        platform::tracef("Capture sheet: close refused while a capture runs");
        return false;
    }
    if (!closing_) {
        closing_ = true;
        hide();
        deleteLater();
    }
    return true;
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

std::int64_t CCaptureSheet::defaultHandling(const platform::WindowMessage& message) {
    if (message.message == platform::WM_CLOSE) {
        requestClose();
        return 0;
    }
    return PropertySheet::defaultHandling(message);
}

void CCaptureSheet::closeEvent(QCloseEvent* event) {
    if (requestClose()) event->accept();
    else event->ignore();
}

void CCaptureSheet::reject() { requestClose(); }

}  // namespace kelto::viewer::capturesheet
