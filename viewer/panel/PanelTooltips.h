#pragma once
// The tooltip of each panel region: a string-table text, in the user's language.
#include "viewer/panel/PanelLayout.h"

#include <QRect>
#include <QString>

#include <optional>

namespace kelto::viewer {

// The string-table identifier of the region's tooltip (213 to 222, 32851, 32852).
int tooltipStringId(PanelRegion region);
// Its text in the current language.
QString tooltipText(PanelRegion region);

// The tip to show at `point` of a strip `panelWidth` wide: the text of the region under it, and
// the region's rectangle (the tip goes when the pointer leaves it). None outside every region
// and none at all while the user has switched tooltips off.
struct PanelTip {
    QString text;
    QRect region;
};
std::optional<PanelTip> panelTipAt(int panelWidth, QPoint point, bool tooltipsOn);

}  // namespace kelto::viewer
