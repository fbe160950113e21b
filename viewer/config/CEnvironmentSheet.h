#pragma once
// The viewer's configuration window: a modeless sheet of four pages (channels and scan, colour
// and mixer, info, multi-screen) without OK, Cancel or Apply, since its pages act on the viewer
// at once or when the sheet closes. It stays above other windows, sits near the desktop's
// bottom-right corner, and closes only with its own "Close" button (144) or a close request,
// both refused while the channel scan runs. Closing destroys it; its owner learns that from the
// object's destruction.
#include "framework/BitmapButton.h"
#include "framework/ModelessSheet.h"
#include "viewer/config/SheetViewer.h"

#include <QPointer>

namespace kelto::viewer::config {

class CEnvironmentPage1;
class CEnvironmentPage2;
class CEnvironmentPage3;
class CEnvironmentPage4;

class CEnvironmentSheet : public framework::ModelessSheet {
public:
    static constexpr int kCloseButtonId = 144;
    static constexpr int kCaptionString = 189;
    static constexpr int kCloseTextString = 190;
    static constexpr int kTabImages = 133;
    // The "Close" button's pictures: normal, pressed, disabled, focused.
    static constexpr int kCloseNormal = 336;
    static constexpr int kClosePressed = 337;
    static constexpr int kCloseDisabled = 338;
    static constexpr int kCloseFocused = 339;
    // Distance of the sheet from the desktop's right and bottom edges.
    static constexpr int kRightMargin = 30;
    static constexpr int kBottomMargin = 80;
    // Room below the pages for the "Close" button.
    static constexpr int kButtonRoom = 30;

    // The pages the viewer's video mode has: the channel and multi-screen pages only for the
    // tuner's bands (TV, CATV). With openAtMultiScreen the multi-screen page is shown first.
    CEnvironmentSheet(SheetViewer& viewer, bool openAtMultiScreen, QWidget* owner);
    ~CEnvironmentSheet() override;

    // Places the sheet near the bottom-right corner of `desktop` and shows it.
    void placeAndShow(const QRect& desktop);
    // Where a sheet of `size` goes on `desktop`: the frame's right edge 30 pixels and its bottom
    // 80 pixels in from the desktop's, with room for the "Close" button below the pages.
    static QRect placement(const QRect& desktop, const QSize& size);


    // The pages (null for a page the mode leaves out).
    CEnvironmentPage1* channelPage() const { return channelPage_; }
    CEnvironmentPage2* colourPage() const { return colourPage_; }
    CEnvironmentPage3* infoPage() const { return infoPage_; }
    CEnvironmentPage4* multiScreenPage() const { return multiPage_; }
    framework::BitmapButton* closeButton() const { return closeButton_; }

protected:
    // Refused while the channel page's scan runs.
    bool mayClose() const override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void addPages(SheetViewer& viewer);
    void createCloseButton();
    void setTabImages();
    void placeCloseButton();

    CEnvironmentPage1* channelPage_ = nullptr;
    CEnvironmentPage2* colourPage_ = nullptr;
    CEnvironmentPage3* infoPage_ = nullptr;
    CEnvironmentPage4* multiPage_ = nullptr;
    framework::BitmapButton* closeButton_ = nullptr;
};

}  // namespace kelto::viewer::config
