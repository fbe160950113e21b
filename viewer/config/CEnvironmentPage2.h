#pragma once
// Page 2 of the configuration sheet (dialog 105), the colour page: picture levels, display colour, tooltips and the mixer line.
#include "framework/PropertyPage.h"
#include "settings/ColorTriple.h"
#include "settings/ViewerSettings.h"
#include "viewer/config/ColourPageRules.h"
#include "viewer/config/SheetViewer.h"

#include <array>

class QScrollBar;

namespace kelto::viewer::config {

class CEnvironmentPage2 : public framework::PropertyPage {
public:
    static constexpr int kResourceId = 105;
    // Picture levels: scroll bars and their value fields, in the order brightness, contrast,
    // hue, saturation.
    static constexpr std::array<int, 4> kLevelBars = {1032, 1033, 1034, 1035};
    static constexpr std::array<int, 4> kLevelFields = {1041, 1042, 1043, 1044};
    static constexpr int kLevelDefaultButton = 1104;
    static constexpr int kLevelCancelButton = 1124;
    // Display colour: red, green, blue sliders, the preview and its buttons.
    static constexpr int kRedSlider = 1109;
    static constexpr int kGreenSlider = 1108;
    static constexpr int kBlueSlider = 1107;
    static constexpr int kPreview = 1110;
    static constexpr int kColourDefaultButton = 1111;
    static constexpr int kColourCancelButton = 1125;
    static constexpr int kColourGroup = 1235;
    static constexpr int kTooltipCheck = 1113;
    // Quality mode (radio index 0 Weave, 1 Action, 2 Capture) and colour target; never shown.
    static constexpr int kQualityGroup = 1115;
    static constexpr std::array<int, 3> kQualityRadios = {1037, 1039, 1038};
    static constexpr std::array<int, 2> kTargetRadios = {1116, 1117};
    static constexpr int kMixerCombo = 1223;
    static constexpr int kPreviewTimer = 6;
    static constexpr std::uint32_t kPreviewPeriodMs = 500;

    explicit CEnvironmentPage2(SheetViewer& viewer, QWidget* parent = nullptr);
    // Commits the levels, colours and quality mode to the viewer and the levels to the store.
    ~CEnvironmentPage2() override;

    const PictureLevels& levels() const { return levels_; }
    const ColorTriple& displayColour() const { return display_; }
    int qualityRadio() const { return qualityRadio_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void openLevels();
    void openColours();
    void openMixer();
    void setTips();
    void onLevelScroll(int bar, ScrollCode code, int deliveredPosition);
    void setLevel(int bar, int level);
    void setLevels(const PictureLevels& levels);
    void onColourSlider(int slider, int position);
    void setDisplayColour(const ColorTriple& colour);
    void onTooltip();
    void onMixerLineChosen(int index);
    void readQualityRadio();
    void commit();
    int& levelOf(int bar);
    QScrollBar* bar(int index) const;

    SheetViewer& viewer_;
    PictureLevels levels_;
    PictureLevels openingLevels_;
    ColorTriple display_;
    ColorTriple openingDisplay_;
    ColorTriple colourKey_;
    ColorTriple openingColourKey_;
    int qualityRadio_ = 1;
    int targetRadio_ = 0;             // 0 display colour, 1 colour key
    bool tooltipChecked_ = false;
};

}  // namespace kelto::viewer::config
