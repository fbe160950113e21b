#pragma once
// Page 4 of the configuration sheet (dialog 295), the multi-screen page: the layout and the 16 channel slots of each band.
//
// The layout radios choose 2*2, 3*3 or 4*4 cells; the channel list holds the channels of the
// current band (selecting one tunes it, without the on-screen display); "&Add" puts the selected
// channel into the band's first empty slot, "&Del" takes the selected slot out. The page paints
// a header, a running animation (timer 673) and a preview of the chosen layout. When the page is
// destroyed it hands the layout and both bands' slots to the viewer, which saves them when it closes.
#include "framework/PropertyPage.h"
#include "viewer/config/MultiScreenChannelRows.h"
#include "viewer/config/MultiScreenSlotsEditor.h"
#include "viewer/config/SheetViewer.h"

#include <array>

namespace kelto::framework {
class CReportListCtrl;
}

namespace kelto::viewer::config {

class CEnvironmentPage4 : public framework::PropertyPage {
public:
    static constexpr int kResourceId = 295;
    // Controls of dialog 295.
    static constexpr int kLayout2x2Id = 1248;
    static constexpr int kLayout3x3Id = 1247;
    static constexpr int kLayout4x4Id = 1037;
    static constexpr int kChannelListId = 1008;
    static constexpr int kSlotListId = 1249;
    static constexpr int kAddId = 1252;
    static constexpr int kDelId = 1253;
    // The animation: four bitmaps, one step per period.
    static constexpr int kAnimationTimerId = 673;
    static constexpr int kAnimationPeriodMs = 500;
    static constexpr std::array<int, 4> kAnimationBitmaps{304, 305, 306, 307};

    explicit CEnvironmentPage4(SheetViewer& viewer, QWidget* parent = nullptr);
    ~CEnvironmentPage4() override;

    // The chosen layout: 4, 9 or 16 cells.
    int cells() const;
    // The pictures the page shows now.
    int animationBitmap() const { return kAnimationBitmaps[std::size_t(animationStep_)]; }
    int previewBitmap() const;
    // The channel selected in the channel list, or 0.
    int selectedChannel() const;
    // The slots as the page holds them (handed to the viewer at destruction).
    const MultiScreenSlotsEditor& registration() const { return slots_; }
    ChannelBand band() const { return band_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    framework::CReportListCtrl* channelList() const;
    framework::CReportListCtrl* slotList() const;
    void showLayout(int cells);
    void fillChannelList();
    void fillSlotList();
    void selectCurrentChannelQuietly();
    void onChannelRowChanged(int row, int newState, int oldState);
    void onAdd();
    void onDel();
    void onTimer(int timerId);

    SheetViewer& viewer_;
    ChannelBand band_;
    ChannelNumbering numbering_;
    MultiScreenSlotsEditor slots_;
    MultiScreenChannelRows rows_;
    int selectedRow_ = -1;
    int animationStep_ = 0;
    bool selectingQuietly_ = false;
};

}  // namespace kelto::viewer::config
