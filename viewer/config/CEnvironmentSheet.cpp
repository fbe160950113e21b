#include "viewer/config/CEnvironmentSheet.h"

#include "platform/Trace.h"
#include "resources/ArtResource.h"
#include "resources/StringTable.h"
#include "viewer/config/CEnvironmentPage1.h"
#include "viewer/config/CEnvironmentPage2.h"
#include "viewer/config/CEnvironmentPage3.h"
#include "viewer/config/CEnvironmentPage4.h"

#include <QLayout>
#include <QStackedWidget>
#include <QTabBar>

#include <algorithm>
#include <array>

namespace kelto::viewer::config {

namespace {
constexpr int kCloseWidth = 100;
constexpr int kCloseHeight = 25;
constexpr int kCloseGap = 5;
constexpr int kTabImageSize = 15;

bool tunerMode(VideoMode mode) { return mode == VideoMode::TV || mode == VideoMode::CATV; }

// Image `index` of the tab image strip (15-pixel images side by side); null when the strip has none.
QIcon tabImage(const QPixmap& strip, int index) {
    if (strip.isNull() || (index + 1) * kTabImageSize > strip.width()) return {};
    return QIcon(strip.copy(index * kTabImageSize, 0, kTabImageSize, kTabImageSize));
}
}  // namespace

CEnvironmentSheet::CEnvironmentSheet(SheetViewer& viewer, bool openAtMultiScreen, QWidget* owner)
    : ModelessSheet(QString::fromStdString(LoadMessage(kCaptionString)), owner, Stacking::StaysOnTop) {
    // Above other windows; it closes through its "Close" button.
    addPages(viewer);
    createCloseButton();
    setTabImages();
    if (openAtMultiScreen && multiPage_) setActivePage(pageCount() - 1);

    messageMap().onCommand(kCloseButtonId, [this] {
        platform::WindowMessage close;
        close.window = windowHandle();
        close.message = platform::WM_CLOSE;
        wiring().dispatch(close);
    });
}

CEnvironmentSheet::~CEnvironmentSheet() = default;

void CEnvironmentSheet::addPages(SheetViewer& viewer) {
    const bool tuner = tunerMode(viewer.viewerSettings().videoMode);
    if (tuner) {
        channelPage_ = new CEnvironmentPage1(viewer);
        channelPage_->setCloseButtonSwitch([this](bool enabled) {
            if (closeButton_) closeButton_->setEnabled(enabled);
        });
        addPage(channelPage_);
    }
    colourPage_ = new CEnvironmentPage2(viewer);
    addPage(colourPage_);
    infoPage_ = new CEnvironmentPage3(viewer);
    addPage(infoPage_);
    if (tuner) {
        multiPage_ = new CEnvironmentPage4(viewer);
        addPage(multiPage_);
    }
}

void CEnvironmentSheet::createCloseButton() {
    framework::BitmapButton::Pictures pictures{bitmapResource(kCloseNormal), bitmapResource(kClosePressed),
                                                bitmapResource(kCloseDisabled), bitmapResource(kCloseFocused)};
    closeButton_ = new framework::BitmapButton(kCloseButtonId, QString::fromStdString(LoadMessage(kCloseTextString)),
                                               std::move(pictures), this);
    closeButton_->resize(kCloseWidth, kCloseHeight);
    wiring().bindButtons();
}

// Each tab shows its page's own image of the strip: channels 0, colour 1, info 2, multi-screen 3,
// also when the mode leaves pages out.
void CEnvironmentSheet::setTabImages() {
    const QPixmap strip = bitmapResource(kTabImages);
    tabBar()->setIconSize(QSize(kTabImageSize, kTabImageSize));
    const std::array<framework::PropertyPage*, 4> byImage{channelPage_, colourPage_, infoPage_, multiPage_};
    for (int tab = 0; tab < pageCount(); ++tab) {
        const auto it = std::find(byImage.begin(), byImage.end(), page(tab));
        tabBar()->setTabIcon(tab, tabImage(strip, int(it - byImage.begin())));
    }
}

QRect CEnvironmentSheet::placement(const QRect& desktop, const QSize& size) {
    const int right = desktop.x() + desktop.width();
    const int bottom = desktop.y() + desktop.height();
    return QRect(right - size.width() - kRightMargin, bottom - size.height() - kBottomMargin, size.width(),
                 size.height() + kButtonRoom);
}

void CEnvironmentSheet::placeAndShow(const QRect& desktop) {
    resize(sizeHint());
    show();
    // The frame (with the window manager's border, known once shown) is what is placed.
    const QSize outer = frameGeometry().size();
    const QSize inner = size();
    // The pages keep their size; the room added below them holds the "Close" button.
    if (QLayout* pages = layout()) {
        QMargins margins = pages->contentsMargins();
        margins.setBottom(margins.bottom() + kButtonRoom);
        pages->setContentsMargins(margins);
    }
    const QRect frame = placement(desktop, outer);
    move(frame.topLeft());
    resize(inner.width(), inner.height() + kButtonRoom);
    placeCloseButton();
    raise();
}

void CEnvironmentSheet::resizeEvent(QResizeEvent* event) {
    ModelessSheet::resizeEvent(event);
    placeCloseButton();
}

// Centred, its top 5 pixels below the pages.
void CEnvironmentSheet::placeCloseButton() {
    if (!closeButton_) return;
    const int top = pageArea()->geometry().bottom() + 1 + kCloseGap;
    closeButton_->move((width() - kCloseWidth) / 2, top);
    closeButton_->raise();
}

bool CEnvironmentSheet::mayClose() const {
    if (channelPage_ && channelPage_->scanning()) {
        platform::tracef("Configuration sheet: close refused while the channel scan runs");
        return false;
    }
    return true;
}

}  // namespace kelto::viewer::config
