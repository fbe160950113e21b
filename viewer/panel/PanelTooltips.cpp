#include "viewer/panel/PanelTooltips.h"

#include "resources/StringTable.h"

namespace kelto::viewer {

int tooltipStringId(PanelRegion region) {
    switch (region) {
    case PanelRegion::ChannelUp: return 213;
    case PanelRegion::ChannelDown: return 214;
    case PanelRegion::VolumeUp: return 215;
    case PanelRegion::VolumeDown: return 216;
    case PanelRegion::Mute: return 217;
    case PanelRegion::VideoSource: return 218;
    case PanelRegion::Exit: return 219;
    case PanelRegion::Configuration: return 220;
    case PanelRegion::Capture: return 221;
    case PanelRegion::Keypad: return 222;
    case PanelRegion::Information: return 32851;
    case PanelRegion::ChannelInformation: return 32852;
    }
    return 0;
}

QString tooltipText(PanelRegion region) {
    return QString::fromStdString(LoadMessage(tooltipStringId(region)));
}

std::optional<PanelTip> panelTipAt(int panelWidth, QPoint point, bool tooltipsOn) {
    if (!tooltipsOn) return std::nullopt;
    const PanelLayout layout(panelWidth);
    const auto region = layout.regionAt(point);
    if (!region) return std::nullopt;
    return PanelTip{tooltipText(*region), layout.regionRect(*region)};
}

}  // namespace kelto::viewer
